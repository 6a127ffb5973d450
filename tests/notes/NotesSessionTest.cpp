#include "NotesSession.h"

#include "AppContext.h"
#include "ChangedState.h"
#include "NotesFakes.h"
#include "NotesLocations.h"
#include "RuntimeError.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// A disk whose renames fail, as on a full or failing disk.
struct FailingRename : FileSystem {
    void RenameOver(const fs::path&, const fs::path&) override {
        throw RuntimeError(RuntimeError::PathFileAccess, "Cannot rename: device error");
    }
};

class NotesSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        ctx.ReadSystemSettings();
    }

    fs::path Notes(const std::string& name) const { return dir / "suppnote" / name; }
    // A card is open whose header line 2 names notesLine.
    void OpenCard(const std::string& notesLine) {
        ctx.Card.Edit().CardHeader[2] = notesLine;
        changed.SetChangedState(ChangedState::CardOpenedCode);
        changed.SetChangedState(ChangedState::CardSavedCode);
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    ChangedState changed{ctx};
    FakeNotesView view;
    NotesSession session{ctx, changed, view};
};

TEST_F(NotesSessionTest, OpensTheCardsOwnFileOnlyWhenTheCardNamesAnExistingNotesFile) {
    WriteLines(Notes("club.not"), {"[1] Our notes"});
    for (const char* line : {"", "club.txt", "../suppnote/club.not", "club"}) {
        OpenCard(line);
        EXPECT_FALSE(session.Open()) << line;
        EXPECT_TRUE(view.listShown) << line;
        EXPECT_EQ(view.list, std::vector<std::string>{"club.not"});
        EXPECT_EQ(view.notice, "") << line;
    }
    // The card names it in other letters, and with blanks around it.
    OpenCard(" CLUB.NOT ");
    EXPECT_TRUE(session.Open());
    EXPECT_EQ(session.FileName(), "club.not");
    EXPECT_EQ(view.block, std::vector<std::string>{"[1] Our notes"});

    // A file named on the card but gone: the list, with a line that says so.
    NotesSession other(ctx, changed, view);
    OpenCard("gone.not");
    EXPECT_FALSE(other.Open());
    EXPECT_TRUE(view.listShown);
    EXPECT_NE(view.notice.find("\"gone.not\" is not in the notes folder"), std::string::npos);
    EXPECT_TRUE(prompter.MessageTexts().empty());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, SavingABlockKeepsTheLinesBeforeAndAfterItByteForByte) {
    // Line ends of both kinds, code-page bytes and no end after the last line.
    std::string before, after;
    for (int i = 0; i < 20; ++i)
        before += "before " + std::to_string(i) + (i % 3 ? " caf\xe9\r\n" : " \x80\n");
    std::string block;
    for (int i = 0; i < 18; ++i)
        block += "block " + std::to_string(i) + "\r\n";
    for (int i = 0; i < 10; ++i)
        after += "after " + std::to_string(i) + (i % 2 ? "\n" : " <h>\r\n");
    after += "last line without an end";
    WriteFile(Notes("n.not"), before + block + after);

    ASSERT_TRUE(session.ChooseFile("n.not"));
    ASSERT_TRUE(session.ScrollTo(20));
    EXPECT_EQ(view.block.front(), "block 0");
    session.StartEditing();
    view.editBox = "new first\nblock 1 changed <s>\n\nna\xefve";
    session.EditChanged();
    EXPECT_TRUE(view.saveEnabled);
    ASSERT_TRUE(session.SaveNotesEdit());

    EXPECT_EQ(ReadFile(Notes("n.not")),
              before + "new first\r\nblock 1 changed <s>\r\n\r\nna\xefve\r\n" + after);
    EXPECT_FALSE(session.Dirty());
    EXPECT_FALSE(view.saveEnabled);
    EXPECT_FALSE(fs::exists(Notes("n.not.tmp")));
    EXPECT_EQ(ListFolder(dir / "suppnote", "*"), std::vector<std::string>{"n.not"});
    // The block is read again at the same place.
    EXPECT_EQ(session.FirstLine(), 20);
    EXPECT_EQ(view.block.front(), "new first");
    EXPECT_EQ(view.block[4], "after 0 <h>");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, AMissingNoteGetsANewMarkerBeforeTheNextNoteAndNothingIsLost) {
    std::vector<std::string> lines = {"Our system", "[5] Five", "text of 5", ""};
    for (int i = 0; i < 25; ++i)
        lines.push_back("[9] line " + std::to_string(i));
    WriteLines(Notes("n.not"), lines);
    const std::string original = ReadFile(Notes("n.not"));
    ASSERT_TRUE(session.ChooseFile("n.not"));

    // Nothing to follow: no pair of brackets, an empty or zero number.
    for (const char* field : {"1NT [", "see 7]", "[0] here", "[] x", "[x]"}) {
        EXPECT_FALSE(session.GoToNote(field)) << field;
        EXPECT_EQ(session.FirstLine(), 0) << field;
    }
    ASSERT_TRUE(session.GoToNote("2<c> forcing [5] see"));
    EXPECT_EQ(session.FirstLine(), 1);
    EXPECT_EQ(view.firstLine, 1);

    ASSERT_TRUE(session.GoToNote("Drury [7]"));
    ASSERT_EQ(view.block.size(), 18u);
    EXPECT_EQ(view.block[0], "[7] ");
    EXPECT_EQ(view.block[1], " ");
    EXPECT_EQ(view.block[2], "[9] line 0");
    EXPECT_EQ(view.block[17], "[9] line 15");
    EXPECT_EQ(view.firstLine, 4);
    EXPECT_EQ(ReadFile(Notes("n.not")), original);
    EXPECT_FALSE(session.Dirty());

    // Written and saved, the new note stands before note 9 and every old line is still there.
    view.editBox.replace(0, 4, "[7] Drury: 2<c> by a passed hand");
    session.EditChanged();
    ASSERT_TRUE(session.SaveNotesEdit());
    std::vector<std::string> expected(lines.begin(), lines.begin() + 4);
    expected.push_back("[7] Drury: 2<c> by a passed hand");
    expected.push_back(" ");
    expected.insert(expected.end(), lines.begin() + 4, lines.end());
    EXPECT_EQ(ReadLines(Notes("n.not")), expected);

    // No higher note: the marker goes at the end.
    ASSERT_TRUE(session.GoToNote("[12]"));
    EXPECT_EQ(view.block[view.block.size() - 2], "[12] ");
    EXPECT_EQ(view.block[view.block.size() - 3], "[9] line 24");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, LeavingEditingWithCancelKeepsTheEditBoxAndItsText) {
    WriteLines(Notes("n.not"), {"one", "two"});
    ASSERT_TRUE(session.ChooseFile("n.not"));
    session.StartEditing();
    view.editBox = "one\ntwo\nthree";
    session.EditChanged();

    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(session.StopEditing());
    EXPECT_TRUE(view.editing);
    EXPECT_EQ(view.editBox, "one\ntwo\nthree");
    EXPECT_TRUE(session.Dirty());
    EXPECT_EQ(prompter.MessageTexts().back(), "Do you want to save the changes to n.not?");
    // Scrolling away asks too, and Cancel keeps the block.
    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(session.ScrollTo(1));
    EXPECT_EQ(view.editBox, "one\ntwo\nthree");
    EXPECT_EQ(view.firstLine, 0);

    // No drops the changes and shows the file as it is.
    prompter.QueueAnswer(Answer::No);
    EXPECT_TRUE(session.StopEditing());
    EXPECT_FALSE(view.editing);
    EXPECT_EQ(view.editBox, "one\ntwo");
    EXPECT_EQ(ReadLines(Notes("n.not")), (std::vector<std::string>{"one", "two"}));
}

