// Filling in on the shipped ACBL sample card, as the user feels it: a click on a check box
// until the screen picture shows it, and a click that opens the editor on a text field.
// Run: build/bench/bench_fillin
#include "AppContext.h"
#include "CardPicture.h"
#include "FillInController.h"
#include "MainWindow.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

using namespace cw;

struct OpenSampleCard {
    test::TempDir dir;
    ScriptedPrompter prompter;
    test::TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    std::unique_ptr<AppContext> ctx;
    test::FakeFolderChooser chooser;
    std::unique_ptr<MainWindow> window;

    OpenSampleCard() {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ctx = std::make_unique<AppContext>(dir.Path(), prompter, trap);
        ctx->ReadSystemSettings();
        window = std::make_unique<MainWindow>(*ctx, &chooser);
        window->show();
        for (int i = 0; i < window->cardList()->count(); ++i)
            if (window->cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive))
                window->Session().Library().OpenCard(i);
        window->ShowCardFace();
    }
};

OpenSampleCard& Card() {
    static OpenSampleCard card;
    return card;
}

void CheckBoxClickToScreen(benchmark::State& state) {
    OpenSampleCard& card = Card();
    const CardField& box = card.ctx->Card.Page().Field(CheckBox, 0);
    QPoint at(box.a[0] + 2, box.a[1] + 2);
    CardPicture* picture = card.window->cardPicture();
    QRect shown(picture->ToPixels(QPoint(box.a[0], box.a[1])).toPoint() - QPoint(4, 4),
                QSize(24, 24));
    for (auto _ : state) {
        card.window->FillIn().Click(at);
        // Until the picture is painted: the box's part of the card picture goes through its paint
        // event.
        benchmark::DoNotOptimize(picture->grab(shown));
    }
}
BENCHMARK(CheckBoxClickToScreen)->Unit(benchmark::kMicrosecond);

void OpenEditorOnField(benchmark::State& state) {
    OpenSampleCard& card = Card();
    int count = card.ctx->Card.Page().Count(TextField);
    int index = 0;
    for (auto _ : state) {
        const CardField& field = card.ctx->Card.Page().Field(TextField, index);
        card.window->FillIn().Click(QPoint(field.a[0] + 5, field.a[1] + 5));
        QApplication::processEvents();
        index = (index + 7) % count;
    }
}
BENCHMARK(OpenEditorOnField)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Card().window.reset();
    return 0;
}
