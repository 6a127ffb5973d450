#include "MainWindow.h"

#include "AppContext.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "FormatChooser.h"
#include "MainWindowFixture.h"
#include "NameDialog.h"
#include "ReferenceTextWindow.h"
#include "TransferFolderPicker.h"

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
    QListWidget* cardList() const { return window->cardList(); }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void ClickEntry(int row, bool twice = false) {
        QRect box = cardList()->visualItemRect(cardList()->item(row));
        QTest::mouseClick(cardList()->viewport(), Qt::LeftButton, {}, box.center());
        if (twice)
            QTest::mouseDClick(cardList()->viewport(), Qt::LeftButton, {}, box.center());
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void CreateCard(const QString& name) {
        Click(window->commandButton(0));
        NameDialog* dialog = window->nameDialog();
        ASSERT_TRUE(dialog->isVisible());
        dialog->nameEdit(0)->setText(name);
        dialog->nameEdit(1)->setText("Me");
        Click(dialog->dialogButton(0));
    }
    QStringList ListTexts() const {
        QStringList texts;
        for (int i = 0; i < cardList()->count(); ++i)
            texts << cardList()->item(i)->text();
        return texts;
    }
    QString Status() const { return window->findChild<QLabel*>("cardStatusLabel")->text(); }
};

} // namespace

TEST_F(MainWindowTest, StartsOnTheStartFaceWithNoCardOpen) {
    EXPECT_FALSE(window->CardFaceShown());
    EXPECT_EQ(window->windowTitle(), "Cardwright - Version 6.3.19");
    EXPECT_EQ(Status(), "No card is opened.");
    EXPECT_EQ(window->findChild<QLabel*>("formatNameLabel")->text(), "Test Card");
    EXPECT_TRUE(window->sideButton(0)->isChecked());
    EXPECT_TRUE(window->sideButton(1)->isEnabled());
    EXPECT_FALSE(window->commandButton(4)->isEnabled()); // nothing to save
    EXPECT_FALSE(window->commandButton(5)->isEnabled()); // no card to view
    EXPECT_TRUE(window->commandButton(2)->isVisible());
    EXPECT_FALSE(window->commandButton(2)->isEnabled()); // no card to save as a picture
    EXPECT_EQ(window->commandButton(6)->text(), "Select Card Format (F2)");
    EXPECT_EQ(window->commandButton(4)->text(), "Save Changes (F3)");
    EXPECT_TRUE(fs::is_directory(dir / "CLUB"));
}

TEST_F(MainWindowTest, CreatedCardIsListedOnceAndShownOnTheCardFace) {
    CreateCard("  ab #1 ");
    EXPECT_FALSE(window->nameDialog()->isVisible());
    EXPECT_EQ(ListTexts(), QStringList{"ab #1"}); // as typed
    EXPECT_TRUE(fs::exists(Cards("ab #1.tst")));
    EXPECT_TRUE(fs::exists(Cards("ab #1_.tst")));
    EXPECT_TRUE(window->CardFaceShown());
    EXPECT_EQ(window->windowTitle(), u"ab #1[*] – Test Card – Cardwright"_qs);
    EXPECT_EQ(ReadLines(Cards("ab #1.tst"))[4], "Me");
    EXPECT_TRUE(window->cardPicture()->isVisible());
}

TEST_F(MainWindowTest, CardNamesWithNonAsciiLettersShowAsTheUserNamedThem) {
    WriteLines(Cards("caf\xC3\xA9.tst"), HeaderBlock("", {}));
    WriteLines(Cards("\xE9t\xE9.tst"), HeaderBlock("", {})); // windows-1252, from Windows
    window->Session().Library().FillCardList();
    EXPECT_EQ(ListTexts(), (QStringList{u"café"_qs, u"été"_qs}));
    ClickEntry(1);
    EXPECT_EQ(Status(), u"ÉTÉ card loaded."_qs);
    ClickEntry(0, true);
    EXPECT_EQ(window->windowTitle(), u"café[*] – Test Card – Cardwright"_qs);
}

