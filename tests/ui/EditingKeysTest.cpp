// The keys of undo and redo, of nudging a field and of placing a new one, as a player
// presses them on the card face.
#include "AppContext.h"
#include "CardPicture.h"
#include "ColourPicker.h"
#include "EditingMenu.h"
#include "EditorGrip.h"
#include "FillInController.h"
#include "LayoutController.h"
#include "LayoutPanel.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

const std::vector<std::string> kFields = {
    "2,1000,1000,2000,240,1,\"first\",0",  // 0
    "2,1000,2000,2000,240,1,\"second\",0", // 1
    "2,1000,3000,2000,240,1,\"third\",0",  // 2
    "3,100,100,0,0,0,\"\",8",              // a check box
    "6,5000,6000,2000,1000,1,255,0",       // a red rectangle
    "12,5000,7000,9000,9000,1,\"\",2",     // a red line (colour code 2)
};

class EditingKeysTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        WriteLines(dir / "TEST" / "keys.tst", AnnAndBobCard(kFields));
        WriteLines(dir / "TEST" / "keys_.tst", AnnAndBobCard({}));
        ShowWindow();
        ASSERT_TRUE(window->Session().Library().OpenCard(0));
        window->ShowCardFace();
        ASSERT_TRUE(window->CardFaceShown());
    }
    FillInController& FillIn() { return window->FillIn(); }
    LayoutController& Layout() { return window->Layout(); }
    CardPicture* Picture() { return window->cardPicture(); }
    QPoint At(int x, int y) { return Picture()->ToPixels(QPoint(x, y)).toPoint(); }
    const CardField& Text(int i) { return ctx.Card.Page().Field(TextField, i); }
    int Tick() { return ctx.Card.Page().Field(CheckBox, 0).a[4]; }
    QLineEdit* Editor() { return qobject_cast<QLineEdit*>(FillIn().OpenEditor()); }
    // A key where the keyboard is.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    void Drag(int x1, int y1, int x2, int y2) {
        QTest::mousePress(Picture(), Qt::LeftButton, {}, At(x1, y1));
        QTest::mouseMove(Picture(), At(x2, y2));
        QTest::mouseRelease(Picture(), Qt::LeftButton, {}, At(x2, y2));
    }
    // A new text field being placed over (4000, 5000) with text typed into it.
    QWidget* PlaceTextField(const QString& text) {
        Layout().MenuItem(menu::AddTextField);
        Drag(4000, 5000, 6000, 5240);
        QWidget* editor = Layout().layoutEditor();
        if (editor)
            QTest::keyClicks(editor, text);
        return editor;
    }
};

} // namespace

TEST_F(EditingKeysTest, EveryRedoKeyRedoesTheTypingOfTheOpenFieldBeforeTheCard) {
    FillIn().Click({107, 107});
    ASSERT_EQ(Tick(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(Tick(), 0);
    // An open field with nothing of its own to redo passes both keys on to the card.
    FillIn().Click({1100, 1100});
    ASSERT_NE(Editor(), nullptr);
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        Key(modifiers & Qt::ShiftModifier ? Qt::Key_Z : Qt::Key_Y, modifiers);
        EXPECT_EQ(Tick(), 1);
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Tick(), 0);
    }
    // Typing after the undo: the keys redo the typing, never the tick.
    QTest::keyClicks(Editor(), "AB");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Editor()->text(), "first");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Editor()->text(), "firstAB");
    EXPECT_EQ(Tick(), 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Editor()->text(), "firstAB");
    EXPECT_EQ(Tick(), 0);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(EditingKeysTest, TypingBetweenNudgesIsAStepOfItsOwn) {
    FillIn().Click({1100, 1100});
    const int32_t top = Text(0).a[1];
    Key(Qt::Key_D, Qt::ControlModifier);
    QTest::keyClicks(Editor(), "T");
    Key(Qt::Key_D, Qt::ControlModifier);
    Key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(Text(0).a[1], top + 3 * ctx.TwipsPerPixel);
    // The two nudges after the typing are one step; the typing one; the first nudge one.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(0).text, "firstT");
    EXPECT_EQ(Text(0).a[1], top + ctx.TwipsPerPixel);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(0).text, "first");
    EXPECT_EQ(Text(0).a[1], top + ctx.TwipsPerPixel);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Text(0).a[1], top);
    EXPECT_EQ(FillIn().Session().CurrentField, 0);
}

TEST_F(EditingKeysTest, AfterAnUndoThatAddsAFieldTheBoxStaysOnItsField) {
    // The first field deleted and saved, then the third opened: undoing the deletion puts the
    // first field back in front of it, and the box follows the third field to its new index.
    Layout().MenuItem(menu::DeleteField);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(1100, 1100));
    QTest::mouseClick(Layout().panel()->actionButton(PanelButton::SaveChange), Qt::LeftButton);
    ASSERT_EQ(ctx.Card.Page().Count(TextField), 2);
    QTest::mouseClick(Layout().panel()->actionButton(PanelButton::Done), Qt::LeftButton);
    ASSERT_EQ(Layout().Session().State().EditMode, EditingStep::FillingIn);
    FillIn().Click({1100, 3100});
    ASSERT_EQ(FillIn().Session().CurrentField, 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(ctx.Card.Page().Count(TextField), 3);
    EXPECT_EQ(FillIn().Session().CurrentField, 2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->text(), "third");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(FillIn().Session().CurrentField, 1);
    EXPECT_EQ(Editor()->text(), "third");
    EXPECT_TRUE(errors.shown.empty());
}

