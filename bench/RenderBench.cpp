// Drawing a card page: the renderer against the bare QPainter cost of the same drawing, a
// warm redraw over the kept base layer, one check box clicked, and the shipped ACBL page.
#include "AppContext.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "ErrorTrap.h"
#include "RenderTestData.h"
#include "ScriptedPrompter.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <iostream>
#include <map>

using namespace cw;
using namespace cw::test;

namespace {

constexpr int kWidth = 11520, kHeight = 15000; // 768 x 1000 pixels at zoom 1
constexpr int kBaseItems = 1500, kCardItems = 500;

struct NullPresenter : ErrorPresenter {
    void ShowError(const ErrorState& state) override {
        std::cerr << "error " << state.Location << ": " << state.ErrDescription << '\n';
    }
};

const char* const kWords[] = {"Opening", "1NT",    "Stayman",  "Forcing",   "Weak",    "Transfers",
                              "HCP",     "Strong", "Negative", "Lebensohl", "Natural", "Jacoby"};

// A dense page: mostly short printed texts, with rules, frames and empty boxes; on the card
// check boxes, text fields, circled items and rings.
RenderFormat DenseFormat() {
    RenderFormat format;
    format.code = "DENSE";
    format.base = "dense";
    format.extension = "dns";
    format.width = kWidth;
    format.height = kHeight;
    format.checkStyle = 1;
    format.baseSize = 8;
    int n = 0;
    for (int row = 0; n < 1200; ++row)
        for (int column = 0; column < 8 && n < 1200; ++column, ++n) {
            std::string text = std::string(kWords[n % 12]) + " " + std::to_string(n % 97);
            if (n % 20 == 0)
                text += " <h>";
            int style = (n % 10 == 0 ? 16 : 0) + (n % 7 == 0 ? 1 : 0);
            format.frontBase.push_back(RecordLine(
                2, {100 + column * 1420, 100 + row * 95, 1400, 240, n % 15 == 0 ? 2 : 1, style},
                text));
        }
    for (int i = 0; i < 150; ++i)
        format.frontBase.push_back(
            RecordLine(12, {100, kWidth - 100, 200 + i * 95, 200 + i * 95, 1, 0}));
    for (int i = 0; i < 100; ++i)
        format.frontBase.push_back(
            RecordLine(5, {100 + (i % 10) * 1130, 300 + (i / 10) * 1400, 1000, 1200, 1, 0}));
    for (int i = 0; i < 50; ++i)
        format.frontBase.push_back(
            RecordLine(3, {150 + (i % 25) * 450, 14000 + (i / 25) * 300, 0, 0, 0, 150}));
    return format;
}

std::vector<std::string> DenseCard() {
    std::vector<std::string> records;
    for (int i = 0; i < 250; ++i)
        records.push_back(
            RecordLine(3, {200 + (i % 25) * 450, 1000 + (i / 25) * 1200, 0, 0, i % 2, 150}));
    for (int i = 0; i < 150; ++i)
        records.push_back(RecordLine(2,
                                     {400 + (i % 10) * 1130, 1200 + (i / 10) * 800, 900, 240, 0, 0},
                                     std::string(kWords[i % 12]) + " " + std::to_string(i)));
    for (int i = 0; i < 50; ++i)
        records.push_back(RecordLine(
            24, {300 + (i % 25) * 450, 13000 + (i / 25) * 400, 0, i % 4, 8, 0}, i % 2 ? "K" : "Q"));
    for (int i = 0; i < 50; ++i)
        records.push_back(
            RecordLine(4, {500 + (i % 25) * 450, 12000 + (i / 25) * 400, 0, 1 + i % 3, 120, 0}));
    return records;
}

// The dense card with ten of its text fields a little too long for them: drawn smaller.
std::vector<std::string> DenseCardWithShrunkText() {
    std::vector<std::string> records = DenseCard();
    int shrunk = 0;
    for (std::string& record : records)
        if (record.rfind("2,", 0) == 0 && shrunk < 10) {
            const size_t quote = record.find('"');
            record =
                record.substr(0, quote) + "\"Lebensohl forcing " + std::to_string(shrunk) + "\",0";
            ++shrunk;
        }
    return records;
}

// One data root with the dense card open, drawn on a screen picture.
struct Scene {
    explicit Scene(const fs::path& root, const std::string& code, const std::string& card,
                   float scale)
        : ctx(root, prompter, trap) {
        ctx.TwipsPerPixel = 15;
        ctx.ReadSystemSettings();
        int16_t slot = 0;
        for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
            if (EqualsIgnoreCase(ctx.Format.Catalogue().Code(i), code))
                slot = i;
        ctx.View.SetUserScale(scale);
        ctx.SetupCardFormat(slot, view);
        ctx.Card.SetCardName(card);
        ctx.LoadCard();
        canvas.Fit(ctx.View, ctx.TwipsPerPixel);
        Draw();
    }