TEST_F(MainWindowTest, NameDialogRefusesBlankAndIllegalNamesAndStaysOpen) {
    CreateCard("   ");
    EXPECT_EQ(prompter.MessageTexts().back(), "File name can not be blank.");
    EXPECT_TRUE(window->nameDialog()->isVisible());
    window->nameDialog()->nameEdit(0)->setText("a.b");
    Click(window->nameDialog()->dialogButton(0));
    EXPECT_EQ(prompter.MessageTexts().back().rfind("Illegal character in file name.", 0), 0u);
    EXPECT_TRUE(window->nameDialog()->isVisible());
    EXPECT_EQ(cardList()->count(), 0);

    // Enter walks the entries and wraps from the last to the first.
    NameDialog* dialog = window->nameDialog();
    dialog->nameEdit(4)->setFocus();
    QTest::keyClick(dialog->nameEdit(4), Qt::Key_Return);
    EXPECT_EQ(dialog->focusWidget(), dialog->nameEdit(0));
    EXPECT_EQ(dialog->nameEdit(4)->text(), "");

    Click(dialog->dialogButton(1));
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
    EXPECT_TRUE(window->commandButton(5)->isEnabled());
    EXPECT_TRUE(window->commandButton(1)->isEnabled());
    ClickEntry(0, true);
    EXPECT_TRUE(window->CardFaceShown());

    // Enter in the list opens the current entry and shows it.
    window->close();
    window->Session().Library().MarkCardClosed();
    cardList()->setCurrentRow(0);
    QTest::keyClick(cardList(), Qt::Key_Return);
    EXPECT_TRUE(window->Session().Changed().CardOpen());
    EXPECT_TRUE(window->CardFaceShown());
}

TEST_F(MainWindowTest, CancelToTheSaveQuestionKeepsTheProgramAndTheCard) {
    CreateCard("one");
    std::string saved = ReadFile(Cards("one.tst"));
    ctx.Card.Rewrite([](CardPage& page) { page.Field(TextField, 0).text = "Edited"; });
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    EXPECT_TRUE(window->commandButton(4)->isEnabled());

    window->close();
    EXPECT_FALSE(window->CardFaceShown());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompter.MessageTexts().empty()); // leaving the card face asks nothing

    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompter.MessageTexts().back(), "Do you want to save changes to one");
    EXPECT_EQ(ctx.Card.Page().Field(TextField, 0).text, "Edited");
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
    Click(window->commandButton(3));
    EXPECT_EQ(window->findChild<QLabel*>("selectionPromptLabel")->text(), "Select file to delete.");
    EXPECT_TRUE(window->findChild<QPushButton*>("cancelSelectionButton")->isVisible());
    prompter.QueueAnswer(Answer::Yes);
    ClickEntry(0);
    EXPECT_EQ(cardList()->count(), 0);
    EXPECT_FALSE(fs::exists(Cards("one.tst")));
    EXPECT_FALSE(window->Session().Changed().CardOpen());
    EXPECT_FALSE(window->commandButton(5)->isEnabled());
    EXPECT_FALSE(window->commandButton(1)->isEnabled());
    EXPECT_EQ(Status(), ""); // the card is gone, not merely closed
    EXPECT_FALSE(window->findChild<QPushButton*>("cancelSelectionButton")->isVisible());
}

TEST_F(MainWindowTest, CopyingOntoItselfAsksForAnotherName) {
    CreateCard("one");
    window->close();
    window->findChild<QAction*>("copyCardAction")->trigger();
    EXPECT_EQ(window->findChild<QLabel*>("selectionPromptLabel")->text(), "Select file to copy.");
    prompter.QueueInput("one");
    prompter.QueueInput("two");
    ClickEntry(0);
    auto texts = prompter.MessageTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "You can not copy a file to itself."),
              texts.end());
    EXPECT_EQ(ListTexts(), (QStringList{"one", "two"}));
    EXPECT_TRUE(fs::exists(Cards("two_.tst")));
}

TEST_F(MainWindowTest, SideButtonsReopenTheCardOnTheOtherPage) {
    CreateCard("one");
    auto back = ReadLines(Cards("one_.tst"));
    back[1] = "back page";
    WriteLines(Cards("one_.tst"), back);
    Click(window->sideButton(1));
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "ONE_");
    EXPECT_EQ(ctx.Card.Page().CardHeader[0], "back page");
    EXPECT_TRUE(window->CardFaceShown());

    // With unsaved changes, Cancel keeps the page and the side.
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueAnswer(Answer::Cancel);
    Click(window->sideButton(0));
    EXPECT_TRUE(window->sideButton(1)->isChecked());
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "ONE_");
}

