// Bad input through the windows: each gives one clear message, loses nothing, and leaves
// the program usable.
#include "AppContext.h"
#include "Application.h"
#include "CardOptionsDialog.h"
#include "FilePermissions.h"
#include "MailSettingsDialog.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"
#include "NameDialog.h"
#include "NotesWindow.h"
#include "RenderTestData.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <random>

using namespace cw;
using namespace cw::test;

namespace {

class BadInputTest : public MainWindowFixture {
protected:
    void SetUp() override { MakeDataRoot(dir.Path(), {FormatSpec{}, OnePageFormat()}); }

    fs::path Cards(const std::string& file) const { return dir / "TEST" / file; }
    QListWidget* cardList() const { return window->cardList(); }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void ClickEntry(int row) {
        QRect box = cardList()->visualItemRect(cardList()->item(row));
        QTest::mouseClick(cardList()->viewport(), Qt::LeftButton, {}, box.center());
        QApplication::processEvents();
    }
    // Fills in the name dialog and clicks Done.
    void NameDialogDone(const QString& name) {
        if (!window->nameDialog()->isVisible())
            Click(window->commandButton(0));
        NameDialog* dialog = window->nameDialog();
        EXPECT_TRUE(dialog->isVisible());
        dialog->nameEdit(0)->setText(name);
        dialog->nameEdit(1)->setText("Me");
        Click(dialog->dialogButton(0));
    }
    void ChangeOpenCard(const std::string& text) {
        ctx.Card.Rewrite([&](CardPage& page) { page.Field(TextField, 0).text = text; });
        window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    }
    int Messages() const { return int(prompter.MessageTexts().size()); }
    std::vector<std::string> CardFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir / "TEST"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST_F(BadInputTest, OverLongAndIllegalCardNamesAreRefusedWithTheReason) {
    ShowWindow();
    for (const std::string& name : {std::string(255, 'a'), std::string(300, 'b')}) {
        int before = Messages();
        NameDialogDone(QString::fromStdString(name));
        ASSERT_EQ(Messages(), before + 1) << name.size();
        EXPECT_EQ(prompter.MessageTexts().back(),
                  "A file name can be at most 100 characters long; this one has " +
                      std::to_string(name.size()) + ".");
        EXPECT_TRUE(window->nameDialog()->isVisible()); // the name can be shortened there
    }
    for (const char* name : {"a/b", "..", "a\tb"}) {
        int before = Messages();
        NameDialogDone(name);
        ASSERT_EQ(Messages(), before + 1) << name;
        EXPECT_EQ(prompter.MessageTexts().back().rfind("Illegal character in file name.", 0), 0u);
    }
    EXPECT_TRUE(CardFiles().empty());

    // The longest name there may be makes a card, and so does its copy through the input box;
    // a copy under too long a name is refused the same way.
    NameDialogDone(QString(100, u'c'));
    ASSERT_TRUE(fs::exists(Cards(std::string(100, 'c') + ".tst")));
    window->close();
    window->findChild<QAction*>("copyCardAction")->trigger();
    prompter.QueueInput(std::string(256, 'd'));
    ClickEntry(0);
    EXPECT_EQ(prompter.MessageTexts().back(),
              "A file name can be at most 100 characters long; this one has 256.");
    EXPECT_EQ(CardFiles().size(), 2u);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, ANameInAnotherLetterCaseIsTheSameCardAndReplacingItLeavesOne) {
    ShowWindow();
    NameDialogDone("ab");
    ChangeOpenCard("kept");
    window->Session().Changed().SaveCard();
    std::string kept = ReadFile(Cards("ab.tst"));
    window->close();

    prompter.QueueAnswer(Answer::No);
    NameDialogDone("AB");
    EXPECT_EQ(prompter.MessageTexts().back(),
              "You already have a card named AB.tst.  Do you want to replace it?");
    EXPECT_EQ(ReadFile(Cards("ab.tst")), kept);
    EXPECT_EQ(CardFiles(), (std::vector<std::string>{"ab.tst", "ab_.tst"}));

    prompter.QueueAnswer(Answer::Yes);
    NameDialogDone("AB");
    EXPECT_EQ(CardFiles(), (std::vector<std::string>{"AB.tst", "AB_.tst"}));
    EXPECT_EQ(ReadFile(Cards("AB.tst")).find("kept"), std::string::npos);
    EXPECT_EQ(cardList()->count(), 1);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, AReadOnlyDataRootOpensSaysSoOnceAndNeverLosesTheOpenCard) {
    {
        ShowWindow();
        NameDialogDone("ab");
        window.reset();
    }
    const std::string saved = ReadFile(Cards("ab.tst"));
    ReadOnlyTree readOnly(dir.Path());
    ObeyFilePermissions obey;
    ScriptedPrompter startPrompter;
    TrapRecorder startErrors;
    Application app(dir.Path(), startPrompter);
    app.SetErrorPresenter(&startErrors);
    ASSERT_TRUE(app.RunStartup());
    ASSERT_EQ(startPrompter.MessageTexts().size(), 1u);
    EXPECT_NE(startPrompter.MessageTexts()[0].find("cannot be written to (Permission denied)"),
              std::string::npos);
    EXPECT_TRUE(startErrors.shown.empty());

    MainWindow shown(app.Context(), &chooser);
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    shown.Session().Library().OpenCard(0);
    shown.ShowCardFace();
    AppContext& context = app.Context();
    context.Card.Rewrite(
        [&](CardPage& page) { page.Field(TextField, 0).text = "typed on a read-only disk"; });
    shown.Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    QTest::keyClick(&shown, Qt::Key_F3);
    ASSERT_EQ(startErrors.shown.size(), 1u);
    EXPECT_NE(startErrors.shown[0].ErrDescription.find("ab.tst: Permission denied"),
              std::string::npos);
    EXPECT_EQ(ReadFile(Cards("ab.tst")), saved);
    EXPECT_TRUE(shown.Session().Changed().CardChanged());

    // Another format opens without a word about its settings file, which is not written.
    startPrompter.QueueAnswer(Answer::No); // the changes above are given up
    ASSERT_TRUE(shown.Session().PrepareFormatChoice());
    ASSERT_TRUE(shown.Session().ChooseFormat(1));
    EXPECT_FALSE(fs::exists(dir / "datasys" / "CLUB.dat"));
    EXPECT_EQ(startPrompter.MessageTexts().size(), 2u);
    EXPECT_EQ(startErrors.shown.size(), 1u);

    // Ending the program with Yes to saving: the save fails, so the program stays with the
    // card and what was typed.
    ASSERT_TRUE(shown.Session().ChooseFormat(0));
    ASSERT_TRUE(shown.Session().Library().OpenCard(0));
    context.Card.Rewrite([&](CardPage& page) { page.Field(TextField, 0).text = "typed again"; });
    shown.Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    shown.ReturnToStartFace();
    startPrompter.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(shown.close());
    EXPECT_EQ(startErrors.shown.size(), 2u);
    EXPECT_EQ(context.Card.Page().Field(TextField, 0).text, "typed again");
    EXPECT_TRUE(shown.Session().Changed().CardChanged());
    EXPECT_EQ(startPrompter.MessageTexts().size(), 3u); // and the second save question
    startPrompter.QueueAnswer(Answer::No);
    EXPECT_TRUE(shown.close());
    EXPECT_EQ(ReadFile(Cards("ab.tst")), saved);
}

TEST_F(BadInputTest, ACardFolderRemovedWhileTheCardIsOpenIsMadeAgainOnSave) {
    ShowWindow();
    NameDialogDone("ab");
    ChangeOpenCard("not lost");
    fs::remove_all(dir / "TEST");
    QTest::keyClick(window.get(), Qt::Key_F3);
    ASSERT_EQ(Messages(), 1);
    EXPECT_NE(prompter.MessageTexts()[0].find("was no longer in"), std::string::npos);
    ASSERT_TRUE(fs::exists(Cards("ab.tst")));
    EXPECT_NE(ReadFile(Cards("ab.tst")).find("\"not lost\""), std::string::npos);
    EXPECT_FALSE(window->Session().Changed().CardChanged());

    // A new card can be made although the folder went again.
    window->close();
    fs::remove_all(dir / "TEST");
    NameDialogDone("cd");
    EXPECT_TRUE(fs::exists(Cards("cd.tst")));
    EXPECT_TRUE(fs::exists(Cards("cd_.tst")));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, ALayoutFileWithAMalformedRecordIsReportedOnceAndTheRestIsDrawn) {
    // The front page's printed form.
    auto layout = ReadLines(dir / "data" / "test2.dat");
    layout.push_back("2,100,\"not a record");
    layout.push_back(RecordLine(2, {100, 600, 2000, 240, 1, 9}, "after the bad line"));
    WriteLines(dir / "data" / "test2.dat", layout);
    ShowWindow();
    NameDialogDone("ab");
    ASSERT_TRUE(window->CardFaceShown());
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_NE(errors.shown[0].ErrDescription.find("test2.dat"), std::string::npos);
    Click(window->findChild<QToolButton*>("ZoomIn"));
    window->Redraw();
    EXPECT_EQ(errors.shown.size(), 1u);
    ChangeOpenCard("still usable");
    EXPECT_TRUE(window->Session().Changed().SaveCard());
    errors.shown.clear();
}

TEST_F(BadInputTest, AMissingOrDamagedPictureIsSaidOnceWhateverIsRedrawn) {
    WriteFile(dir / "bmps" / "broken.bmp", "BM not a picture");
    ShowWindow();
    NameDialogDone("ab");
    for (const char* picture : {"gone.bmp", "broken.bmp"}) {
        ctx.Card.Rewrite([&](CardPage& page) {
            page.Add(Bitmap, CardField{{300, 300, 600, 600, 0, 0}, picture});
        });
        window->Redraw();
    }
    Click(window->findChild<QToolButton*>("ZoomIn"));
    window->Redraw();
    EXPECT_EQ(prompter.MessageTexts(),
              (std::vector<std::string>{
                  "Bit map file gone.bmp is missing.",
                  "Bit map file broken.bmp cannot be read: it is not a picture this program "
                  "knows."}));
    ChangeOpenCard("still usable");
    EXPECT_TRUE(window->Session().Changed().SaveCard());
}

TEST_F(BadInputTest, AFormatPictureThatIsMissingOrDamagedIsNamedInItsPlace) {
    // The format's picture is named by w17 of its record.
    FormatSpec format;
    format.extraLines = {"w17 test.bmp"};
    MakeDataRoot(dir.Path(), {format});
    ShowWindow();
    auto* picture = window->findChild<QLabel*>("formatPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->text(), "(picture test.bmp is missing)");
    WriteFile(dir / "bmps" / "test.bmp", "garbage");
    window->ShowFormatPicture(dir / "bmps" / "test.bmp");
    EXPECT_EQ(picture->text(), "(picture test.bmp cannot be read)");
    EXPECT_TRUE(prompter.MessageTexts().empty());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, DamagedFontFilesAreNamedAtStartAndSuitsStillDraw) {
    WriteFile(dir / "fontsdir" / "Broken.ttf", std::string(2000, 'x'));
    WriteFile(dir / "fontsdir" / "Empty.ttf", "");
    Application app(dir.Path(), prompter);
    app.SetErrorPresenter(&errors);
    ASSERT_TRUE(app.RunStartup());
    ASSERT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_NE(prompter.MessageTexts()[0].find("Broken.ttf, Empty.ttf"), std::string::npos);
    // The suit font is the program's own, whatever the folder holds.
    EXPECT_TRUE(app.Fonts().Families().contains("Pip4"));
    app.UnregisterFonts();

    // No folder of fonts at all is nothing to tell.
    fs::remove_all(dir / "fontsdir");
    ScriptedPrompter quiet;
    Application again(dir.Path(), quiet);
    again.SetErrorPresenter(&errors);
    ASSERT_TRUE(again.RunStartup());
    EXPECT_TRUE(quiet.MessageTexts().empty());
    EXPECT_TRUE(again.Fonts().Families().contains("Pip4"));
    again.UnregisterFonts();
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, TenMegabytesOfGarbageOpenAsWhatCanBeReadAndTheOriginalIsKept) {
    std::mt19937 random(7);
    std::string garbage(10 << 20, '\0');
    const char common[] = "\"\",\r\n0123456789-";
    for (char& c : garbage)
        c = random() % 4 == 0 ? common[random() % (sizeof common - 1)] : char(random());
    WriteFile(Cards("junk.tst"), garbage);
    ShowWindow();
    ASSERT_EQ(cardList()->count(), 1);
    ClickEntry(0);
    ASSERT_EQ(Messages(), 1);
    EXPECT_NE(prompter.MessageTexts()[0].find("could not be read completely"), std::string::npos);
    ASSERT_TRUE(window->Session().Changed().CardOpen());
    window->ShowCardFace();
    ctx.Card.Rewrite([&](CardPage& page) { page.CardHeader[3] = "rescued"; });
    window->Session().Changed().SetChangedState(ChangedState::CardChangedCode);
    EXPECT_TRUE(window->Session().Changed().SaveCard());
    EXPECT_EQ(ReadFile(Cards("junk.tst.bak")), garbage);
    EXPECT_LT(fs::file_size(Cards("junk.tst")), garbage.size());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, ANotesFileWithANulByteIsShownEditedAndSavedByteForByte) {
    const std::string first = std::string("[1] before") + '\0' + "after";
    WriteFile(dir / "suppnote" / "nul.not", first + "\r\n[2] two\r\n");
    ShowWindow();
    window->OpenNotes();
    NotesWindow* notes = window->notesWindow();
    ASSERT_NE(notes, nullptr);
    QListWidget* list = notes->fileList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    Click(notes->notesButton(NotesWindow::EditButton));
    QPlainTextEdit* edit = notes->editBox();
    QString text = edit->toPlainText();
    text.replace(QStringLiteral("two"), QStringLiteral("second"));
    edit->setPlainText(text);
    Click(notes->notesButton(NotesWindow::SaveButton));
    EXPECT_EQ(ReadFile(dir / "suppnote" / "nul.not"), first + "\r\n[2] second\r\n");
    EXPECT_TRUE(prompter.MessageTexts().empty());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(BadInputTest, MailSettingsRefuseAServerThatIsNotAMailServer) {
    ShowWindow();
    const std::string kept = CrLf({"[mail]", "server=smtp://mail.example.org:587"});
    WriteFile(dir / "mail.ini", kept);
    for (const char* server : {"http://collector.example.org/upload", "file:///etc/passwd",
                               "smtp://mail.example.org\r\nRCPT TO:<x@y>", "smtp://",
                               "smtp://mail example.org", "ftp://mail.example.org"}) {
        MailSettingsDialog dialog(prompter, dir.Path());
        dialog.serverBox()->setText(QString::fromUtf8(server));
        dialog.senderBox()->setText("ann@example.org");
        int before = Messages();
        dialog.accept();
        ASSERT_EQ(Messages(), before + 1) << server;
        EXPECT_EQ(prompter.MessageTexts().back().rfind("Please enter the mail server as", 0), 0u);
        EXPECT_NE(dialog.result(), QDialog::Accepted) << server;
        EXPECT_EQ(ReadFile(dir / "mail.ini"), kept) << server;
    }
    // Nor does a hand-edited file send a report anywhere else.
    MailSettings edited;
    edited.ServerUrl = "http://collector.example.org";
    edited.Sender = "ann@example.org";
    EXPECT_FALSE(edited.ServerUsable());
    edited.ServerUrl = "SMTPS://mail.example.org:465";
    EXPECT_TRUE(edited.ServerUsable());
}

TEST_F(BadInputTest, AMailSettingsFileOfGarbageOpensAndIsWrittenClean) {
    std::string garbage(1 << 20, '\0');
    std::mt19937 random(3);
    for (char& c : garbage)
        c = char(random());
    WriteFile(dir / "mail.ini", garbage + "\nserver=smtp://mail.example.org\n");
    MailSettingsDialog dialog(prompter, dir.Path());
    EXPECT_EQ(dialog.serverBox()->text(), "smtp://mail.example.org");
    dialog.senderBox()->setText("ann@example.org");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ReadLines(dir / "mail.ini")[3], "server=smtp://mail.example.org");
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

TEST_F(BadInputTest, AFontWhoseNameCardFilesCannotHoldIsRefused) {
    ShowWindow();
    CardOptionsDialog dialog(ctx, window.get());
    const std::vector<std::string> before = ReadLines(dir / "datasys" / "TEST.dat");
    dialog.SetFontChooser(
        [](const QFont&) { return std::optional<QFont>(QFont(u"ＭＳ 明朝"_qs)); });
    Click(dialog.findChild<QPushButton*>("setFontButton"));
    ASSERT_EQ(Messages(), 1);
    EXPECT_NE(prompter.MessageTexts()[0].find("cannot be used for cards"), std::string::npos);
    EXPECT_FALSE(dialog.findChild<QPushButton*>("saveButton")->isEnabled());

    // A name in the code page is taken.
    dialog.SetFontChooser(
        [](const QFont&) { return std::optional<QFont>(QFont(u"Café Sans"_qs)); });
    Click(dialog.findChild<QPushButton*>("setFontButton"));
    EXPECT_EQ(Messages(), 1);
    Click(dialog.findChild<QPushButton*>("saveButton"));
    EXPECT_NE(ReadLines(dir / "datasys" / "TEST.dat"), before);
    EXPECT_TRUE(errors.shown.empty());
}
