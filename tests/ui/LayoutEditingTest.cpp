#include "AppContext.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "CheckBoxMarker.h"
#include "ColourPicker.h"
#include "EditingMenu.h"
#include "FillInController.h"
#include "LayoutController.h"
#include "LayoutPanel.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"
#include "MoveArrows.h"
#include "SizeArrows.h"
#include "UndoHistory.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class LayoutEditingTest : public MainWindowFixture {
protected:
    // The shipped sample card, on its card face.
    void OpenSampleCard() {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ShowWindow();
        window->resize(1280, 900);
        ASSERT_TRUE(OpenCard("TESTCRD"));
        window->ShowCardFace();
        ASSERT_TRUE(window->CardFaceShown());
        Layout().SetFontChooser([this](const FontChoice&) { return font; });
    }
    bool OpenCard(const QString& name) {
        for (int i = 0; i < window->cardList()->count(); ++i)
            if (window->cardList()->item(i)->text().startsWith(name, Qt::CaseInsensitive))
                return window->Session().Library().OpenCard(i);
        return false;
    }
    LayoutController& Layout() { return window->Layout(); }
    LayoutPanel& Panel() { return *Layout().panel(); }
    CardPicture* Picture() { return window->cardPicture(); }
    QPoint At(int x, int y) { return Picture()->ToPixels(QPoint(x, y)).toPoint(); }
    // A drag on the card with the left button, card twips.
    void Drag(int x1, int y1, int x2, int y2) {
        QTest::mousePress(Picture(), Qt::LeftButton, {}, At(x1, y1));
        QTest::mouseMove(Picture(), At((x1 + x2) / 2, (y1 + y2) / 2));
        QTest::mouseMove(Picture(), At(x2, y2));
        QTest::mouseRelease(Picture(), Qt::LeftButton, {}, At(x2, y2));
    }
    void RightClick(int x, int y) {
        QPoint at = At(x, y);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Picture()->mapToGlobal(at));
        QApplication::sendEvent(Picture(), &event);
    }
    void Press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void SaveChange() { Press(Panel().actionButton(PanelButton::SaveChange)); }
    // With CW_SCREENSHOTS set to a folder, the window is saved there as name.png.
    void Shot(const QString& name, QWidget* widget = nullptr) {
        QByteArray folder = qgetenv("CW_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(QString::fromLocal8Bit(folder));
        QApplication::processEvents();
        (widget ? widget : window.get())
            ->grab()
            .save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
    }

    std::optional<FontChoice> font;
};

} // namespace

