// The supplemental notes and the reference texts as the user meets them: the notes window
// opening on a card's 5,000-line notes file, a page turned, the jump to the last note, and a
// reference text opening in its window.
// Run: build/bench/bench_notes
#include "AppContext.h"
#include "ChangedState.h"
#include "NotesWindow.h"
#include "ReferenceTextWindow.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

using namespace cw;

constexpr int kNotesLines = 5000;
constexpr int kNotes = 500;

// The shipped data root, with a card open whose notes file holds 500 notes of ten lines,
// suit markup on every line.
struct NotesSetting {
    test::TempDir dir;
    ScriptedPrompter prompter;
    test::TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<ChangedState> changed;

    NotesSetting() {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ctx = std::make_unique<AppContext>(dir.Path(), prompter, trap);
        ctx->ReadSystemSettings();
        changed = std::make_unique<ChangedState>(*ctx);
        std::vector<std::string> lines;
        for (int note = 1; note <= kNotes; ++note) {
            lines.push_back("[" + std::to_string(note) + "] After 1<c> - 1<h>, 1<s> shows four");
            for (int i = 1; i < kNotesLines / kNotes; ++i)
                lines.push_back("  line " + std::to_string(i) +
                                ": 2<d> is natural, 2<h> a raise, 3<c> a fit jump");
        }
        test::WriteLines(dir / "suppnote" / "big.not", lines);
        ctx->Page.CardHeader[2] = "big.not";
        changed->SetChangedState(ChangedState::CardOpenedCode);
    }
};

NotesSetting& Setting() {
    static NotesSetting setting;
    return setting;
}

void OpenNotesWindowOnLargeFile(benchmark::State& state) {
    NotesSetting& setting = Setting();
    for (auto _ : state) {
        NotesWindow window(*setting.ctx, *setting.changed);
        window.OpenFor(std::nullopt);
        benchmark::DoNotOptimize(window.PagePicture().constBits());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenNotesWindowOnLargeFile)->Unit(benchmark::kMillisecond);

void TurnANotesPage(benchmark::State& state) {
    NotesSetting& setting = Setting();
    NotesWindow window(*setting.ctx, *setting.changed);
    window.OpenFor(std::nullopt);
    int line = 0;
    for (auto _ : state) {
        line = (line + NotesSession::PageStep) % (kNotesLines - NotesSession::PageLines);
        window.Session().ScrollTo(line);
        benchmark::DoNotOptimize(window.PagePicture().constBits());
    }
}
BENCHMARK(TurnANotesPage)->Unit(benchmark::kMillisecond);

void GoToTheLastNote(benchmark::State& state) {
    NotesSetting& setting = Setting();
    NotesWindow window(*setting.ctx, *setting.changed);
    window.OpenFor(std::nullopt);
    const std::string field = "Keycard ask [" + std::to_string(kNotes) + "]";
    for (auto _ : state) {
        window.Session().ScrollTo(0);
        window.Session().GoToNote(field);
        benchmark::DoNotOptimize(window.PagePicture().constBits());
    }
}
BENCHMARK(GoToTheLastNote)->Unit(benchmark::kMillisecond);

void OpenReferenceText(benchmark::State& state) {
    NotesSetting& setting = Setting();
    const std::string file = state.range(0) ? "Convent.txt" : "abbr.dat";
    for (auto _ : state) {
        ReferenceTextWindow window(*setting.ctx);
        window.ShowText(setting.ctx->paths.DataDir / file);
        benchmark::DoNotOptimize(window.PagePicture().constBits());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenReferenceText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (!Setting().errors.shown.empty())
        return 1;
    return 0;
}