    // What the screen does to show the open page: the request, then the drawing.
    void Draw() { renderer.Render(ctx.RequestForOpenPage(RenderTarget::Screen), canvas.Surface()); }
    void Redraw(int kind, int index) { renderer.RedrawField(canvas.Surface(), kind, index); }

    ScriptedPrompter prompter;
    NullPresenter presenter;
    ErrorTrap trap{prompter, presenter};
    AppContext ctx;
    CardCanvas canvas;
    NoCardFormatView view;
    CardRenderer renderer{trap};
};

struct Fixtures {
    TempDir dense;
    TempDir shipped;
    bool hasShipped = false;

    Fixtures() {
        RenderFormat format = DenseFormat();
        MakeRenderRoot(dense.Path(), {format});
        WriteCardPage(dense.Path(), format, "dense", false, DenseCard());
        WriteCardPage(dense.Path(), format, "shrunk", false, DenseCardWithShrunkText());
        fs::path data = CW_SOURCE_DATA;
        if (fs::exists(data / "cwr.sys")) {
            fs::copy(data, shipped.Path(), fs::copy_options::recursive);
            hasShipped = true;
        }
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    }
};

Fixtures& Data() {
    static Fixtures fixtures;
    return fixtures;
}

// A whole page drawn again and again, with its base layer drawn anew each time (cold) or
// kept (warm).
void DrawPageOf(benchmark::State& state, const std::string& card, bool warm) {
    Scene scene(Data().dense.Path(), "DENSE", card, float(state.range(0)));
    scene.renderer.SetBaseLayerCacheEnabled(warm);
    scene.Draw();
    for (auto _ : state)
        scene.Draw();
    if (warm)
        state.counters["kept"] = scene.renderer.BaseLayerReuses();
}

void ColdPage(benchmark::State& state) {
    DrawPageOf(state, "dense", false);
}
void WarmPage(benchmark::State& state) {
    DrawPageOf(state, "dense", true);
}
// The same pages with ten fields whose text is drawn smaller to fit.
void ColdPageTenShrunk(benchmark::State& state) {
    DrawPageOf(state, "shrunk", false);
}
void WarmPageTenShrunk(benchmark::State& state) {
    DrawPageOf(state, "shrunk", true);
}

void CheckBoxClick(benchmark::State& state) {
    Scene scene(Data().dense.Path(), "DENSE", "dense", 1.0f);
    CardField& box = scene.ctx.Card.Edit().Field(CheckBox, 10);
    for (auto _ : state) {
        box.a[4] ^= 1;
        scene.Redraw(CheckBox, 10);
    }
}

void ShippedAcblFront(benchmark::State& state) {
    if (!Data().hasShipped) {
        state.SkipWithError("no shipped data");
        return;
    }
    Scene scene(Data().shipped.Path(), "ACBL", "testcrd", 1.0f);
    scene.renderer.SetBaseLayerCacheEnabled(state.range(0) == 1);
    for (auto _ : state)
        scene.Draw();
}

// The shipped ACBL card at zoom 1 and 2: drawn from nothing, drawn again over its kept base
// layer, and one of its check boxes clicked.
void AcblCold(benchmark::State& state) {
    Scene scene(Data().shipped.Path(), "ACBL", "testcrd", float(state.range(0)));
    scene.renderer.SetBaseLayerCacheEnabled(false);
    for (auto _ : state)
        scene.Draw();
}

void AcblWarm(benchmark::State& state) {
    Scene scene(Data().shipped.Path(), "ACBL", "testcrd", float(state.range(0)));
    for (auto _ : state)
        scene.Draw();
}

void AcblOneField(benchmark::State& state) {
    Scene scene(Data().shipped.Path(), "ACBL", "testcrd", float(state.range(0)));
    CardField& box = scene.ctx.Card.Edit().Field(CheckBox, 0);
    for (auto _ : state) {
        box.a[4] ^= 1;
        scene.Redraw(CheckBox, 0);
    }
}

// Reading and writing the card's front page (the write waits for the disk, as a save does).
void AcblLoad(benchmark::State& state) {
    Scene scene(Data().shipped.Path(), "ACBL", "testcrd", 1.0f);
    for (auto _ : state)
        scene.ctx.LoadCard();
}

void AcblSave(benchmark::State& state) {
    Scene scene(Data().shipped.Path(), "ACBL", "testcrd", 1.0f);
    for (auto _ : state)
        scene.ctx.SaveCard();
}

// The same strings, lines and boxes as the dense page, straight through QPainter.
void BarePainter(benchmark::State& state) {
    const double scale = double(state.range(0)) / 15.0;
    QImage picture(int(kWidth * scale), int(kHeight * scale), QImage::Format_RGB32);
    QFont regular(QStringLiteral("Liberation Sans")), bold(QStringLiteral("Liberation Sans"));
    regular.setPointSizeF(8 * state.range(0));
    bold.setPointSizeF(8 * state.range(0));
    bold.setBold(true);
    QFont field(QStringLiteral("Liberation Sans"));
    field.setPointSizeF(10 * state.range(0));
    for (auto _ : state) {
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing);
        int n = 0;
        for (int row = 0; n < 1200; ++row)
            for (int column = 0; column < 8 && n < 1200; ++column, ++n) {
                painter.setFont(n % 10 == 0 ? bold : regular);
                painter.setPen(n % 15 == 0 ? Qt::red : Qt::black);
                painter.drawText(
                    QPointF((100 + column * 1420) * scale, (100 + row * 95) * scale + 10),
                    QString::fromLatin1(kWords[n % 12]) + u' ' + QString::number(n % 97));
            }
        painter.setPen(Qt::black);
        for (int i = 0; i < 150; ++i)
            painter.drawLine(QPointF(100 * scale, (200 + i * 95) * scale),
                             QPointF((kWidth - 100) * scale, (200 + i * 95) * scale));
        for (int i = 0; i < 100; ++i)
            painter.drawRect(QRectF((100 + (i % 10) * 1130) * scale,
                                    (300 + (i / 10) * 1400) * scale, 1000 * scale, 1200 * scale));
        for (int i = 0; i < 300; ++i) {
            QRectF box((200 + (i % 25) * 450) * scale, (1000 + (i / 25) * 1200) * scale,
                       150 * scale, 150 * scale);
            painter.drawRect(box);
            painter.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
        }
        painter.setFont(field);
        for (int i = 0; i < 200; ++i)
            painter.drawText(
                QPointF((400 + (i % 10) * 1130) * scale, (1200 + (i / 10) * 800) * scale + 12),
                QString::fromLatin1(kWords[i % 12]) + u' ' + QString::number(i));
        for (int i = 0; i < 50; ++i)
            painter.drawEllipse(
                QPointF((500 + (i % 25) * 450) * scale, (12000 + (i / 25) * 400) * scale),
                120 * scale, 120 * scale);
    }
}