TEST_F(NotesSessionTest, AFailedSaveLeavesTheOldFileAndKeepsWhatWasTyped) {
    WriteLines(Notes("n.not"), {"one", "two"});
    const std::string original = ReadFile(Notes("n.not"));
    FailingRename disk;
    AppContext failing(dir.Path(), prompter, trap, disk);
    failing.ReadSystemSettings();
    ChangedState failingChanged(failing);
    NotesSession save(failing, failingChanged, view);
    ASSERT_TRUE(save.ChooseFile("n.not"));
    save.StartEditing();
    view.editBox = "one\nchanged";
    save.EditChanged();

    EXPECT_FALSE(save.SaveNotesEdit());
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].Location, loc::SaveNotesEdit);
    EXPECT_EQ(ReadFile(Notes("n.not")), original);
    EXPECT_FALSE(fs::exists(Notes("n.not.tmp")));
    // Yes to the question on leaving: the save fails again, and nothing typed is dropped.
    prompter.QueueAnswer(Answer::Yes);
    EXPECT_EQ(save.AskSaveNotes(), Answer::Cancel);
    EXPECT_FALSE(save.Done());
    EXPECT_TRUE(save.Dirty());
    EXPECT_EQ(view.editBox, "one\nchanged");

    // A read-only file is not replaced behind the user's back.
    NotesSession readOnly(ctx, changed, view);
    ASSERT_TRUE(readOnly.ChooseFile("n.not"));
    view.editBox = "changed";
    readOnly.EditChanged();
    fs::permissions(Notes("n.not"), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(readOnly.SaveNotesEdit());
    EXPECT_NE(prompter.MessageTexts().back().find("read-only"), std::string::npos);
    EXPECT_EQ(ReadFile(Notes("n.not")), original);
    EXPECT_TRUE(readOnly.Dirty());
    fs::permissions(Notes("n.not"), fs::perms::owner_all);
}

