// Where the floating panel of layout editing goes on the sample card, in a window wider than
// the card and in one that shows only a part of it, and what the "No" to removing covered
// fields leaves.
#include "AppContext.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "EditingMenu.h"
#include "FillInController.h"
#include "LayoutController.h"
#include "LayoutPanel.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class LayoutPanelPlacementTest : public MainWindowFixture {
protected:
    void OpenSampleCard(QSize windowSize) {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ShowWindow();
        window->resize(windowSize);
        for (int i = 0; i < window->cardList()->count(); ++i) {
            if (window->cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive)) {
                ASSERT_TRUE(window->Session().Library().OpenCard(i));
            }
        }
        window->ShowCardFace();
        ASSERT_TRUE(window->CardFaceShown());
        QApplication::processEvents();
    }
    LayoutController& Layout() { return window->Layout(); }
    LayoutPanel& Panel() { return *Layout().panel(); }
    CardPicture* Picture() { return window->cardPicture(); }
    QPoint At(int x, int y) { return Picture()->ToPixels(QPoint(x, y)).toPoint(); }
    // The part of the card picture the viewport shows, in the picture's pixels.
    QRect Shown() {
        auto* viewport = window->cardFace()->findChild<QWidget*>("CardViewport");
        QRect inViewport(Picture()->mapFrom(viewport, QPoint(0, 0)), viewport->size());
        return inViewport.intersected(Picture()->rect());
    }
    void RightClick(int x, int y) {
        QPoint at = At(x, y);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Picture()->mapToGlobal(at));
        QApplication::sendEvent(Picture(), &event);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        QTest::mousePress(Picture(), Qt::LeftButton, {}, At(x1, y1));
        QTest::mouseMove(Picture(), At(x2, y2));
        QTest::mouseRelease(Picture(), Qt::LeftButton, {}, At(x2, y2));
    }
    // The panel and every button on it can be reached.
    void ExpectPanelOnShow() {
        ASSERT_TRUE(Panel().isVisible());
        const QRect shown = Shown();
        EXPECT_TRUE(shown.contains(Panel().geometry()))
            << "panel " << Panel().geometry().x() << "," << Panel().geometry().y() << " "
            << Panel().width() << "x" << Panel().height() << " shown " << shown.x() << ","
            << shown.y() << " " << shown.width() << "x" << shown.height();
    }
    int32_t CardWidth() { return int32_t(ctx.Format.Defaults().NaturalWidth); }
    int32_t CardHeight() { return int32_t(ctx.Format.Defaults().NaturalHeight); }
};

} // namespace

TEST(VisibleCardPart, IsTheCardInsideTheViewportAndNeverMore) {
    // A viewport wider than the card: the whole card width and no more.
    VisibleCardArea wide = VisibleCardPart({1500, 800}, QRect(0, 0, 900, 1200), 15, 5);
    EXPECT_EQ(wide.VisibleLeft, 75);
    EXPECT_EQ(wide.VisibleRight, (900 - 5) * 15);
    EXPECT_EQ(wide.VisibleTop, 75);
    EXPECT_EQ(wide.VisibleBottom, (800 - 5) * 15);
    // Scrolled right and down by 100 and 300 pixels.
    VisibleCardArea scrolled = VisibleCardPart({600, 400}, QRect(-100, -300, 900, 1200), 10, 0);
    EXPECT_EQ(scrolled.VisibleLeft, 1000);
    EXPECT_EQ(scrolled.VisibleRight, 7000);
    EXPECT_EQ(scrolled.VisibleTop, 3000);
    EXPECT_EQ(scrolled.VisibleBottom, 7000);
    // A card placed right of the viewport's left edge.
    VisibleCardArea moved = VisibleCardPart({1500, 800}, QRect(200, 0, 900, 600), 15, 0);
    EXPECT_EQ(moved.VisibleLeft, 0);
    EXPECT_EQ(moved.VisibleRight, 900 * 15);
    EXPECT_EQ(moved.VisibleBottom, 600 * 15);
}

TEST(PanelPosition, GoesBesideThePointInsideThePartOnShow) {
    const CardArea visible{0, 0, 10000, 8000};
    auto [left, top] = PanelPosition(2000, 1000, 3000, 2000, visible, 300);
    EXPECT_EQ(left, 2300);
    EXPECT_EQ(top, 1000);
    // No room on the right: to the left of the point.
    std::tie(left, top) = PanelPosition(8000, 7000, 3000, 2000, visible, 300);
    EXPECT_EQ(left, 8000 - 300 - 3000);
    EXPECT_EQ(top, 7000 - 2000);
    // Room on neither side: against the far edge, never outside.
    std::tie(left, top) = PanelPosition(1500, 100, 9000, 9000, visible, 300);
    EXPECT_GE(left, 0);
    EXPECT_LE(left + 9000, 10000);
    EXPECT_EQ(top, 0);
}

