#include "AppContext.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "FillInController.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"
#include "SuitTyping.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

const std::vector<std::string> kFields = {
    "2,1000,1000,2000,240,1,\"first\",0",        // 0: one line, left
    "2,1000,1000,500,500,1,\"under\",0",         // 1: overlaps 0
    "2,1000,2000,2000,241,1,\"#<Arial>#abc\",0", // 2: prefix, height 241
    "2,1000,3000,3000,900,1,\"1NT\",4",          // 3: multi-line, right
    "3,100,100,0,0,0,\"\",8",                    // check box of size 8
    "16,6000,6000,100,0,0,\"\",0",               // colour dot
    "23,7000,7000,400,300,1,\"\",0",             // option field, choice NT
};

class FillInTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        WriteLines(dir / "TEST" / "fill.tst", AnnAndBobCard(kFields));
        WriteLines(dir / "TEST" / "fill_.tst", AnnAndBobCard({}));
        ShowWindow();
        ASSERT_TRUE(window->Session().Library().OpenCard(0));
        window->ShowCardFace();
        ASSERT_TRUE(window->CardFaceShown());
    }
    FillInController& FillIn() { return window->FillIn(); }
    FillInSession& Session() { return FillIn().Session(); }
    const CardField& Text(int i) { return ctx.Card.Page().Field(TextField, i); }
    bool Changed() { return window->Session().Changed().CardChanged(); }
    void Type(const QString& text) { QTest::keyClicks(FillIn().OpenEditor(), text); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(FillIn().OpenEditor(), key, modifiers);
    }
};

} // namespace

TEST_F(FillInTest, TheCardFaceStartsOnTheFirstTextField) {
    EXPECT_EQ(Session().CurrentField, 0);
    auto* editor = qobject_cast<QLineEdit*>(FillIn().OpenEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->text(), "first");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(FillInTest, ClicksReachFieldsByTheirExactBounds) {
    FillIn().Click({3000, 1240}); // right and bottom edge of field 0
    EXPECT_EQ(Session().CurrentField, 0);
    FillIn().Click({1200, 1200}); // fields 0 and 1 overlap: the lower index opens
    EXPECT_EQ(Session().CurrentField, 0);
    FillIn().Click({1200, 1400}); // only field 1 reaches here
    EXPECT_EQ(Session().CurrentField, 1);
    FillIn().Click({3001, 1100}); // one twip beyond: nothing opens
    EXPECT_EQ(Session().CurrentField, 1);

    FillIn().Click({108, 104});
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 0).a[4], 0);
    EXPECT_FALSE(Changed());
    FillIn().Click({107, 107});
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 0).a[4], 1);
    EXPECT_TRUE(Changed());
}

TEST_F(FillInTest, EditorHeightFollowsTheFieldExceptAtTwoHundredForty) {
    FillIn().Click({1100, 2100});
    QWidget* editor = FillIn().OpenEditor();
    QPointF top = window->cardPicture()->ToPixels({0, 2000});
    QPointF bottom = window->cardPicture()->ToPixels({0, 2241});
    EXPECT_EQ(editor->height(), int(std::lround(bottom.y() - top.y())));
    FillIn().Click({1100, 1100});
    QWidget* least = FillIn().OpenEditor();
    EXPECT_EQ(least->height(), QFontMetrics(least->font()).height() + 2);
}

TEST_F(FillInTest, TypingAQuoteStoresTwoApostrophesAndMarksTheCard) {
    FillIn().Click({1100, 1100});
    FillIn().Click({1100, 2100}); // leaving an unchanged field changes nothing
    EXPECT_FALSE(Changed());
    Key(Qt::Key_End);
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Backspace);
    Type("a\"b");
    EXPECT_EQ(qobject_cast<QLineEdit*>(FillIn().OpenEditor())->text(), "a\"b");
    FillIn().Click({1100, 1100});
    EXPECT_EQ(Text(2).text, "#<Arial>#a''b"); // the font prefix survives
    EXPECT_TRUE(Changed());
}

TEST_F(FillInTest, MultiLineTextLosesOuterTabsAndTrailingEmptyLines) {
    FillIn().Click({1100, 3100});
    auto* editor = qobject_cast<QTextEdit*>(FillIn().OpenEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->objectName(), "fieldEditor(4)");
    editor->setPlainText("\tone\ttwo\nthree\n\n\t");
    FillIn().CommitOpenEditor();
    EXPECT_EQ(Text(3).text, "one\ttwo\r\nthree");
}

TEST_F(FillInTest, TabAndShiftTabWrapAround) {
    EXPECT_EQ(Session().CurrentField, 0);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Session().CurrentField, 3);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Session().CurrentField, 0);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Session().CurrentField, 1);
}

