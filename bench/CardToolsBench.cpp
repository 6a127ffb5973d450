// Checking a card for cut-off text, comparing two cards, listing the card history with its
// pictures, and what keeping the history adds to a save; all on the shipped ACBL sample card.
#include "AppContext.h"
#include "CardComparison.h"
#include "ErrorTrap.h"
#include "OpenCardCheck.h"
#include "PagePictures.h"
#include "PartnerCard.h"
#include "PrintedArea.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <iostream>

using namespace cw;
using namespace cw::test;

namespace {

struct NullPresenter : ErrorPresenter {
    void ShowError(const ErrorState& state) override {
        std::cerr << "error " << state.Location << ": " << state.ErrDescription << '\n';
    }
};

// A copy of the shipped data with the ACBL sample card open, and a partner's copy of it.
struct Shipped {
    Shipped() : ctx(dir.Path(), prompter, trap) {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        for (const char* page : {"", "_"})
            fs::copy(dir / "acbl" / ("testcrd" + std::string(page) + ".acb"),
                     dir / "acbl" / ("pard" + std::string(page) + ".acb"));
        ctx.TwipsPerPixel = 15;
        ctx.ReadSystemSettings();
        int16_t slot = 0;
        for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
            if (EqualsIgnoreCase(ctx.Format.Catalogue().Code(i), "acbl"))
                slot = i;
        ctx.SetupCardFormat(slot, view);
        ctx.Card.SetCardName("testcrd");
        ctx.LoadCard();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    NullPresenter presenter;
    ErrorTrap trap{prompter, presenter};
    AppContext ctx;
    NoCardFormatView view;
};

void CheckBothPages(benchmark::State& state) {
    Shipped shipped;
    AppContext& ctx = shipped.ctx;
    OverflowCheck check(ctx.errorTrap,
                        [&ctx](bool backSide) { return PrintedPageOf(ctx, backSide); });
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckOpenCard(ctx, check));
}

void CompareTwoCards(benchmark::State& state) {
    Shipped shipped;
    AppContext& ctx = shipped.ctx;
    const int names = NameFieldCount(ctx);
    for (auto _ : state) {
        std::string problem;
        auto mine = ReadCardPages(ctx, "testcrd");
        auto theirs = PartnerCard::Read(ctx, ctx.Card.Location().CardDir / "pard.acb", problem);
        size_t differences = 0;
        for (bool back : {false, true})
            differences += CardComparison::ComparePages(*mine->Page(back),
                                                        *theirs->pages.Page(back), back, names)
                               .size();
        benchmark::DoNotOptimize(differences);
    }
}

void ListTwentyVersionsWithPictures(benchmark::State& state) {
    Shipped shipped;
    AppContext& ctx = shipped.ctx;
    for (int i = 0; i < CardArchive::KeptPerPage; ++i) {
        ctx.Card.Edit().Field(TextField, 1).text = "K" + std::to_string(100000 + i);
        ctx.SaveCard();
    }
    PagePictures pictures(ctx.errorTrap);
    const double scale = 96.0 * 15 / ctx.Format.Defaults().NaturalWidth;
    for (auto _ : state) {
        auto versions = ctx.Archive.Versions(ctx.ArchiveFormat(), ctx.ArchiveCard(), "testcrd.acb");
        for (const ArchivedVersion& version : versions) {
            CardPage page;
            CardFile::ParsePage(page, ReadFileBytes(version.file), false);
            benchmark::DoNotOptimize(pictures.Draw(
                ctx.RequestFor(page, ctx.Card.BackSide(), RenderTarget::Screen), scale));
        }
        state.counters["versions"] = double(versions.size());
    }
}

// arg 1: a save through the program (the replaced page kept in the history); arg 0: the
// card file written alone.
void SaveCard(benchmark::State& state) {
    Shipped shipped;
    AppContext& ctx = shipped.ctx;
    int n = 0;
    for (auto _ : state) {
        // A change every time, so that every save keeps a version.
        ctx.Card.Edit().Field(TextField, 1).text = "K" + std::to_string(++n);
        if (state.range(0) == 1)
            ctx.SaveCard();
        else
            CardFile::SaveCard(ctx.Card.Edit(), ctx.Card.Location(), ctx.AppVersion,
                               ctx.fileSystem);
    }
}

void Configure(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

BENCHMARK(CheckBothPages)->Apply(Configure);
BENCHMARK(CompareTwoCards)->Apply(Configure);
BENCHMARK(ListTwentyVersionsWithPictures)->Apply(Configure);
BENCHMARK(SaveCard)->Arg(0)->Arg(1)->Apply(Configure);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
