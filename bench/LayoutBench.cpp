// Layout editing on the shipped ACBL sample card at a view scale of 2, as the user feels it:
// one step of the move or size arrows until the picture shows it, the rubber band following
// the mouse, and one undo or redo with its redraw.
// Run: build/bench/bench_layout
#include "AppContext.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "LayoutController.h"
#include "LayoutPanel.h"
#include "MainWindow.h"
#include "MoveArrows.h"
#include "RubberBand.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "SizeArrows.h"
#include "TestFiles.h"
#include "UndoHistory.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
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
        window->resize(1280, 900);
        window->show();
        for (int i = 0; i < window->cardList()->count(); ++i)
            if (window->cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive))
                window->Session().Library().OpenCard(i);
        window->ShowCardFace();
        // A view scale of 2: the picture has four times the pixels of the natural size.
        ctx->View.SetUserScale(2.0f);
        ctx->SetUpViewScale();
        window->SizeCardPicture();
        window->Redraw();
        QApplication::processEvents();
    }
    LayoutController& Layout() { return window->Layout(); }
    CardPicture* Picture() { return window->cardPicture(); }
    // Until the part of the picture around a widget has been painted.
    void Shown(QWidget* widget) {
        QRect around = widget->geometry().adjusted(-20, -20, 20, 20);
        benchmark::DoNotOptimize(Picture()->grab(around));
    }
};

OpenSampleCard& Card() {
    static OpenSampleCard card;
    return card;
}

// "Edit a Field" on a text field, then one arrow press after another, alternating directions
// so that the field stays where it is.
void ArrowStep(benchmark::State& state, bool size) {
    OpenSampleCard& card = Card();
    LayoutController& layout = card.Layout();
    layout.MenuItem(menu::EditField);
    const CardField field = card.ctx->Card.Page().Field(TextField, 5);
    layout.Clicked(QPoint(field.a[0] + 50, field.a[1] + 50));
    LayoutPanel* panel = layout.panel();
    ArrowPad* pad = size ? static_cast<ArrowPad*>(panel->sizeArrows())
                         : static_cast<ArrowPad*>(panel->moveArrows());
    QToolButton* right = pad->arrow(Qt::RightArrow);
    QToolButton* left = pad->arrow(Qt::LeftArrow);
    const int redraws = card.window->Renderer().BaseLayerReuses();
    bool forward = true;
    for (auto _ : state) {
        QTest::mouseClick(forward ? right : left, Qt::LeftButton);
        card.Shown(layout.layoutEditor());
        forward = !forward;
    }
    state.counters["cardRedraws"] = card.window->Renderer().BaseLayerReuses() - redraws;
    layout.Session().CancelPendingForUndo();
    layout.MenuItem(menu::Done);
}
void MoveStepAtScaleTwo(benchmark::State& state) {
    ArrowStep(state, false);
}
void SizeStepAtScaleTwo(benchmark::State& state) {
    ArrowStep(state, true);
}
BENCHMARK(MoveStepAtScaleTwo)->Unit(benchmark::kMillisecond);
BENCHMARK(SizeStepAtScaleTwo)->Unit(benchmark::kMillisecond);

// The rubber band of "Add a Rectangle" while the button is held.
void RubberBandFollowsTheMouse(benchmark::State& state) {
    OpenSampleCard& card = Card();
    LayoutController& layout = card.Layout();
    layout.MenuItem(menu::AddRectangle);
    CardPicture* picture = card.Picture();
    QPoint start = picture->ToPixels(QPoint(1000, 1000)).toPoint();
    QTest::mousePress(picture, Qt::LeftButton, {}, start);
    const int redraws = card.window->Renderer().BaseLayerReuses();
    int step = 0;
    for (auto _ : state) {
        QTest::mouseMove(picture, start + QPoint(100 + step % 200, 80 + step % 150));
        card.Shown(layout.rubberBand());
        ++step;
    }
    state.counters["cardRedraws"] = card.window->Renderer().BaseLayerReuses() - redraws;
    QTest::mouseRelease(picture, Qt::LeftButton, {}, start + QPoint(100, 80));
    layout.Session().CancelPendingForUndo();
    layout.MenuItem(menu::Done);
}
BENCHMARK(RubberBandFollowsTheMouse)->Unit(benchmark::kMillisecond);

// A text field added (with the area it clears), then undone and redone in turn.
void UndoOrRedoOneStep(benchmark::State& state) {
    OpenSampleCard& card = Card();
    LayoutEditSession& edit = card.Layout().Session();
    card.Layout().MenuItem(menu::AddTextField);
    edit.MouseDown(600, 14200);
    edit.MouseUp(3000, 14440);
    edit.ActionButton(PanelButton::SaveChange);
    card.Layout().MenuItem(menu::Done);
    bool undo = true;
    for (auto _ : state) {
        card.window->UndoStep(!undo);
        benchmark::DoNotOptimize(card.Picture()->grab(QRect(0, 0, 400, 300)));
        undo = !undo;
    }
}
BENCHMARK(UndoOrRedoOneStep)->Unit(benchmark::kMillisecond);

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