TEST_F(NotesSessionTest, AFileThatCannotBeReadGivesOneMessageAndChangesNothing) {
    WriteLines(Notes("good.not"), {"good"});
    fs::create_directories(Notes("folder.not"));
    ASSERT_TRUE(session.ChooseFile("good.not"));
    EXPECT_FALSE(session.ChooseFile("folder.not"));
    EXPECT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_NE(prompter.MessageTexts()[0].find("\"folder.not\" cannot be opened"),
              std::string::npos);
    EXPECT_EQ(session.FileName(), "good.not");
    EXPECT_EQ(view.block, std::vector<std::string>{"good"});
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, ChoosingAFileOffersToAssociateItWithTheCardOnItsFrontPage) {
    WriteLines(Notes("ours.not"), {"[1] one"});
    // The back page of card "pair" is open: the name belongs in the front page's header.
    std::vector<std::string> front = {"| comment", "Me", "Partner", "old.not", "1", "2", "x"};
    WriteLines(dir / "TEST" / "pair.tst", front);
    ctx.Card.SetLocation({dir / "TEST", "pair_", ".tst"});
    ctx.Card.SetBackSide(true);
    OpenCard("old.not");

    prompter.QueueAnswer(Answer::No);
    ASSERT_TRUE(session.ChooseFile("ours.not"));
    EXPECT_EQ(ctx.Card.Page().CardHeader[2], "old.not");
    EXPECT_FALSE(changed.CardChanged());

    prompter.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.ShowFileList());
    ASSERT_TRUE(session.ChooseFile("ours.not"));
    EXPECT_EQ(prompter.MessageTexts().back(),
              "Do you want to associate this notes file with the card that is loaded?");
    EXPECT_EQ(ctx.Card.Page().CardHeader[2], "ours.not");
    EXPECT_TRUE(changed.CardChanged());
    // The front page waits for the card to be saved, as from the front page itself.
    EXPECT_EQ(ReadLines(dir / "TEST" / "pair.tst"), front);
    ASSERT_TRUE(changed.SaveCard());
    front[3] = "ours.not";
    EXPECT_EQ(ReadLines(dir / "TEST" / "pair.tst"), front);
    // Chosen again, it is already the card's: no question.
    size_t asked = prompter.MessageTexts().size();
    ASSERT_TRUE(session.ShowFileList());
    ASSERT_TRUE(session.ChooseFile("ours.not"));
    EXPECT_EQ(prompter.MessageTexts().size(), asked);

    // Changes given up: the front page keeps its notes line.
    WriteLines(Notes("theirs.not"), {"[1] one"});
    prompter.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(session.ChooseFile("theirs.not"));
    prompter.QueueAnswer(Answer::No);
    EXPECT_EQ(changed.AskSaveChanges(), Answer::No);
    ctx.Card.Edit().CardHeader[2] = "ours.not";
    changed.SetChangedState(ChangedState::CardChangedCode);
    ASSERT_TRUE(changed.SaveCard());
    EXPECT_EQ(ReadLines(dir / "TEST" / "pair.tst"), front);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, ANewFileIsNamedLikeACardCreatedEmptyAndOpenedForWriting) {
    prompter.QueueAnswer(Answer::Yes); // there are no notes files: create one
    prompter.QueueInput("club/notes");
    prompter.QueueInput("  Club Notes  ");
    EXPECT_FALSE(session.Open());
    EXPECT_EQ(prompter.MessageTexts()[0],
              "There are no Notes Files.  Would you like to create a Notes File?");
    EXPECT_NE(prompter.MessageTexts()[1].find("Illegal character"), std::string::npos);
    EXPECT_TRUE(fs::exists(Notes("Club Notes.not")));
    EXPECT_EQ(ReadFile(Notes("Club Notes.not")), "");
    EXPECT_EQ(session.FileName(), "Club Notes.not");
    EXPECT_TRUE(view.editing);
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, LinesEndAtCrLfOrCrAndOnlyChangedLinesAreWrittenAnew) {
    // Old Mac line ends: without them counted as ends the file is one line and every note
    // jump lands on its first line.
    std::string mac;
    for (int note = 1; note <= 40; ++note)
        mac += "[" + std::to_string(note) + "] note " + std::to_string(note) + "\r  text\r";
    WriteFile(Notes("mac.not"), mac);
    ASSERT_TRUE(session.ChooseFile("mac.not"));
    EXPECT_EQ(session.Text().LineCount(), 80);
    EXPECT_EQ(view.block[1], "  text");
    ASSERT_TRUE(session.GoToNote("see [30]"));
    EXPECT_EQ(session.FirstLine(), 58);
    EXPECT_EQ(view.block[0], "[30] note 30");

    // One line changed and one added: the others keep their bytes and ends, the changed line
    // its own end, the new line the file's usual one (CR here).
    view.editBox.replace(view.editBox.find("  text"), 6, "  changed\nadded");
    session.EditChanged();
    ASSERT_TRUE(session.SaveNotesEdit());
    std::string expected = mac;
    expected.replace(expected.find("[30] note 30\r  text\r"), 20,
                     "[30] note 30\r  changed\radded\r");
    EXPECT_EQ(ReadFile(Notes("mac.not")), expected);

    // Mixed ends, a no-break space, a line deleted: nothing else moves.
    const std::string mixed = "one\xa0\r\ntwo\nthree\rfour\r\nlast";
    WriteFile(Notes("mixed.not"), mixed);
    ASSERT_TRUE(session.ChooseFile("mixed.not"));
    EXPECT_EQ(session.Text().UsualEnding(), NotesText::Ending::CrLf);
    view.editBox = "one\xa0\nthree\nfour\nlast";
    session.EditChanged();
    ASSERT_TRUE(session.SaveNotesEdit());
    EXPECT_EQ(ReadFile(Notes("mixed.not")), "one\xa0\r\nthree\rfour\r\nlast");
    // A line added behind a last line without an end: the old last line gets one.
    view.editBox += "\nafter";
    session.EditChanged();
    ASSERT_TRUE(session.SaveNotesEdit());
    EXPECT_EQ(ReadFile(Notes("mixed.not")), "one\xa0\r\nthree\rfour\r\nlast\r\nafter");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, CharactersTheFileCannotHoldStopTheSaveWithAWarning) {
    WriteLines(Notes("n.not"), {"one"});
    const std::string original = ReadFile(Notes("n.not"));
    ASSERT_TRUE(session.ChooseFile("n.not"));
    ASSERT_TRUE(session.StartEditing());
    view.editBox = "?d? ?";
    view.unwritable = "\xc5\x81 \xc5\xba";
    session.EditChanged();
    EXPECT_FALSE(session.SaveNotesEdit());
    EXPECT_NE(
        prompter.MessageTexts().back().find("cannot hold these characters: \xc5\x81 \xc5\xba"),
        std::string::npos);
    EXPECT_EQ(ReadFile(Notes("n.not")), original);
    // Leaving with Yes: the save fails the same way and the edit box stays open.
    prompter.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(session.StopEditing());
    EXPECT_TRUE(view.editing);
    EXPECT_TRUE(session.Dirty());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NotesSessionTest, AFileWithoutLineEndsIsShownButNotEditedInTheWindow) {
    WriteFile(Notes("long.not"), std::string(NotesSession::MaxEditableLine + 1, 'x'));
    ASSERT_TRUE(session.ChooseFile("long.not"));
    EXPECT_FALSE(session.StartEditing());
    EXPECT_FALSE(view.editing);
    EXPECT_NE(prompter.MessageTexts().back().find("too long to be edited here"), std::string::npos);
}

