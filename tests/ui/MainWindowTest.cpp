#include "ACBLfrm.h"
#include "AppContext.h"
#include "CardPicture.h"
#include "CardView.h"
#include "MainWindowFixture.h"
#include "NameDialog.h"
#include "TransferFolderPicker.h"
#include "frmCardsList.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}, OnePageFormat()});
        ShowWindow();
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }

    fs::path Cards(const std::string& file) const { return dir / "TEST" / file; }
    QListWidget* List1() const { return window->List1(); }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void ClickEntry(int row, bool twice = false) {
        QRect box = List1()->visualItemRect(List1()->item(row));
        QTest::mouseClick(List1()->viewport(), Qt::LeftButton, {}, box.center());
        if (twice)
            QTest::mouseDClick(List1()->viewport(), Qt::LeftButton, {}, box.center());
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void CreateCard(const QString& name) {
        Click(window->Command4(0));
        NameDialog* dialog = window->NewFrame();
        ASSERT_TRUE(dialog->isVisible());
        dialog->NewText(0)->setText(name);
        dialog->NewText(1)->setText("Me");
        Click(dialog->NewDone(0));
    }
    QStringList ListTexts() const {
        QStringList texts;
        for (int i = 0; i < List1()->count(); ++i)
            texts << List1()->item(i)->text();
        return texts;
    }
    QString Status() const { return window->findChild<QLabel*>("Label3")->text(); }
};

} // namespace

TEST_F(MainWindowTest, StartsOnTheStartFaceWithNoCardOpen) {
    EXPECT_FALSE(window->CardFaceShown());
    EXPECT_EQ(window->windowTitle(), "Cardwright - Version 6.3.19");
    EXPECT_EQ(Status(), "No card is opened.");
    EXPECT_EQ(window->findChild<QLabel*>("FormatLabel")->text(), "Test Card");
    EXPECT_TRUE(window->FrontBackOption(0)->isChecked());
    EXPECT_TRUE(window->FrontBackOption(1)->isEnabled());
    EXPECT_FALSE(window->Command4(4)->isEnabled()); // nothing to save
    EXPECT_FALSE(window->Command4(5)->isEnabled()); // no card to view
    EXPECT_FALSE(window->Command4(2)->isVisible()); // export comes later
    EXPECT_EQ(window->Command4(6)->text(), "Select Card Format (F2)");
    EXPECT_EQ(window->Command4(4)->text(), "Save Changes (F3)");
    EXPECT_TRUE(fs::is_directory(dir / "CLUB"));
}

TEST_F(MainWindowTest, CreatedCardIsListedOnceAndShownOnTheCardFace) {
    CreateCard("  ab #1 ");
    EXPECT_FALSE(window->NewFrame()->isVisible());
    EXPECT_EQ(ListTexts(), QStringList{"AB #1.TST"});
    EXPECT_TRUE(fs::exists(Cards("ab #1.tst")));
    EXPECT_TRUE(fs::exists(Cards("ab #1_.tst")));
    EXPECT_TRUE(window->CardFaceShown());
    EXPECT_EQ(window->windowTitle(), "Editing Card: ab #1    RIGHT CLICK FOR EDIT OPTIONS");
    EXPECT_EQ(ReadLines(Cards("ab #1.tst"))[4], "Me");
    EXPECT_TRUE(window->pic1()->isVisible());
}

TEST_F(MainWindowTest, NameDialogRefusesBlankAndIllegalNamesAndStaysOpen) {
    CreateCard("   ");
    EXPECT_EQ(prompter.MessageTexts().back(), "File name can not be blank.");
    EXPECT_TRUE(window->NewFrame()->isVisible());
    window->NewFrame()->NewText(0)->setText("a.b");
    Click(window->NewFrame()->NewDone(0));
    EXPECT_EQ(prompter.MessageTexts().back().rfind("Illegal character in file name.", 0), 0u);
    EXPECT_TRUE(window->NewFrame()->isVisible());
    EXPECT_EQ(List1()->count(), 0);

    // Enter walks the entries and wraps from the last to the first.
    NameDialog* dialog = window->NewFrame();
    dialog->NewText(4)->setFocus();
    QTest::keyClick(dialog->NewText(4), Qt::Key_Return);
    EXPECT_EQ(dialog->focusWidget(), dialog->NewText(0));
    EXPECT_EQ(dialog->NewText(4)->text(), "");

    Click(dialog->NewDone(1));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(window->CardFaceShown());
}