TEST(FollowTextField, FindsTheFieldWhereverTheStepMovedIt) {
    CardField a, b, c;
    a.text = "a";
    b.text = "b";
    c.text = "c";
    EXPECT_EQ(FollowTextField({b, c}, {a, b, c}, 1), 2);
    EXPECT_EQ(FollowTextField({a, b, c}, {b, c}, 2), 1);
    EXPECT_EQ(FollowTextField({a, b, c}, {a, c}, 1), -1); // it was the one removed
    CardField typed = b;
    typed.text = "b2";
    EXPECT_EQ(FollowTextField({a, typed, c}, {a, b, c}, 1), 1); // its typing undone
    EXPECT_EQ(FollowTextField({a, b}, {a, b}, 5), -1);
}

TEST_F(EditingKeysTest, AFieldBeingPlacedIsNotDroppedWithoutAsking) {
    // A redo with a redo at hand, Ctrl+W and Ctrl+Q each ask as "Done" does; Cancel keeps the
    // field and its typing.
    FillIn().Click({107, 107});
    Key(Qt::Key_Z, Qt::ControlModifier);
    QWidget* editor = PlaceTextField("NEW");
    ASSERT_NE(editor, nullptr);
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        prompter.QueueAnswer(Answer::Cancel);
        QTest::keyClick(editor, modifiers & Qt::ShiftModifier ? Qt::Key_Z : Qt::Key_Y, modifiers);
        EXPECT_TRUE(Layout().Session().State().ActionPending);
        EXPECT_EQ(Tick(), 0);
    }
    prompter.QueueAnswer(Answer::Cancel);
    QTest::keyClick(editor, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(window->CardFaceShown());
    prompter.QueueAnswer(Answer::Cancel);
    QTest::keyClick(editor, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Layout().Session().State().ActionPending);
    ASSERT_EQ(Layout().layoutEditor(), editor);
    EXPECT_EQ(FillIn().EditorTextOf(editor), "NEW");
    EXPECT_EQ(prompter.MessageTexts(),
              std::vector<std::string>(4, "Do you want to save the changes?"));

    // No drops the field and the redo goes on.
    prompter.QueueAnswer(Answer::No);
    QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(Layout().Session().State().ActionPending);
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(ctx.Card.Page().Count(TextField), 3);

    // Yes keeps it on the card before the card goes away.
    editor = PlaceTextField("KEPT");
    prompter.QueueAnswer(Answer::Yes);
    QTest::keyClick(editor, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window->CardFaceShown());
    ASSERT_EQ(ctx.Card.Page().Count(TextField), 4);
    EXPECT_EQ(Text(3).text, "KEPT");
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(EditingKeysTest, DraggingTheFieldByItsGripLeavesTheKeyboardWithIt) {
    QWidget* editor = PlaceTextField("pre");
    ASSERT_NE(editor, nullptr);
    EditorGrip* grip = Layout().editorGrip();
    ASSERT_TRUE(grip->isVisible());
    const QPoint from = grip->rect().center();
    QTest::mousePress(grip, Qt::LeftButton, {}, from);
    QTest::mouseMove(grip, from + QPoint(30, 20));
    QTest::mouseRelease(grip, Qt::LeftButton, {}, from + QPoint(30, 20));
    EXPECT_EQ(QApplication::focusWidget(), editor);
    QTest::keyClicks(QApplication::focusWidget(), "post");
    EXPECT_EQ(FillIn().EditorTextOf(editor), "prepost");
    EXPECT_GT(Layout().Session().State().Mobile.rect.left, 4000);
}

TEST_F(EditingKeysTest, APickedShapeShowsItsColourAndAFieldMarkedForDeletionStaysPut) {
    Layout().MenuItem(menu::EditField);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(5000, 6500));
    ASSERT_EQ(Layout().Session().State().PickedKind, Rectangle);
    EXPECT_EQ(Layout().Session().State().Mobile.colour, 0x0000FF); // red, as it is drawn
    QTest::mouseClick(Layout().panel()->actionButton(PanelButton::CancelAction), Qt::LeftButton);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(6000, 9000));
    ASSERT_EQ(Layout().Session().State().PickedKind, Line);
    EXPECT_EQ(Layout().panel()->colourPicker()->Selected(), 2);
    QTest::mouseClick(Layout().panel()->actionButton(PanelButton::Done), Qt::LeftButton);

    Layout().MenuItem(menu::DeleteField);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, At(6000, 9000));
    ASSERT_EQ(Layout().Session().State().PickedKind, Line);
    const LineEnds marked = Layout().Session().State().Mobile.line;
    QTest::keyClick(Picture(), Qt::Key_Right);
    QTest::keyClick(Picture(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Layout().Session().State().Mobile.line.x1, marked.x1);
    EXPECT_EQ(Layout().Session().State().Mobile.line.y1, marked.y1);
    EXPECT_EQ(Layout().Session().State().Mobile.line.x2, marked.x2);
    QTest::mouseClick(Layout().panel()->actionButton(PanelButton::SaveChange), Qt::LeftButton);
    EXPECT_EQ(ctx.Card.Page().Count(Line), 0);
    EXPECT_TRUE(errors.shown.empty());
}