TEST_F(LayoutEditingTest, TheMenuOffersItsItemsInOrderAndAnEditorUndoesItsOwnTypingFirst) {
    OpenSampleCard();
    QStringList shown;
    for (QAction* action : Layout().editingMenu()->actions())
        if (action->isVisible())
            shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(shown, QStringList({"&Refresh Screen",
                                  "Save Changes",
                                  "Save Card as Picture or PDF...",
                                  "Zoom",
                                  "-",
                                  "Add a Text Field",
                                  "Add a Check box",
                                  "Add a Card Symbol",
                                  "Add a Rectangle",
                                  "-",
                                  "Add a Horizontal Line",
                                  "Add a Vertical Line",
                                  "-",
                                  "Edit a Field",
                                  "Clear an area",
                                  "Delete a Field",
                                  "-",
                                  "Set font on all text fields for this card",
                                  "-",
                                  "Help",
                                  "-",
                                  "Done"}));
    EXPECT_TRUE(Layout().editingMenu()->item(menu::SaveCardAs)->isEnabled());
    // "Zoom" shows the zoom page and starts no action.
    Layout().MenuItem(menu::Zoom);
    EXPECT_TRUE(Panel().page(ZoomPage)->isVisible());
    EXPECT_EQ(Layout().Session().State().EditMode, EditingStep::FillingIn);
    Shot("13-zoom");
    Press(Panel().actionButton(PanelButton::Done));

    // A tick, then typing in a field: the first Ctrl+Z takes back the typing in the editor,
    // the second the tick.
    const CardPage& page = ctx.Card.Page();
    int box = 0;
    while (page.Field(CheckBox, box).a[4] != 0)
        ++box;
    const CardField check = page.Field(CheckBox, box);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(check.a[0] + 30, check.a[1] + 30));
    ASSERT_EQ(page.Field(CheckBox, box).a[4], 1);
    const CardField& field = page.Field(TextField, 5);
    const std::string text = field.text;
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(field.a[0] + 50, field.a[1] + 50));
    auto* editor = qobject_cast<QLineEdit*>(window->FillIn().OpenEditor());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "xyz");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->text().toStdString(), text);
    EXPECT_EQ(page.Field(CheckBox, box).a[4], 1);
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page.Field(CheckBox, box).a[4], 0);
    EXPECT_FALSE(window->Session().Changed().CardChanged());
    QTest::keyClick(window->FillIn().OpenEditor(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(page.Field(CheckBox, box).a[4], 1);
    EXPECT_TRUE(errors.shown.empty());
}

// A new section laid out by hand on the sample card, in place of its other conventional calls
// (the bottom section of the front page): the notes box deleted, the section's title cleared,
// a frame, a red title, a check box, three lines, the title moved and widened, every field set
// in another font. Then every step undone and redone, saved and read again.
TEST_F(LayoutEditingTest, ANewSectionIsLaidOutByHandUndoneRedoneAndSaved) {
    OpenSampleCard();
    const CardPage& page = ctx.Card.Page();
    const CardPage original = page;
    const int texts = page.Count(TextField);
    // The lower part of the card, where the new section goes, on show.
    QScrollBar* scroll = window->cardFace()->verticalScrollBar();
    scroll->setValue(scroll->maximum());

    RightClick(600, 11500);
    EXPECT_FALSE(Panel().isVisible()); // no action yet: the menu pops up
    Shot("00-editing-menu", Layout().editingMenu());
    Layout().editingMenu()->hide();
    Layout().MenuItem(menu::DeleteField);
    Shot("01-delete-armed");
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(2000, 11500));
    Shot("02-delete-picked");
    SaveChange();
    ASSERT_EQ(page.Count(TextField), texts - 1);

    Layout().MenuItem(menu::ClearArea);
    Drag(150, 10470, 7700, 10680);
    Shot("03-clear-area");
    SaveChange();
    EXPECT_TRUE(prompter.MessageTexts().empty());

    Layout().MenuItem(menu::AddRectangle);
    Drag(7650, 11880, 200, 10500);
    // The arrow keys move it as the panel's arrows do.
    const double left = Layout().Session().State().Mobile.rect.left;
    QTest::keyClick(Picture(), Qt::Key_Right);
    QTest::keyClick(Picture(), Qt::Key_Left);
    QTest::keyClick(Picture(), Qt::Key_Left);
    EXPECT_EQ(Layout().Session().State().Mobile.rect.left, left - ctx.TwipsPerPixel);
    Shot("04-rectangle");
    SaveChange();
    ASSERT_EQ(page.Count(Rectangle), 1);

    Layout().MenuItem(menu::AddTextField);
    Press(Panel().colourPicker()->button(2));
    // At the card's zoom a screen pixel is 9.375 twips: places on whole pixels.
    Drag(375, 11250, 3375, 11475);
    QWidget* editor = Layout().layoutEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "MY COMPETITIVE AGREEMENTS");
    Shot("05-text-field");
    SaveChange();
    ASSERT_EQ(page.Count(TextField), texts);
    const int title = texts - 1;
    EXPECT_EQ(page.Field(TextField, title).text, "MY COMPETITIVE AGREEMENTS");
    EXPECT_EQ(page.Field(TextField, title).a[4], 2);

    Layout().MenuItem(menu::AddCheckBox);
    Shot("06-check-box-armed");
    CheckBoxMarker* marker = Layout().checkBoxMarker();
    ASSERT_TRUE(marker->isVisible());
    // Grabbed one pixel into its corner, so that its corner goes where the pointer goes less
    // one pixel; positions are the marker's own, which moves with the pointer.
    auto toward = [&] {
        return marker->mapFromGlobal(Picture()->mapToGlobal(At(450, 11560)));
    };
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(marker, toward() + QPoint(1, 1));
    QTest::mouseRelease(marker, Qt::LeftButton, {}, toward() + QPoint(1, 1));
    Shot("07-check-box-dropped");
    SaveChange();
    ASSERT_EQ(page.Count(CheckBox), original.Count(CheckBox) + 1);
    EXPECT_NEAR(page.Fields(CheckBox).back().a[0], 450 + ctx.TwipsPerPixel, 20);

    Layout().MenuItem(menu::AddHorizontalLine);
    EXPECT_FALSE(Panel().sizeArrows()->arrow(Qt::UpArrow)->isEnabled());
    Panel().lineCountEdit()->clear();
    QTest::keyClicks(Panel().lineCountEdit(), "3");
    Panel().lineSpacingEdit()->clear();
    QTest::keyClicks(Panel().lineSpacingEdit(), "100");
    Drag(750, 11625, 5400, 11900);
    Shot("08-lines");
    SaveChange();
    ASSERT_EQ(page.Count(Line), 3);
    EXPECT_EQ(page.Field(Line, 2).a[2], 11625 + 200);

    Layout().MenuItem(menu::EditField);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(1000, 11350));
    for (int i = 0; i < 3; ++i)
        Press(Panel().moveArrows()->arrow(Qt::RightArrow));
    for (int i = 0; i < 5; ++i)
        Press(Panel().sizeArrows()->arrow(Qt::RightArrow));
    Shot("09-edit-field");
    SaveChange();
    const int32_t step = ctx.TwipsPerPixel;
    EXPECT_EQ(page.Field(TextField, title).a[0], 375 + 3 * step);
    EXPECT_EQ(page.Field(TextField, title).a[2], 3000 + 5 * step);

    Layout().MenuItem(menu::SetFontOnAllFields);
    font = FontChoice{"Times New Roman", 10, false, false};
    Press(Panel().fontButton());
    Shot("10-set-font");
    SaveChange();
    EXPECT_EQ(page.Field(TextField, title).text, "#<Times New Roman>#MY COMPETITIVE AGREEMENTS");
    Press(Panel().actionButton(PanelButton::Done)); // "Done"
    EXPECT_FALSE(Panel().isVisible());
    Shot("11-done");

    // Every step back and forth.
    const CardPage laidOut = page;
    UndoHistory& history = window->EditHistory();
    EXPECT_EQ(history.Stack().count(), 8);
    for (int i = 0; i < 8; ++i)
        window->UndoStep(false);
    EXPECT_TRUE(PageDelta::Between(page, original).Empty());
    Shot("12-all-undone");
    for (int i = 0; i < 8; ++i)
        window->UndoStep(true);
    EXPECT_TRUE(PageDelta::Between(page, laidOut).Empty());
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_FALSE(window->Session().Changed().CardChanged());

    ASSERT_TRUE(OpenCard("TESTCRD"));
    EXPECT_TRUE(PageDelta::Between(page, laidOut).Empty());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(errors.shown.empty());
}