TEST_F(MainWindowTest, ClickOpensACardAndDoubleClickShowsIt) {
    CreateCard("one");
    window->close(); // from the card face: back to the start face
    EXPECT_FALSE(window->CardFaceShown());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Cardwright - Version 6.3.19");

    window->Session().Library().MarkCardClosed();
    ClickEntry(0);
    EXPECT_EQ(Status(), "ONE card loaded.");
    EXPECT_TRUE(window->Command4(5)->isEnabled());
    EXPECT_TRUE(window->Command4(1)->isEnabled());
    ClickEntry(0, true);
    EXPECT_TRUE(window->CardFaceShown());

    // Enter in the list opens the current entry and shows it.
    window->close();
    window->Session().Library().MarkCardClosed();
    List1()->setCurrentRow(0);
    QTest::keyClick(List1(), Qt::Key_Return);
    EXPECT_TRUE(window->Session().Changed().CardOpen());
    EXPECT_TRUE(window->CardFaceShown());
}

TEST_F(MainWindowTest, CancelToTheSaveQuestionKeepsTheProgramAndTheCard) {
    CreateCard("one");
    std::string saved = ReadFile(Cards("one.tst"));
    ctx.Page.Field(TextField, 0).text = "Edited";
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    EXPECT_TRUE(window->Command4(4)->isEnabled());

    window->close();
    EXPECT_FALSE(window->CardFaceShown());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompter.MessageTexts().empty()); // leaving the card face asks nothing

    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompter.MessageTexts().back(), "Do you want to save changes to one");
    EXPECT_EQ(ctx.Page.Field(TextField, 0).text, "Edited");
    EXPECT_TRUE(window->Session().Changed().CardChanged());
    EXPECT_EQ(ReadFile(Cards("one.tst")), saved);
    EXPECT_TRUE(fs::is_directory(dir / "CLUB"));

    prompter.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_NE(ReadFile(Cards("one.tst")).find("\"Edited\""), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "CLUB")); // empty card folder removed at exit
}

TEST_F(MainWindowTest, SaveChangesWithoutACardSaysSoAndWritesNothing) {
    CreateCard("one");
    window->close();
    window->Session().Library().MarkCardClosed();
    std::string bytes = ReadFile(Cards("one.tst"));
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(prompter.MessageTexts().back(), "No card is opened.");
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(prompter.MessageTexts().size(), 2u);
    EXPECT_EQ(prompter.BeepCount(), 2);
    EXPECT_EQ(ReadFile(Cards("one.tst")), bytes);
    EXPECT_FALSE(fs::exists(Cards("temp")));
}

TEST_F(MainWindowTest, DeletingTheOpenCardLeavesNoCardOpen) {
    CreateCard("one");
    window->close();
    Click(window->Command4(3));
    EXPECT_EQ(window->findChild<QLabel*>("FileLabel")->text(), "Select file to delete.");
    EXPECT_TRUE(window->findChild<QPushButton*>("CancelBttn")->isVisible());
    prompter.QueueAnswer(Answer::Yes);
    ClickEntry(0);
    EXPECT_EQ(List1()->count(), 0);
    EXPECT_FALSE(fs::exists(Cards("one.tst")));
    EXPECT_FALSE(window->Session().Changed().CardOpen());
    EXPECT_FALSE(window->Command4(5)->isEnabled());
    EXPECT_FALSE(window->Command4(1)->isEnabled());
    EXPECT_EQ(Status(), "No card is opened.");
    EXPECT_FALSE(window->findChild<QPushButton*>("CancelBttn")->isVisible());
}