TEST_F(NotesSessionTest, ThePrintoutNamesTheCardOnlyForTheCardsOwnNotesFile) {
    WriteLines(Notes("ours.not"), {"[1] one"});
    WriteLines(Notes("other.not"), {"[1] two"});
    ctx.Card.SetCardName("pair_");
    OpenCard("ours.not");
    ASSERT_TRUE(session.Open());
    EXPECT_EQ(session.PrintHeading(), "SUPPLEMENTAL NOTES: pair");
    prompter.QueueAnswer(Answer::No); // not associated with the card
    ASSERT_TRUE(session.ShowFileList());
    ASSERT_TRUE(session.ChooseFile("other.not"));
    EXPECT_EQ(session.PrintHeading(), "SUPPLEMENTAL NOTES: " + Notes("other.not").string());
}

TEST(NotesTextTest, Utf8IsRecognisedOnlyWhenEveryLetterIsValid) {
    EXPECT_TRUE(LooksLikeUtf8("Caf\xc3\xa9 \xe2\x99\xa0"));
    EXPECT_FALSE(LooksLikeUtf8("plain ASCII"));
    EXPECT_FALSE(LooksLikeUtf8("Caf\xe9"));      // windows-1252
    EXPECT_FALSE(LooksLikeUtf8("\xc0\xaf"));     // overlong
    EXPECT_FALSE(LooksLikeUtf8("\xed\xa0\x80")); // a surrogate
    EXPECT_FALSE(LooksLikeUtf8("cut \xe2\x99")); // cut off at the end
    EXPECT_TRUE(NotesText("x\r\n\xf0\x9f\x82\xa1\r\n").IsUtf8());
}

} // namespace