TEST_F(LayoutPanelPlacementTest, InAWideWindowThePanelStaysOnTheCardBesideTheClick) {
    OpenSampleCard({1580, 900});
    ASSERT_LT(Picture()->width(), 1400); // the viewport is wider than the card
    const int32_t y = 3000;
    for (int32_t x : {CardWidth() / 2 + 500, CardWidth() - 200}) {
        SCOPED_TRACE(x);
        RightClick(x, y);
        EXPECT_TRUE(Layout().editingMenu()->isVisible());
        Layout().editingMenu()->hide();
        Layout().MenuItem(menu::AddTextField);
        ExpectPanelOnShow();
        EXPECT_FALSE(Panel().geometry().contains(At(x, y)));
        for (PanelButton button : {PanelButton::Help, PanelButton::Done})
            EXPECT_TRUE(Shown().contains(
                Panel().actionButton(button)->geometry().translated(Panel().pos())));
    }
    // A right click while the panel shows opens the actions and leaves the panel alone.
    const QPoint where = Panel().pos();
    RightClick(1000, 1000);
    EXPECT_TRUE(Layout().editingMenu()->isVisible());
    Layout().editingMenu()->hide();
    EXPECT_EQ(Panel().pos(), where);

    // A text field drawn over the whole card on show: "Save Change" can still be reached.
    const QRect shown = Shown();
    QPoint topLeft = Picture()->ToCardTwips(shown.topLeft() + QPoint(4, 4));
    QPoint bottomRight = Picture()->ToCardTwips(shown.bottomRight() - QPoint(4, 4));
    Drag(topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y());
    ExpectPanelOnShow();
    EXPECT_TRUE(Panel().actionButton(PanelButton::SaveChange)->isEnabled());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LayoutPanelPlacementTest, ZoomedOutOrScrolledThePanelKeepsInsideThePartOnShow) {
    OpenSampleCard({980, 700});
    for (int i = 0; i < 3; ++i)
        window->ZoomStep(false);
    RightClick(CardWidth() - 300, CardHeight() - 300);
    Layout().editingMenu()->hide();
    Layout().MenuItem(menu::AddRectangle);
    ExpectPanelOnShow();
    for (int i = 0; i < 3; ++i)
        window->ZoomStep(true);
    QApplication::processEvents();
    ExpectPanelOnShow();
    // The card scrolls under the panel; the panel stays in sight.
    QScrollBar* down = window->cardFace()->verticalScrollBar();
    ASSERT_GT(down->maximum(), 0);
    down->setValue(0);
    ExpectPanelOnShow();
    down->setValue(down->maximum());
    ExpectPanelOnShow();
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LayoutPanelPlacementTest, NoToRemovingCoveredFieldsKeepsPlacingTheNewField) {
    OpenSampleCard({1280, 900});
    const CardField covered = ctx.Card.Page().Field(TextField, 5);
    const int texts = ctx.Card.Page().Count(TextField);
    RightClick(covered.a[0], covered.a[1]);
    Layout().editingMenu()->hide();
    Layout().MenuItem(menu::AddTextField);
    Drag(covered.a[0] + 30, covered.a[1] + 30, covered.a[0] + covered.a[2] + 300,
         covered.a[1] + 200);
    QWidget* editor = Layout().layoutEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "LONG TYPING");
    prompter.QueueAnswer(Answer::No);
    QTest::mouseClick(Panel().actionButton(PanelButton::SaveChange), Qt::LeftButton);
    EXPECT_EQ(ctx.Card.Page().Count(TextField), texts);
    EXPECT_EQ(ctx.Card.Page().Field(TextField, 5), covered);
    // Still being placed, with its text, and it can be moved.
    EXPECT_TRUE(Layout().Session().State().ActionPending);
    ASSERT_EQ(Layout().layoutEditor(), editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(window->FillIn().EditorTextOf(editor), "LONG TYPING");
    EXPECT_FALSE(window->Session().Changed().CardChanged());
    const double top = Layout().Session().State().Mobile.rect.top;
    QTest::keyClick(Picture(), Qt::Key_Down);
    EXPECT_EQ(Layout().Session().State().Mobile.rect.top, top + ctx.TwipsPerPixel);
    // Yes stores it over the fields it covers.
    prompter.QueueAnswer(Answer::Yes);
    QTest::mouseClick(Panel().actionButton(PanelButton::SaveChange), Qt::LeftButton);
    EXPECT_FALSE(Layout().Session().State().ActionPending);
    EXPECT_EQ(ctx.Card.Page().Fields(TextField).back().text, "LONG TYPING");
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    EXPECT_TRUE(errors.shown.empty());
}