TEST_F(MainWindowTest, CopyingOntoItselfAsksForAnotherName) {
    CreateCard("one");
    window->close();
    window->findChild<QAction*>("mnuCopyCard")->trigger();
    EXPECT_EQ(window->findChild<QLabel*>("FileLabel")->text(), "Select file to copy.");
    prompter.QueueInput("one");
    prompter.QueueInput("two");
    ClickEntry(0);
    auto texts = prompter.MessageTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "You can not copy a file to itself."),
              texts.end());
    EXPECT_EQ(ListTexts(), (QStringList{"ONE.TST", "TWO.TST"}));
    EXPECT_TRUE(fs::exists(Cards("two_.tst")));
}

TEST_F(MainWindowTest, SideButtonsReopenTheCardOnTheOtherPage) {
    CreateCard("one");
    auto back = ReadLines(Cards("one_.tst"));
    back[1] = "back page";
    WriteLines(Cards("one_.tst"), back);
    Click(window->FrontBackOption(1));
    EXPECT_TRUE(ctx.BackSideSelected);
    EXPECT_EQ(ctx.Location.CurrentCardName, "ONE_");
    EXPECT_EQ(ctx.Page.CardHeader[0], "back page");
    EXPECT_TRUE(window->CardFaceShown());

    // With unsaved changes, Cancel keeps the page and the side.
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueAnswer(Answer::Cancel);
    Click(window->FrontBackOption(0));
    EXPECT_TRUE(window->FrontBackOption(1)->isChecked());
    EXPECT_EQ(ctx.Location.CurrentCardName, "ONE_");
}

TEST_F(MainWindowTest, ZoomStopsAtItsLimitWithTheMessage) {
    CreateCard("one");
    ASSERT_TRUE(window->CardFaceShown());
    ctx.View.ViewScale = 2.4f;
    QToolButton* zoomIn = window->findChild<QToolButton*>("ZoomIn");
    ASSERT_NE(zoomIn, nullptr);
    int widthBefore = window->pic1()->width();
    Click(zoomIn);
    EXPECT_NEAR(ctx.View.ViewScale, 2.6f, 1e-4);
    EXPECT_EQ(window->findChild<QLabel*>("Label4")->text(), "1");
    EXPECT_GT(window->pic1()->width(), widthBefore);
    EXPECT_TRUE(prompter.MessageTexts().empty());
    Click(zoomIn);
    EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{"Can not zoom in any farther."});
    EXPECT_NEAR(ctx.View.ViewScale, 2.6f, 1e-4);

    // Zooming survives a trip to the card list and back only until the window is left.
    Click(window->findChild<QToolButton*>("ZoomOut"));
    EXPECT_NEAR(ctx.View.ViewScale, 2.4f, 1e-4);
    EXPECT_EQ(window->findChild<QLabel*>("Label4")->text(), "0");
}

TEST_F(MainWindowTest, SavedZoomFactorStartsTheFormatThere) {
    CreateCard("one");
    Click(window->findChild<QToolButton*>("ZoomIn"));
    Click(window->findChild<QToolButton*>("ZoomIn"));
    Click(window->findChild<QPushButton*>("Command1"));
    auto defaults = ReadLines(dir / "datasys" / "TEST.dat");
    ASSERT_GT(defaults.size(), 10u);
    EXPECT_EQ(defaults[10], "2");
}

