#include "AppContext.h"
#include "FillInController.h"
#include "MainWindow.h"
#include "MainWindowFixture.h"
#include "NotesWindow.h"
#include "ReferenceTextWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

std::vector<std::string> CardFile(const std::string& notesFile,
                                  const std::vector<std::string>& records) {
    std::vector<std::string> lines =
        HeaderBlock("Ann & Bob", {"123", notesFile, "Bob & Ann", "456", "0", "0", "0", "0", "0",
                                  "0", "0", "0", "0", "0", "6.3.19"});
    lines.insert(lines.end(), records.begin(), records.end());
    return lines;
}

class NotesCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        WriteLines(dir / "TEST" / "pair.tst",
                   CardFile("pair.not", {"2,1000,1000,3000,240,1,\"Stayman [3]\",0"}));
        WriteLines(dir / "TEST" / "pair_.tst", CardFile("", {}));
        std::vector<std::string> notes;
        for (int note : {1, 3, 4})
            notes.insert(notes.end(), {"[" + std::to_string(note) + "] Note", "text", ""});
        WriteLines(dir / "suppnote" / "pair.not", notes);
        ShowWindow();
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }
};

TEST_F(NotesCommandsTest, F9FollowsTheSelectedFieldToItsNoteAsTyped) {
    ASSERT_TRUE(window->Session().Library().OpenCard(0));
    window->ShowCardFace();
    auto* editor = qobject_cast<QLineEdit*>(window->FillIn().OpenEditor());
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->text(), "Stayman [3]");

    QTest::keyClick(editor, Qt::Key_F9);
    NotesWindow* notes = window->notesWindow();
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->isVisible());
    EXPECT_EQ(notes->Session().FileName(), "pair.not");
    EXPECT_EQ(notes->Session().FirstLine(), 3);

    // What is typed but not yet stored on the card is followed too.
    editor->selectAll();
    QTest::keyClicks(editor, "Drury [4]");
    window->activateWindow();
    window->OpenNotes();
    EXPECT_EQ(window->notesWindow(), notes);
    EXPECT_EQ(notes->Session().FirstLine(), 6);
    EXPECT_FALSE(window->Session().Changed().CardChanged());
    notes->close();
}

TEST_F(NotesCommandsTest, TheMenusOpenTheNotesAndEveryReferenceText) {
    for (const char* file : {"notices.txt", "abbr.dat", "Convent.txt", "tips.txt"})
        WriteLines(dir / "data" / file, {file});
    // "Special Notices" stands in the menu bar between Options and Help.
    QList<QAction*> bar = window->menuBar()->actions();
    qsizetype notices = bar.indexOf(window->findChild<QAction*>("specialNoticesAction"));
    EXPECT_EQ(notices, bar.indexOf(window->menu(MainMenu::Options)->menuAction()) + 1);
    EXPECT_EQ(notices + 1, bar.indexOf(window->menu(MainMenu::Help)->menuAction()));

    QStringList options;
    for (QAction* action : window->menu(MainMenu::Options)->actions())
        options << action->text();
    for (const char* caption : {"Abbreviations", "Conventions", "Supplemental Notes", "Tips"})
        EXPECT_TRUE(options.contains(caption)) << caption;

    const std::pair<const char*, const char*> texts[] = {
        {"specialNoticesAction", "Special Notices"},
        {"abbreviationsAction", "Bridge Abbreviations"},
        {"conventionsAction", "Bridge Conventions"},
        {"tipsAction", "Tips for Using this Program"}};
    for (const auto& [name, caption] : texts) {
        window->findChild<QAction*>(name)->trigger();
        ASSERT_NE(window->referenceTextWindow(), nullptr);
        EXPECT_EQ(window->referenceTextWindow()->windowTitle(), caption);
        EXPECT_EQ(window->referenceTextWindow()->Text().LineCount(), 1);
    }

    // No card open: the notes window lists the files.
    window->findChild<QAction*>("viewNotesAction")->trigger();
    ASSERT_NE(window->notesWindow(), nullptr);
    EXPECT_FALSE(window->notesWindow()->Session().HasFile());
    EXPECT_EQ(window->notesWindow()->Session().NotesFiles(), std::vector<std::string>{"pair.not"});
    window->notesWindow()->close();
}

TEST_F(NotesCommandsTest, EndingTheProgramAsksForNotesNotYetSaved) {
    window->OpenNotes();
    NotesWindow* notes = window->notesWindow();
    ASSERT_TRUE(notes->Session().ChooseFile("pair.not"));
    notes->Session().StartEditing();
    notes->editBox()->insertPlainText("more ");

    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(notes->isVisible());
    EXPECT_EQ(prompter.MessageTexts().back(), "Do you want to save the changes to pair.not?");

    prompter.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ReadLines(dir / "suppnote" / "pair.not").front(), "more [1] Note");
}

} // namespace