TEST_F(MainWindowTest, ZoomStopsAtItsLimitWithTheMessage) {
    CreateCard("one");
    ASSERT_TRUE(window->CardFaceShown());
    ctx.View.SetUserScale(2.4f);
    QToolButton* zoomIn = window->findChild<QToolButton*>("ZoomIn");
    ASSERT_NE(zoomIn, nullptr);
    int widthBefore = window->cardPicture()->width();
    Click(zoomIn);
    EXPECT_NEAR(ctx.View.ViewScale(), 2.6f, 1e-4);
    EXPECT_EQ(window->findChild<QLabel*>("zoomFactorLabel")->text(), "1");
    EXPECT_GT(window->cardPicture()->width(), widthBefore);
    EXPECT_TRUE(prompter.MessageTexts().empty());
    Click(zoomIn);
    EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{"Can not zoom in any farther."});
    EXPECT_NEAR(ctx.View.ViewScale(), 2.6f, 1e-4);

    // Zooming survives a trip to the card list and back only until the window is left.
    Click(window->findChild<QToolButton*>("ZoomOut"));
    EXPECT_NEAR(ctx.View.ViewScale(), 2.4f, 1e-4);
    EXPECT_EQ(window->findChild<QLabel*>("zoomFactorLabel")->text(), "0");
}

TEST_F(MainWindowTest, SavedZoomFactorStartsTheFormatThere) {
    CreateCard("one");
    Click(window->findChild<QToolButton*>("ZoomIn"));
    Click(window->findChild<QToolButton*>("ZoomIn"));
    Click(window->findChild<QPushButton*>("saveZoomButton"));
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
    QScrollBar* v = window->cardFace()->verticalScrollBar();
    QScrollBar* h = window->cardFace()->horizontalScrollBar();
    ASSERT_GT(v->maximum(), 0);
    ASSERT_GT(h->maximum(), 0);
    EXPECT_EQ(v->pageStep(), int(ctx.View.ZoomedHeight() / 4));
    EXPECT_EQ(v->singleStep(), 200);
    QTest::keyClick(window->cardPicture(), Qt::Key_PageDown);
    EXPECT_EQ(v->value(), std::min(v->maximum(), v->pageStep()));
    QTest::keyClick(window->cardPicture(), Qt::Key_PageUp);
    QTest::keyClick(window->cardPicture(), Qt::Key_PageUp);
    EXPECT_EQ(v->value(), 0);
    int top = window->cardPicture()->y();
    QTest::keyClick(window.get(), Qt::Key_F12, Qt::ShiftModifier);
    EXPECT_GT(v->value(), 0);
    EXPECT_LT(window->cardPicture()->y(), top);
    QTest::keyClick(window.get(), Qt::Key_F12);
    EXPECT_EQ(h->value(), std::min(h->maximum(), h->pageStep()));
    QTest::keyClick(window.get(), Qt::Key_F11);
    EXPECT_EQ(h->value(), 0);
}

TEST_F(MainWindowTest, SampleCardAloneMakesTheCreateButtonBlink) {
    WriteLines(Cards("testcrd.tst"), HeaderBlock("", {}));
    window->Session().Library().FillCardList();
    QTimer* blinkTimer = window->findChild<QTimer*>("blinkTimer");
    ASSERT_NE(blinkTimer, nullptr);
    EXPECT_TRUE(blinkTimer->isActive());
    EXPECT_TRUE(window->findChild<QLabel*>("FirstCardHint")->isVisible());
    bool before = window->commandButton(0)->isVisible();
    QTest::qWait(blinkTimer->interval() + blinkTimer->interval() / 2);
    EXPECT_NE(window->commandButton(0)->isVisible(), before);

    CreateCard("mine");
    EXPECT_FALSE(blinkTimer->isActive());
    EXPECT_FALSE(window->commandButton(0)->isHidden());
    EXPECT_TRUE(window->findChild<QLabel*>("FirstCardHint")->isHidden());
}

TEST_F(MainWindowTest, EditNamesShowsTheCardsEntriesWithItsNameFixed) {
    CreateCard("one");
    window->close();
    Click(window->commandButton(1));
    NameDialog* dialog = window->nameDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->nameEdit(0)->text(), "one");
    EXPECT_TRUE(dialog->nameEdit(0)->isReadOnly());
    EXPECT_EQ(dialog->nameEdit(1)->text(), "Me");
    dialog->nameEdit(3)->setText(QString::fromUtf8("Zoë"));
    Click(dialog->dialogButton(0));
    EXPECT_FALSE(dialog->isVisible());
    // Entries are written in the card code page.
    EXPECT_EQ(ReadLines(Cards("one.tst"))[1], "Zo\xeb");
    EXPECT_EQ(ListTexts(), QStringList{"one"});
}