TEST_F(MainWindowTest, PageKeysAndFunctionKeysScrollTheCard) {
    CreateCard("one");
    window->resize(400, 300); // smaller than the card
    QApplication::processEvents();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QScrollBar* v = window->CardFace()->VScroll();
    QScrollBar* h = window->CardFace()->HScroll();
    ASSERT_GT(v->maximum(), 0);
    ASSERT_GT(h->maximum(), 0);
    EXPECT_EQ(v->pageStep(), int(ctx.View.PHEIGHT / 4));
    EXPECT_EQ(v->singleStep(), 200);
    QTest::keyClick(window->pic1(), Qt::Key_PageDown);
    EXPECT_EQ(v->value(), std::min(v->maximum(), v->pageStep()));
    QTest::keyClick(window->pic1(), Qt::Key_PageUp);
    QTest::keyClick(window->pic1(), Qt::Key_PageUp);
    EXPECT_EQ(v->value(), 0);
    int top = window->pic1()->y();
    QTest::keyClick(window.get(), Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_GT(v->value(), 0);
    EXPECT_LT(window->pic1()->y(), top);
    QTest::keyClick(window.get(), Qt::Key_F12);
    EXPECT_EQ(h->value(), std::min(h->maximum(), h->pageStep()));
    QTest::keyClick(window.get(), Qt::Key_F11);
    EXPECT_EQ(h->value(), 0);
}

TEST_F(MainWindowTest, SampleCardAloneMakesTheCreateButtonBlink) {
    WriteLines(Cards("testcrd.tst"), HeaderBlock("", {}));
    window->Session().Library().FillCardList();
    QTimer* timer1 = window->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer1, nullptr);
    EXPECT_TRUE(timer1->isActive());
    EXPECT_TRUE(window->findChild<QLabel*>("FirstCardHint")->isVisible());
    bool before = window->Command4(0)->isVisible();
    QTest::qWait(timer1->interval() + timer1->interval() / 2);
    EXPECT_NE(window->Command4(0)->isVisible(), before);

    CreateCard("mine");
    EXPECT_FALSE(timer1->isActive());
    EXPECT_FALSE(window->Command4(0)->isHidden());
    EXPECT_TRUE(window->findChild<QLabel*>("FirstCardHint")->isHidden());
}

TEST_F(MainWindowTest, EditNamesShowsTheCardsEntriesWithItsNameFixed) {
    CreateCard("one");
    window->close();
    Click(window->Command4(1));
    NameDialog* dialog = window->NewFrame();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->NewText(0)->text(), "one");
    EXPECT_TRUE(dialog->NewText(0)->isReadOnly());
    EXPECT_EQ(dialog->NewText(1)->text(), "Me");
    dialog->NewText(3)->setText(QString::fromUtf8("Zoë"));
    Click(dialog->NewDone(0));
    EXPECT_FALSE(dialog->isVisible());
    // Entries are written in the card code page.
    EXPECT_EQ(ReadLines(Cards("one.tst"))[1], "Zo\xeb");
    EXPECT_EQ(ListTexts(), QStringList{"ONE.TST"});
}

TEST_F(MainWindowTest, SpecialNoticeOfTheFormatIsOfferedAndShown) {
    EXPECT_TRUE(window->findChild<QLabel*>("Label6")->isHidden());
    WriteLines(dir / "CLUB" / "special.txt", {"Club night moves to Tuesday."});
    ASSERT_TRUE(window->Session().ChooseFormat(1));
    QLabel* label6 = window->findChild<QLabel*>("Label6");
    EXPECT_FALSE(label6->isHidden());
    EXPECT_TRUE(fs::exists(dir / "data" / "special.txt"));
    emit label6->linkActivated("notice");
    EXPECT_EQ(prompter.MessageTexts().back(), "Club night moves to Tuesday.");
    ASSERT_TRUE(window->Session().ChooseFormat(0));
    EXPECT_TRUE(label6->isHidden());
}

TEST(TransferFolder, FirstRemovableMediumIsTheFirstFolderOfTheFirstRootWithOne) {
    TempDir media;
    fs::create_directories(media / "user");
    fs::create_directories(media / "all" / "STICK");
    fs::create_directories(media / "all" / "CARDS");
    WriteLines(media / "all" / "AAA.txt", {"a file, not a medium"});
    EXPECT_EQ(FirstRemovableMedium({media / "missing", media / "user", media / "all"}),
              media / "all" / "CARDS");
    EXPECT_FALSE(FirstRemovableMedium({media / "user"}));
}
