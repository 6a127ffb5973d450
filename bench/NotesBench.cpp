// The supplemental notes and the reference texts as the user meets them: the notes window
// opening on a card's 5,000-line notes file, a page turned, the jump to the last note, and a
// reference text opening in its window; and the memory a notes file of 10 MB takes when it has
// no line ends at all, or only old Mac ones (CR), which should stay well under 200 MB.
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
#include <fstream>

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
        ctx->Card.Edit().CardHeader[2] = "big.not";
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

// A value of /proc/self/status in MB ("VmRSS:" now, "VmHWM:" the peak).
double StatusMegabytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(key.size())) / 1024.0;
    return 0;
}

void OpenTenMegabyteNotesFile(benchmark::State& state) {
    NotesSetting& setting = Setting();
    const bool macLineEnds = state.range(0) != 0;
    std::string bytes;
    bytes.reserve(10'500'000);
    while (bytes.size() < 10'000'000)
        bytes += macLineEnds ? "1NT - 2<c> Stayman, 2<d> transfer to <h>\r" : "1NT - 2<c>; 2<d>; ";
    const std::string name = macLineEnds ? "mac.not" : "oneline.not";
    test::WriteFile(setting.dir / "suppnote" / name, bytes);
    bytes = {};
    const double before = StatusMegabytes("VmRSS:");
    double grown = 0;
    for (auto _ : state) {
        NotesWindow window(*setting.ctx, *setting.changed);
        window.OpenFor(std::nullopt);
        window.Session().ShowFileList();
        window.Session().ChooseFile(name);
        window.Session().ScrollTo(window.Session().ScrollMax() / 2);
        benchmark::DoNotOptimize(window.PagePicture().constBits());
        grown = std::max(grown, StatusMegabytes("VmRSS:") - before);
    }
    state.counters["rss_growth_MB"] = grown;
    state.counters["peak_rss_MB"] = StatusMegabytes("VmHWM:");
}
BENCHMARK(OpenTenMegabyteNotesFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

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