TEST_F(MainWindowTest, SpecialNoticeOfTheFormatIsOfferedAndShown) {
    EXPECT_TRUE(window->findChild<QLabel*>("specialNoticeLabel")->isHidden());
    WriteLines(dir / "CLUB" / "special.txt", {"Club night moves to Tuesday."});
    ASSERT_TRUE(window->Session().ChooseFormat(1));
    QLabel* noticeLabel = window->findChild<QLabel*>("specialNoticeLabel");
    EXPECT_FALSE(noticeLabel->isHidden());
    EXPECT_TRUE(fs::exists(dir / "data" / "special.txt"));
    emit noticeLabel->linkActivated("notice");
    ReferenceTextWindow* notice = window->referenceTextWindow();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->windowTitle(), "Special Notices");
    ASSERT_EQ(notice->Text().LineCount(), 1);
    EXPECT_EQ(notice->Text().ShownLine(0), "Club night moves to Tuesday.");
    ASSERT_TRUE(window->Session().ChooseFormat(0));
    EXPECT_TRUE(noticeLabel->isHidden());
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

// A card file opened by its path (`cardwright FILE`, a double click in the file manager).
TEST_F(MainWindowTest, ACardFileOpensByItsPathFromInsideOrOutsideTheDataRoot) {
    CreateCard("one");
    window->close();
    window->Session().Library().MarkCardClosed();
    // Another format is current: the file's own format is chosen for it.
    ASSERT_TRUE(window->Session().ChooseFormat(1));
    ASSERT_TRUE(window->OpenCardFile(Cards("one.tst")));
    EXPECT_TRUE(window->CardFaceShown());
    EXPECT_EQ(ctx.Format.Current(), 0);
    EXPECT_TRUE(EqualsIgnoreCase(ctx.Card.Location().CurrentCardName, "one"));

    // From outside the data root: copied in only when the user agrees, with its back page.
    TempDir elsewhere;
    WriteFile(elsewhere / "two.tst", ReadFile(Cards("one.tst")));
    WriteFile(elsewhere / "two_.tst", ReadFile(Cards("one_.tst")));
    prompter.QueueChoice(std::nullopt);
    EXPECT_FALSE(window->OpenCardFile(elsewhere / "two_.tst"));
    EXPECT_FALSE(fs::exists(Cards("two.tst")));
    prompter.QueueChoice(size_t(0));
    ASSERT_TRUE(window->OpenCardFile(elsewhere / "two_.tst"));
    EXPECT_EQ(ReadFile(Cards("two.tst")), ReadFile(elsewhere / "two.tst"));
    EXPECT_EQ(ReadFile(Cards("two_.tst")), ReadFile(elsewhere / "two_.tst"));
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_TRUE(EqualsIgnoreCase(ctx.Card.Location().CurrentCardName, "two_"));

    // Another card under a name already taken is never copied over it.
    const std::string ours = ReadFile(Cards("two.tst"));
    WriteFile(elsewhere / "two.tst", ours + "2,1,1,1,1,1,\"other\",0\r\n");
    prompter.QueueChoice(size_t(0));
    EXPECT_FALSE(window->OpenCardFile(elsewhere / "two.tst"));
    EXPECT_EQ(ReadFile(Cards("two.tst")), ours);
    EXPECT_NE(prompter.MessageTexts().back().find("already hold a card named two"),
              std::string::npos);

    // Opened where it is: saved there, nothing copied in; choosing the format again goes back
    // to the data root's cards.
    TempDir away;
    WriteFile(away / "three.tst", ReadFile(Cards("one.tst")));
    prompter.QueueChoice(size_t(1));
    ASSERT_TRUE(window->OpenCardFile(away / "three.tst"));
    EXPECT_EQ(ctx.Card.Location().CardDir, away.Path());
    EXPECT_FALSE(fs::exists(Cards("three.tst")));
    ctx.Card.Rewrite([](CardPage& page) { page.CardHeader[0] = "Changed - Here"; });
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    ASSERT_TRUE(window->Session().Changed().SaveCard());
    EXPECT_NE(ReadFile(away / "three.tst").find("Changed - Here"), std::string::npos);
    EXPECT_FALSE(fs::exists(Cards("three.tst")));
    ASSERT_TRUE(window->Session().ChooseFormat(ctx.Format.Current()));
    EXPECT_EQ(ctx.Card.Location().CardDir, Cards("one.tst").parent_path());
    ASSERT_TRUE(window->OpenCardFile(Cards("one.tst")));

    // A file no format takes, and a file that is not there.
    WriteFile(elsewhere / "notes.txt", "text");
    EXPECT_FALSE(window->OpenCardFile(elsewhere / "notes.txt"));
    EXPECT_NE(prompter.MessageTexts().back().find("not a card file"), std::string::npos);
    EXPECT_FALSE(window->OpenCardFile(elsewhere / "gone.tst"));
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
}