// Each action's panel shows its pages side by side, inside the panel and above the
// instructions, whatever the captions' font.
TEST(LayoutPanelTest, PagesOfEveryLayoutStayApartAndInside) {
    LayoutPanel panel(15);
    const int layouts[] = {menu::AddTextField, menu::AddCheckBox,        menu::PickedCheckBox,
                           menu::AddRectangle, menu::AddHorizontalLine,  menu::PickedLine,
                           menu::EditField,    menu::SetFontOnAllFields, menu::Zoom};
    for (int index : layouts) {
        SCOPED_TRACE(index);
        PanelLayout layout = PanelLayoutFor(index);
        panel.ApplyLayout(layout);
        QList<QRect> shown;
        for (int page : {AlignmentPage, ColourPage, MovePage, LineWidthPage, CheckBoxPage, SizePage,
                         LinesPage, ZoomPage})
            if (!panel.page(page)->isHidden())
                shown << panel.page(page)->geometry();
        for (QPushButton* button : {panel.fontButton(), panel.defaultFontButton()})
            if (!button->isHidden())
                shown << button->geometry();
        EXPECT_EQ(shown.size(), qsizetype(layout.pages.size()) + (layout.fontButton ? 1 : 0) +
                                    (layout.defaultFontButton ? 1 : 0));
        const QRect label = panel.instructionsLabel()->geometry();
        for (qsizetype i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(panel.rect().contains(shown[i])) << i;
            EXPECT_LE(shown[i].bottom(), label.top() + 2) << i;
            for (qsizetype j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i].intersects(shown[j])) << i << " " << j;
        }
    }
}
