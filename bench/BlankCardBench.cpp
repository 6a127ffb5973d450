// Formats made from a federation's blank form: making one from a two-page form of 300 fields,
// a warm redraw of its page at zoom 2 (the blank page alone, and a card of the format as the
// screen draws it again), and both pages drawn into a PDF file.
#include "AppContext.h"
#include "BlankPageDrawer.h"
#include "CardCanvas.h"
#include "CardFormatView.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "FontBook.h"
#include "FormatMaker.h"
#include "PainterSurface.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QGuiApplication>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <iostream>

using namespace cw;
using namespace cw::test;

namespace {

constexpr int kFieldsPerPage = 150; // 300 on the two pages

struct Form {
    TempDir folder;
    fs::path file = folder.Path() / "form300.pdf";
    Form() {
        const std::string command = "/usr/bin/python3 '" CW_SOURCE_DIR
                                    "/tests/formats/make_blank_cards.py' '" +
                                    file.string() + "' " + std::to_string(kFieldsPerPage);
        if (std::system(command.c_str()) != 0)
            std::cerr << "make_blank_cards.py failed\n";
    }
};

const Form& TheForm() {
    static Form form;
    return form;
}

NewFormatRequest RequestIn(const fs::path& root) {
    NewFormatRequest request;
    request.root = root;
    request.sources = {TheForm().file};
    request.code = "FED";
    request.name = "Federation card";
    return request;
}

// A data root holding the format made from the form.
struct MadeFormat {
    TempDir root;
    MadeFormat() {
        MakeDataRoot(root.Path(), {FormatSpec{}});
        FormatMaker(RequestIn(root.Path())).Write();
    }
    BaseRecord Page(int side) const {
        return BaseLayerFile::Read(root / "data" / ("fed" + std::to_string(side * 2 + 2) + ".dat"))
            .records.at(0);
    }
};

void BM_MakeFormatFromForm(benchmark::State& state) {
    TheForm();
    for (auto _ : state) {
        state.PauseTiming();
        TempDir root;
        MakeDataRoot(root.Path(), {FormatSpec{}});
        state.ResumeTiming();
        FormatMaker maker(RequestIn(root.Path()));
        maker.Write();
        benchmark::DoNotOptimize(maker.Bindings().size());
    }
}
BENCHMARK(BM_MakeFormatFromForm)->Unit(benchmark::kMillisecond);

void BM_WarmRedrawAtZoom2(benchmark::State& state) {
    MadeFormat made;
    const BaseRecord page = made.Page(0);
    const DeviceMapping mapping = DeviceMapping::Screen(2, 15);
    QImage picture(int(page.a[2] * mapping.pixelsPerTwipX) + 1,
                   int(page.a[3] * mapping.pixelsPerTwipY) + 1, QImage::Format_RGB32);
    FontBook fonts;
    BlankPageDrawer drawer;
    PainterSurface surface(picture, mapping, fonts);
    drawer.Draw(surface, page, 0, made.root / "data");
    surface.Finish();
    for (auto _ : state) {
        drawer.Draw(surface, page, 0, made.root / "data");
        surface.Finish();
    }
    state.counters["rendered"] = drawer.PagesRendered();
}
BENCHMARK(BM_WarmRedrawAtZoom2)->Unit(benchmark::kMillisecond);

struct QuietPresenter : ErrorPresenter {
    void ShowError(const ErrorState&) override {}
};

// A card of the made format drawn again on the screen at zoom 2, as after a click or a
// scroll: the renderer puts its kept base layer back where something was drawn over it.
void BM_WarmCardRedrawAtZoom2(benchmark::State& state) {
    MadeFormat made;
    fs::create_directories(made.root / "FED");
    fs::copy_file(made.root / "data" / "fed1.dat", made.root / "FED" / "mine.fed");
    fs::copy_file(made.root / "data" / "fed3.dat", made.root / "FED" / "mine_.fed");
    ScriptedPrompter prompter;
    QuietPresenter presenter;
    ErrorTrap trap(prompter, presenter);
    AppContext ctx(made.root.Path(), prompter, trap);
    ctx.TwipsPerPixel = 15;
    ctx.ReadSystemSettings();
    int16_t slot = 0;
    for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
        if (ctx.Format.Catalogue().Code(i) == "FED")
            slot = i;
    ctx.View.SetUserScale(2);
    NoCardFormatView view;
    ctx.SetupCardFormat(slot, view);
    ctx.Card.SetCardName("mine");
    ctx.LoadCard();
    CardCanvas canvas;
    canvas.Fit(ctx.View, ctx.TwipsPerPixel);
    CardRenderer renderer(trap);
    renderer.Render(ctx.RequestForOpenPage(RenderTarget::Screen), canvas.Surface());
    for (auto _ : state)
        renderer.Render(ctx.RequestForOpenPage(RenderTarget::Screen), canvas.Surface());
    state.counters["fields"] = ctx.Card.Page().Count(TextField) + ctx.Card.Page().Count(CheckBox);
}
BENCHMARK(BM_WarmCardRedrawAtZoom2)->Unit(benchmark::kMillisecond);

void BM_BothSidesToPdf(benchmark::State& state) {
    MadeFormat made;
    const BaseRecord front = made.Page(0), back = made.Page(1);
    FontBook fonts;
    for (auto _ : state) {
        TempDir out;
        QPdfWriter writer(QString::fromStdString((out.Path() / "card.pdf").string()));
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        const DeviceMapping mapping = DeviceMapping::Paper(1200, 1200, QSizeF(), QSizeF());
        BlankPageDrawer drawer; // a print job opens the documents afresh
        PainterSurface surface(writer, mapping, fonts);
        drawer.Draw(surface, front, 0, made.root / "data");
        surface.NewPage();
        drawer.Draw(surface, back, 0, made.root / "data");
        surface.End();
    }
}
BENCHMARK(BM_BothSidesToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
