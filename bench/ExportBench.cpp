// Both pages of the shipped ACBL sample card saved as pictures at zoom 1, as "Save Card as"
// saves them. Targets: median at most 80 ms for BMP and PNG, 100 ms for JPEG, 150 ms for GIF.
// Run: build/bench/bench_export
#include "AppContext.h"
#include "CardExport.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QGuiApplication>
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

    SampleCard() {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
        ctx = std::make_unique<AppContext>(dir.Path(), prompter, trap);
        ctx->ReadSystemSettings();
        int16_t slot = ctx->Format.Catalogue().Codes.FmtACBL;
        ctx->SetupCardFormat(slot, view);
        pages = std::make_unique<NamedCardPages>(*ctx, "testcrd");
        pages->Open();
        fs::create_directories(dir / "pictures");
    }
};

SampleCard& Card() {
    static SampleCard card;
    return card;
}

void SaveAs(benchmark::State& state, ExportFilter filter, const char* file) {
    SampleCard& card = Card();
    for (auto _ : state) {
        CardExport exporter(*card.ctx, *card.pages);
        if (!exporter.SaveCardAs({card.dir / "pictures" / file, filter, 0}) ||
            exporter.Written().size() != (filter == ExportFilter::Pdf ? 1u : 2u))
            state.SkipWithError("the pictures were not written");
    }
    state.counters["errors"] = double(card.errors.shown.size());
}

void Bitmap(benchmark::State& state) {
    SaveAs(state, ExportFilter::Bitmap, "card.bmp");
}
void Png(benchmark::State& state) {
    SaveAs(state, ExportFilter::Png, "card.png");
}
void Jpeg(benchmark::State& state) {
    SaveAs(state, ExportFilter::Jpeg, "card.jpg");
}
void Gif(benchmark::State& state) {
    SaveAs(state, ExportFilter::Gif, "card.gif");
}

BENCHMARK(Bitmap)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(Png)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(Jpeg)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(Gif)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