TEST_F(FillInTest, SuitKeyShowsTheSymbolAtTheCaretAndStoresMarkup) {
    FillIn().Click({1100, 3100});
    auto* editor = qobject_cast<QTextEdit*>(FillIn().OpenEditor());
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(2);
    editor->setTextCursor(cursor);
    QTest::keyClick(editor, Qt::Key_F5);
    EXPECT_EQ(editor->toPlainText(), u"1N\u2663T"_qs);
    EXPECT_EQ(editor->textCursor().position(), 3);
    FillIn().CommitOpenEditor();
    EXPECT_EQ(Text(3).text, "1N<c>T");
}

TEST_F(FillInTest, TypedAndPastedSuitsShowAsSymbolsAndAreStoredAsMarkup) {
    // The field's markup shows as symbols.
    ctx.Card.Rewrite([](CardPage& page) { page.Field(TextField, 0).text = "2<h> 3<s>"; });
    FillIn().Click({1100, 1100});
    auto* line = qobject_cast<QLineEdit*>(FillIn().OpenEditor());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), u"2\u2665 3\u2660"_qs);
    // "!c" as players type it online, and a pasted diamond.
    Key(Qt::Key_End);
    QTest::keyClicks(line, " 1!c");
    EXPECT_EQ(line->text(), u"2\u2665 3\u2660 1\u2663"_qs);
    line->insert(u" 4\u2666!"_qs);
    QTest::keyClicks(line, "x");
    FillIn().CommitOpenEditor();
    EXPECT_EQ(Text(0).text, "2<h> 3<s> 1<c> 4<d>!x");
    // Upper-case letters give the symbols too.
    FillIn().Click({1100, 1100});
    line = qobject_cast<QLineEdit*>(FillIn().OpenEditor());
    QTest::keyClicks(line, "!S");
    EXPECT_TRUE(line->text().endsWith(QChar(0x2660)));
    EXPECT_TRUE(errors.shown.empty());
}

TEST(SuitTyping, MarkupAndSymbolsGoBothWays) {
    EXPECT_EQ(MarkupToSymbols("<c><d><h><s> <C> <1> <x"),
              u"\u2663\u2666\u2665\u2660 <C> <1> <x"_qs);
    EXPECT_EQ(SymbolsToMarkup(u"\u2667\u2662\u2661\u2664 ok"_qs), "<c><d><h><s> ok");
    EXPECT_EQ(BangSuitBefore("1!h", 3), 1);
    EXPECT_EQ(BangSuitBefore("1!h", 2), -1);
    EXPECT_EQ(BangSuitBefore("1!x", 3), -1);
    EXPECT_EQ(BangSuitBefore("!", 1), -1);
}

TEST_F(FillInTest, CtrlMCentresAMultiLineFieldAndKeepsWhatWasTyped) {
    FillIn().Click({1100, 3100});
    QTest::keyClicks(FillIn().OpenEditor(), "x");
    Key(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(Text(3).a[5], 5);
    EXPECT_EQ(FillIn().OpenEditor()->objectName(), "fieldEditor(5)");
    EXPECT_EQ(Text(3).text, "1NTx");
    EXPECT_TRUE(Changed());
}

TEST_F(FillInTest, ColourDotCyclesAndTheOptionListChangesOnlyOnANewChoice) {
    for (int i = 0; i < 6; ++i)
        FillIn().Click({6000, 6000});
    EXPECT_EQ(ctx.Card.Page().Field(ColourDot, 0).a[3], 0);
    window->Session().Changed().SetChangedState(ChangedState::CardSavedCode);

    FillIn().Click({7100, 7100});
    QListWidget* list = FillIn().optionList();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Escape); // closed without a choice
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(Changed());
    FillIn().Click({7100, 7100});
    list->setCurrentRow(3);
    emit list->itemClicked(list->currentItem());
    EXPECT_EQ(ctx.Card.Page().Field(OptionField, 0).a[4], 3);
    EXPECT_TRUE(Changed());
}

