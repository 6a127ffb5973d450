// The shipped ACBL sample card printed to PDF through the print window's job: both sides,
// both sides on one sheet, and both cards (four pages). Targets: median at most 150 ms,
// 150 ms and 300 ms.
// Run: build/bench/bench_print
#include "AppContext.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "PrintJob.h"
#include "ScriptedPrintQuestions.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QApplication>
#include <QFontDatabase>
#include <benchmark/benchmark.h>

namespace {

using namespace cw;

struct SampleCard {
    test::TempDir dir;
    ScriptedPrompter prompter;
    test::TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    std::unique_ptr<AppContext> ctx;
    NoCardFormatView view;
    std::unique_ptr<NamedCardPages> pages;
    test::ScriptedPrintQuestions questions;

    SampleCard() {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
        ctx = std::make_unique<AppContext>(dir.Path(), prompter, trap);
        ctx->ReadSystemSettings();
        int16_t slot = ctx->Format.Catalogue().Codes.FmtACBL;
        ctx->SetupCardFormat(slot, view);
        pages = std::make_unique<NamedCardPages>(*ctx, "testcrd");
        pages->Open();
        questions.pdf = dir / "printed.pdf";
        questions.choose = [this](PrintOptionsModel& model) {
            model.Choices().side = PrintSide::Both;
            model.Choices().oneSheet = oneSheet;
        };
    }

    bool oneSheet = false;
};

SampleCard& Card() {
    static SampleCard card;
    return card;
}

void PrintCard(benchmark::State& state, PrintCardChoice choice, int pages, bool oneSheet = false) {
    SampleCard& card = Card();
    card.oneSheet = oneSheet;
    for (auto _ : state) {
        PrintJob job(*card.ctx, *card.pages, card.questions);
        if (job.PrintCard(choice) != pages)
            state.SkipWithError("the job did not print every page");
    }
    state.counters["errors"] = double(card.errors.shown.size());
}

void BothSides(benchmark::State& state) {
    PrintCard(state, PrintCardChoice::Mine, 2);
}
void OneSheet(benchmark::State& state) {
    PrintCard(state, PrintCardChoice::Mine, 1, true);
}
void BothCards(benchmark::State& state) {
    PrintCard(state, PrintCardChoice::Both, 4);
}

BENCHMARK(BothSides)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(OneSheet)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BothCards)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