void Configure(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

BENCHMARK(ColdPage)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(BarePainter)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(WarmPage)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(ColdPageTenShrunk)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(WarmPageTenShrunk)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(CheckBoxClick)->Apply([](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
});
BENCHMARK(ShippedAcblFront)->Arg(0)->Arg(1)->Apply(Configure);
BENCHMARK(AcblCold)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(AcblWarm)->Arg(1)->Arg(2)->Apply(Configure);
BENCHMARK(AcblOneField)->Arg(1)->Arg(2)->Apply([](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
});
BENCHMARK(AcblLoad)->Apply([](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
});
BENCHMARK(AcblSave)->Apply([](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
});

// Keeps the medians so that the renderer's cost can be set against the bare cost.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> medians;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int zoom : {1, 2}) {
        auto find = [&](const std::string& name) {
            for (const auto& [key, value] : reporter.medians)
                if (key.rfind(name + "/" + std::to_string(zoom), 0) == 0)
                    return value;
            return 0.0;
        };
        double cold = find("ColdPage"), bare = find("BarePainter");
        if (cold > 0 && bare > 0)
            std::cout << "zoom " << zoom << ": renderer " << cold << " ms, bare QPainter " << bare
                      << " ms, ratio " << cold / bare << '\n';
    }
    benchmark::Shutdown();
    return 0;
}