TEST_F(FillInTest, TypingIntoAnOptionListChoosesTheMatchingChoice) {
    FillIn().Click({7100, 7100});
    QListWidget* list = FillIn().optionList();
    ASSERT_TRUE(list->isVisible());
    EXPECT_FALSE(list->toolTip().isEmpty());
    QTest::keyClick(list, Qt::Key_B);
    EXPECT_EQ(ctx.Card.Page().Field(OptionField, 0).a[4], 3);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(Changed());
    // A letter that is no choice is refused aloud and leaves the list open.
    FillIn().Click({7100, 7100});
    const int beeps = prompter.BeepCount();
    QTest::keyClick(list, Qt::Key_T);
    EXPECT_EQ(prompter.BeepCount(), beeps + 1);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(ctx.Card.Page().Field(OptionField, 0).a[4], 3);
    QTest::keyClicks(list, "s");
    EXPECT_EQ(ctx.Card.Page().Field(OptionField, 0).a[4], 2);
    FillIn().Click({7100, 7100});
    QTest::keyClick(list, Qt::Key_U);
    EXPECT_EQ(ctx.Card.Page().Field(OptionField, 0).a[4], 0);
    // One step each, undone in turn.
    window->UndoStep(false);
    EXPECT_EQ(ctx.Card.Page().Field(OptionField, 0).a[4], 2);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(FillInTest, AMouseClickOnATickBoxRedrawsItOnThePicture) {
    QPointF at = window->cardPicture()->ToPixels({103, 103});
    QImage before = window->cardPicture()->Image().copy();
    QTest::mouseClick(window->cardPicture(), Qt::LeftButton, {}, at.toPoint());
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 0).a[4], 1);
    EXPECT_NE(window->cardPicture()->Image(), before);
}

TEST_F(FillInTest, F4AndZoomingReopenOnlyAnEditorThatWasOpen) {
    CardPicture* picture = window->cardPicture();
    FillIn().Click({1100, 2100});
    QWidget* editor = FillIn().OpenEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_F4);
    EXPECT_EQ(Session().CurrentField, 2);
    ASSERT_EQ(FillIn().OpenEditor(), editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->hasFocus());

    // A zoom step keeps what was typed and puts the editor over its field at the new size.
    Type("x");
    const int widthBefore = editor->width();
    window->ZoomStep(true);
    ASSERT_EQ(FillIn().OpenEditor(), editor);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(Text(2).text, "#<Arial>#abcx");
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor)->text(), "abcx");
    QPointF corner = picture->ToPixels({1000, 2000});
    EXPECT_EQ(editor->pos(), QPoint(int(std::lround(corner.x())), int(std::lround(corner.y()))));
    EXPECT_GT(editor->width(), widthBefore);

    // After a check box or a dot is clicked no editor is open, and neither F4 nor a zoom step
    // opens one.
    for (QPoint mark : {QPoint(107, 107), QPoint(6000, 6000)}) {
        FillIn().Click(mark);
        EXPECT_EQ(FillIn().OpenEditor(), nullptr);
        EXPECT_EQ(Session().CurrentField, FillInSession::NoField);
        prompter.QueueAnswer(Answer::Cancel); // the card has changed: F4 asks first
        QTest::keyClick(picture, Qt::Key_F4);
        EXPECT_EQ(FillIn().OpenEditor(), nullptr);
        window->ZoomStep(false);
        EXPECT_EQ(FillIn().OpenEditor(), nullptr);
        EXPECT_FALSE(editor->isVisible());
    }
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 0).a[4], 1);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(FillInTest, EachColourDotClickPaintsItsFill) {
    CardPicture* picture = window->cardPicture();
    const QPoint centre = picture->ToPixels({6000, 6000}).toPoint();
    auto fill = [&] {
        return picture->Image().pixel(centre);
    };
    EXPECT_EQ(fill(), qRgb(255, 255, 255));
    const QRgb kSteps[] = {qRgb(0, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 0, 0),
                           qRgb(255, 255, 0), qRgb(0x80, 0x40, 0), qRgb(255, 255, 255)};
    for (QRgb expected : kSteps) {
        FillIn().Click({6000, 6000});
        EXPECT_EQ(fill(), expected) << "state " << ctx.Card.Page().Field(ColourDot, 0).a[3];
    }
    // The marked pair: white, then red.
    ctx.Card.Rewrite([](CardPage& page) { page.Field(ColourDot, 0).a[3] = 17; });
    FillIn().Click({6000, 6000});
    EXPECT_EQ(fill(), qRgb(255, 255, 255));
    FillIn().Click({6000, 6000});
    EXPECT_EQ(fill(), qRgb(255, 0, 0));
}

TEST_F(FillInTest, WheelScrollsTheCardAndCtrlWheelZooms) {
    CardFace* face = window->cardFace();
    auto wheel = [&](QPoint angle, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = window->cardPicture();
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), angle,
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
        EXPECT_TRUE(event.isAccepted());
    };
    // Three notches away from the user zoom in three steps, as the zoom buttons do; the open
    // editor follows the zoom.
    const float scale = ctx.View.ViewScale();
    wheel({0, 360}, Qt::ControlModifier);
    EXPECT_NEAR(ctx.View.ViewScale(), scale + 0.6f, 1e-4);
    EXPECT_EQ(window->findChild<QLabel*>("zoomFactorLabel")->text(), "3");
    EXPECT_NE(FillIn().OpenEditor(), nullptr);
    // Half a notch of a fine wheel is kept until the other half comes.
    wheel({0, -60}, Qt::ControlModifier);
    EXPECT_NEAR(ctx.View.ViewScale(), scale + 0.6f, 1e-4);
    wheel({0, -60}, Qt::ControlModifier);
    EXPECT_NEAR(ctx.View.ViewScale(), scale + 0.4f, 1e-4);

    QScrollBar* down = face->verticalScrollBar();
    QScrollBar* across = face->horizontalScrollBar();
    ASSERT_GT(down->maximum(), 0);
    ASSERT_GT(across->maximum(), 0);
    const int notch = QApplication::wheelScrollLines() * down->singleStep();
    wheel({0, -120});
    EXPECT_EQ(down->value(), std::min(notch, down->maximum()));
    EXPECT_EQ(across->value(), 0);
    wheel({0, 120});
    EXPECT_EQ(down->value(), 0);
    wheel({0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(across->value(), std::min(notch, across->maximum()));
    EXPECT_EQ(down->value(), 0);
    EXPECT_TRUE(errors.shown.empty());
}

// The whole round: the shipped sample card is filled in, saved with F3 and read again.
using FillInEndToEnd = MainWindowFixture;

TEST_F(FillInEndToEnd, ChangesReachTheFileAndNothingElseChanges) {
    fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
    ShowWindow();
    MainWindow& window = *this->window;
    int row = -1;
    for (int i = 0; i < window.cardList()->count(); ++i)
        if (window.cardList()->item(i)->text().startsWith("TESTCRD", Qt::CaseInsensitive))
            row = i;
    ASSERT_GE(row, 0);
    ASSERT_TRUE(window.Session().Library().OpenCard(row));
    window.ShowCardFace();
    ASSERT_TRUE(window.CardFaceShown());
    // The back page: it holds text fields, check boxes and the leads grid's circled items.
    window.sideButton(1)->click();
    ASSERT_TRUE(ctx.Card.BackSide());
    fs::path file = ctx.Card.Location().PagePath();
    CardPage original = ctx.Card.Page();

    auto centre = [](const CardField& f) {
        return QPoint(f.a[0] + f.a[2] / 2, f.a[1] + 50);
    };
    int box = -1;
    for (int i = 0; i < ctx.Card.Page().Count(CheckBox) && box < 0; ++i)
        if (ctx.Card.Page().Field(CheckBox, i).a[4] == 0)
            box = i;
    ASSERT_GE(box, 0);
    ASSERT_GT(ctx.Card.Page().Count(CircledItem), 0);
    const CardField& check = ctx.Card.Page().Field(CheckBox, box);
    const CardField& item = ctx.Card.Page().Field(CircledItem, 0);
    int textIndex = 5;
    window.FillIn().Click(centre(ctx.Card.Page().Field(TextField, textIndex)));
    ASSERT_EQ(window.FillIn().Session().CurrentField, textIndex);
    auto* editor = qobject_cast<QLineEdit*>(window.FillIn().OpenEditor());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Hello");
    window.FillIn().Click(QPoint(check.a[0] + 2, check.a[1] + 2));
    window.FillIn().Click(QPoint(item.a[0] + 10, item.a[1] + 10));
    QTest::keyClick(&window, Qt::Key_F3);
    EXPECT_FALSE(window.Session().Changed().CardChanged());
    EXPECT_TRUE(errors.shown.empty());

    CardPage reread;
    CardFile::LoadCard(reread, ctx.Card.Location(), {});
    EXPECT_EQ(reread.Field(TextField, textIndex).text, "Hello");
    EXPECT_EQ(reread.Field(CheckBox, box).a[4], 1);
    EXPECT_EQ(reread.Field(CircledItem, 0).a[3], (original.Field(CircledItem, 0).a[3] + 1) % 4);
    // Everything else is as it was.
    reread.Field(TextField, textIndex) = original.Field(TextField, textIndex);
    reread.Field(CheckBox, box) = original.Field(CheckBox, box);
    reread.Field(CircledItem, 0) = original.Field(CircledItem, 0);
    for (int kind = 0; kind < CardPage::KindSlots; ++kind)
        EXPECT_EQ(reread.Fields(kind), original.Fields(kind)) << "kind " << kind;
    EXPECT_EQ(reread.CardHeader, original.CardHeader);
}
