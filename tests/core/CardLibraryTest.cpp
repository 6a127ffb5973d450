#include "AppContext.h"
#include "MainSession.h"
#include "ProgramTexts.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}, OnePageFormat()});
        views.library = &session.Library();
        session.Changed().AddView(&views);
        ctx.ReadSystemSettings();
        ASSERT_TRUE(session.Load());
    }

    CardLibrary& library() { return session.Library(); }
    fs::path Cards(const std::string& file = {}) const {
        return file.empty() ? dir / "TEST" : dir / "TEST" / file;
    }
    // Creates a card through the name dialog.
    void Create(const std::string& name, const std::string& myNames = "Me",
                const std::string& myNumber = "11") {
        ASSERT_TRUE(library().PrepareNewCard());
        ASSERT_TRUE(library().FinishNameDialog({name, myNames, myNumber, "Pard", "22"}));
    }
    int Index(const std::string& entry) const {
        auto& list = const_cast<MainSession&>(session).Library().Entries();
        auto it = std::find(list.begin(), list.end(), entry);
        return it == list.end() ? -1 : int(it - list.begin());
    }
    bool Asked(const std::string& text) const {
        for (const auto& message : prompter.MessageTexts())
            if (message == text)
                return true;
        return false;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    FakeMainViews views;
    FakeFolderChooser chooser;
    MainSession session{ctx, views, views, chooser};
};

} // namespace

TEST_F(LibraryTest, CreatedCardIsListedOnceInUpperCaseWithBothPagesAndItsNames) {
    Create("ab #1");
    EXPECT_TRUE(fs::exists(Cards("ab #1.tst")));
    EXPECT_TRUE(fs::exists(Cards("ab #1_.tst")));
    EXPECT_EQ(views.list, std::vector<std::string>{"AB #1.TST"});
    EXPECT_EQ(views.selected, 0);
    EXPECT_EQ(views.status, "ab #1 card loaded.");
    EXPECT_EQ(views.cardFaceShown, 1);
    EXPECT_TRUE(session.Changed().CardOpen());
    EXPECT_FALSE(session.Changed().CardChanged());

    // Header lines 0, 1, 3, 4 hold partner's names and number, my names and number; the first
    // text field (names mode 0) my names.
    auto lines = ReadLines(Cards("ab #1.tst"));
    ASSERT_GE(lines.size(), 33u);
    EXPECT_EQ(lines[1], "Pard");
    EXPECT_EQ(lines[2], "22");
    EXPECT_EQ(lines[4], "Me");
    EXPECT_EQ(lines[5], "11");
    EXPECT_EQ(lines[32], "2,100,100,2000,240,1,\"Me\",9");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LibraryTest, CardNamesAreValidatedWithTheProgramsMessages) {
    EXPECT_FALSE(library().FinishNameDialog({"   ", "", "", "", ""}));
    EXPECT_TRUE(Asked("File name can not be blank."));
    EXPECT_EQ(prompter.BeepCount(), 1);

    EXPECT_TRUE(library().ValidateFileName("AB #1"));
    EXPECT_TRUE(library().ValidateFileName("x -_+!@,#$%^&9"));
    size_t before = prompter.MessageTexts().size();
    EXPECT_FALSE(library().ValidateFileName("a.b/c"));
    ASSERT_EQ(prompter.MessageTexts().size(), before + 1); // stops at the full stop
    EXPECT_EQ(prompter.MessageTexts().back(),
              "Illegal character in file name.  Legal characters are: \n"
              "a-z, A-Z, 0-9, and  -_+!@,#$%^&");
    EXPECT_FALSE(library().ValidateFileName("caf\xe9"));
    EXPECT_TRUE(views.list.empty()); // nothing was created
}

TEST_F(LibraryTest, ExistingNameAsksToReplaceAndNoKeepsTheDialogOpen) {
    Create("ONE", "First");
    prompter.QueueAnswer(Answer::No);
    ASSERT_TRUE(library().PrepareNewCard());
    EXPECT_FALSE(library().FinishNameDialog({"one", "Second", "", "", ""}));
    EXPECT_TRUE(Asked("You already have a card named one.tst.  Do you want to replace it?"));
    EXPECT_EQ(ReadLines(Cards("ONE.tst"))[4], "First");

    prompter.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(library().FinishNameDialog({"one", "Second", "", "", ""}));
    EXPECT_EQ(views.list, std::vector<std::string>{"ONE.TST"});
    EXPECT_EQ(ReadLines(Cards("one.tst"))[4], "Second");
    EXPECT_FALSE(fs::exists(Cards("ONE.tst")));
}

TEST_F(LibraryTest, ListLeavesOutBackPagesAndHintsAtTheSampleCard) {
    WriteLines(Cards("TestCrd.tst"), HeaderBlock("", {}));
    WriteLines(Cards("TestCrd_.tst"), HeaderBlock("", {}));
    WriteLines(Cards("notes.txt"), {"not a card"});
    library().FillCardList();
    EXPECT_EQ(views.list, std::vector<std::string>{"TESTCRD.TST"});
    EXPECT_TRUE(views.firstCardHint);

    Create("zed");
    EXPECT_EQ(views.list, (std::vector<std::string>{"TESTCRD.TST", "ZED.TST"}));
    EXPECT_FALSE(views.firstCardHint);

    // A one-page format has no back pages: a name ending in "_" is a card of its own.
    WriteLines(dir / "CLUB" / "x_.clb", HeaderBlock("", {}));
    ASSERT_TRUE(session.ChooseFormat(1));
    EXPECT_EQ(views.list, std::vector<std::string>{"X_.CLB"});
    EXPECT_FALSE(views.sideButtonsEnabled);
}

TEST_F(LibraryTest, CopyingACardOntoItselfAsksAgain) {
    Create("one");
    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::CopyCard));
    EXPECT_EQ(views.selectionPrompt, "Select file to copy.");
    EXPECT_TRUE(views.cancelVisible);
    prompter.QueueInput("ONE");
    prompter.QueueInput("  two ");
    library().ListClick(0);

    EXPECT_TRUE(Asked("You can not copy a file to itself."));
    int inputs = 0;
    for (const auto& asked : prompter.Log())
        if (asked.kind == ScriptedPrompter::Asked::Kind::Input) {
            ++inputs;
            EXPECT_EQ(asked.text, "Copying card ONE.TST\nEnter name for new card.");
        }
    EXPECT_EQ(inputs, 2);
    EXPECT_TRUE(fs::exists(Cards("two.tst")));
    EXPECT_TRUE(fs::exists(Cards("two_.tst")));
    EXPECT_EQ(ReadFile(Cards("two.tst")), ReadFile(Cards("one.tst")));
    EXPECT_EQ(views.list, (std::vector<std::string>{"ONE.TST", "TWO.TST"}));
    EXPECT_FALSE(session.Changed().CardOpen());
    EXPECT_EQ(library().Mode(), NameDialogMode::NewCard);
    EXPECT_FALSE(views.cancelVisible);
}

TEST_F(LibraryTest, CopyOntoAnotherCardCanBeDeclinedOrCancelled) {
    Create("one", "Uno");
    Create("two", "Dos");
    // No asks for another name; Cancel ends the copy.
    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::CopyCard));
    prompter.QueueInput("two");
    prompter.QueueAnswer(Answer::No);
    prompter.QueueInput("two");
    prompter.QueueAnswer(Answer::Cancel);
    library().ListClick(Index("ONE.TST"));
    EXPECT_EQ(ReadLines(Cards("two.tst"))[4], "Dos");
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);

    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::CopyCard));
    prompter.QueueInput("two");
    prompter.QueueAnswer(Answer::Yes);
    library().ListClick(Index("ONE.TST"));
    EXPECT_EQ(ReadLines(Cards("two.tst"))[4], "Uno");
    EXPECT_EQ(views.list, (std::vector<std::string>{"ONE.TST", "TWO.TST"}));
}

TEST_F(LibraryTest, DeletingTheOpenCardLeavesNoCardOpen) {
    Create("one");
    Create("two");
    ASSERT_TRUE(session.Changed().CardOpen());
    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::DeleteCard));
    EXPECT_EQ(views.selectionPrompt, "Select file to delete.");

    prompter.QueueAnswer(Answer::No);
    library().ListClick(Index("TWO.TST"));
    EXPECT_TRUE(fs::exists(Cards("two.tst")));
    const auto& question = prompter.Log().back();
    EXPECT_EQ(question.text, "Deleting card TWO.TST\nAre you sure you want to delete this card?");
    EXPECT_EQ(question.buttons, Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, DefaultButton::Second);
    EXPECT_TRUE(session.Changed().CardOpen());

    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::DeleteCard));
    prompter.QueueAnswer(Answer::Yes);
    library().ListClick(Index("TWO.TST"));
    EXPECT_FALSE(fs::exists(Cards("two.tst")));
    EXPECT_FALSE(fs::exists(Cards("two_.tst")));
    EXPECT_FALSE(session.Changed().CardOpen());
    EXPECT_FALSE(views.cardCommandsEnabled);
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "");
    EXPECT_EQ(views.status, "");
    EXPECT_EQ(views.list, std::vector<std::string>{"ONE.TST"});
    EXPECT_TRUE(fs::exists(Cards("one_.tst")));
}

TEST_F(LibraryTest, NamesWithNonAsciiLettersAreListedAsTheUserNamedThem) {
    WriteLines(Cards("caf\xC3\xA9.tst"), HeaderBlock("", {})); // UTF-8, as Linux names them
    WriteLines(Cards("\xE9t\xE9.tst"), HeaderBlock("", {}));   // windows-1252, from Windows
    WriteLines(Cards("\xC3\xBC"
                     "ber_.tst"),
               HeaderBlock("", {})); // a back page, left out
    WriteLines(Cards("\xC3\xBC"
                     "ber.tst"),
               HeaderBlock("", {}));
    library().FillCardList();
    EXPECT_EQ(views.list, (std::vector<std::string>{"CAF\xC3\x89.TST",
                                                    "\xC3\x9C"
                                                    "BER.TST",
                                                    "\xC3\x89T\xC3\x89.TST"}));
    for (const char* entry : {"CAF\xC3\x89.TST", "\xC3\x89T\xC3\x89.TST"}) {
        ASSERT_TRUE(library().OpenCard(Index(entry))) << entry;
        ctx.Card.Edit().Add(CheckBox, {});
        ASSERT_TRUE(session.Changed().SaveCard());
    }
    EXPECT_EQ(ReadLines(Cards("\xE9t\xE9.tst")).size(), 32u); // saved under its own name
    EXPECT_EQ(ReadLines(Cards("caf\xC3\xA9.tst")).size(), 32u);
    // A name in another case is the same card.
    library().CheckCardName("CAF\xC3\xA9.tst");
    EXPECT_TRUE(
        Asked("You already have a card named CAF\xC3\xA9.tst.  Do you want to replace it?"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LibraryTest, ACardReadIncompletelyOpensWithOneMessageAndKeepsItsOriginal) {
    auto lines = HeaderBlock("", {});
    lines.push_back("3,1,1,0,0,0,\"\",8");
    lines.push_back("3,1,1,0,0,0,\"broken,8");
    lines.push_back("2,1,2,3,4,0,\"kept\",0");
    WriteLines(Cards("odd.tst"), lines);
    WriteLines(Cards("odd_.tst"), HeaderBlock("", {}));
    library().FillCardList();
    ASSERT_TRUE(library().OpenCard(Index("ODD.TST")));
    EXPECT_TRUE(session.Changed().CardOpen());
    EXPECT_EQ(views.status, "ODD card loaded.");
    EXPECT_EQ(ctx.Card.Page().Count(TextField), 1);
    ASSERT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_EQ(prompter.MessageTexts()[0],
              "The card file odd.tst could not be read completely, so the card is open with "
              "what could be read. Not read:\n  - line 33: not a field record\nWhen you save "
              "the card, the file as it was is kept as odd.tst.bak.");
    const std::string original = ReadFile(Cards("odd.tst"));
    session.SaveChanges();
    EXPECT_EQ(ReadFile(Cards("odd.tst.bak")), original);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LibraryTest, FoldersCopiedFromWindowsAreFoundInAnyLetterCase) {
    // A root as Windows leaves it: the format's code written "Tst", its cards in "tst", the
    // program's folders in capitals.
    TempDir other;
    FormatSpec spec;
    spec.code = "Tst";
    MakeDataRoot(other.Path(), {spec});
    fs::rename(other / "Tst", other / "tst");
    fs::rename(other / "data", other / "Data");
    fs::rename(other / "datasys", other / "DATASYS");
    fs::rename(other / "Data" / "test1.dat", other / "Data" / "TEST1.DAT");
    WriteLines(other / "tst" / "MINE.TST", HeaderBlock("", {}));
    WriteLines(other / "tst" / "MINE_.TST", HeaderBlock("", {}));

    AppContext windowsCtx{other.Path(), prompter, trap};
    FakeMainViews windowsViews;
    MainSession windowsSession{windowsCtx, windowsViews, windowsViews, chooser};
    windowsViews.library = &windowsSession.Library();
    ASSERT_TRUE(windowsSession.Load());
    ASSERT_EQ(windowsCtx.Format.Catalogue().FormatCount, 1);
    EXPECT_EQ(windowsViews.list, std::vector<std::string>{"MINE.TST"});
    ASSERT_TRUE(windowsSession.Library().OpenCard(0));
    windowsCtx.Card.Edit().Add(CheckBox, {});
    ASSERT_TRUE(windowsSession.Changed().SaveCard());
    EXPECT_EQ(ReadLines(other / "tst" / "MINE.TST").size(), 32u);
    EXPECT_TRUE(fs::exists(other / "DATASYS" / "Tst.dat"));

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(other.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DATASYS", "Data", "cwr.sys", "tst"}));
    // Closing leaves the card folder, which holds cards, where it is.
    EXPECT_EQ(windowsSession.QueryUnload(false), MainSession::CloseResult::Closed);
    EXPECT_TRUE(fs::is_directory(other / "tst"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LibraryTest, SelectionWithoutCardsSaysSo) {
    EXPECT_FALSE(library().StartCardSelection(NameDialogMode::DeleteCard));
    EXPECT_TRUE(Asked("No cards available."));
    EXPECT_EQ(library().Mode(), NameDialogMode::NewCard);
}

TEST_F(LibraryTest, SaveQuestionAnswersKeepSaveOrDropChanges) {
    Create("one");
    std::string saved = ReadFile(Cards("one.tst"));
    ctx.Card.Edit().Field(TextField, 0).text = "Changed";
    session.Changed().SetChangedState(ChangedState::CardChangedCode);
    EXPECT_TRUE(views.saveEnabled);

    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_EQ(session.Changed().AskSaveChanges(), Answer::Cancel);
    EXPECT_EQ(prompter.Log().back().text, "Do you want to save changes to one");
    EXPECT_TRUE(session.Changed().CardChanged());
    EXPECT_EQ(ReadFile(Cards("one.tst")), saved);

    // Cancel also keeps the card when another one is clicked.
    Create("two");
    ASSERT_TRUE(library().OpenCard(Index("ONE.TST")));
    ctx.Card.Edit().Field(TextField, 0).text = "Changed";
    session.Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(library().OpenCard(Index("TWO.TST")));
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "ONE");
    EXPECT_EQ(views.selected, Index("ONE.TST"));
    EXPECT_EQ(ctx.Card.Page().Field(TextField, 0).text, "Changed");

    prompter.QueueAnswer(Answer::Yes);
    EXPECT_EQ(session.Changed().AskSaveChanges(), Answer::Yes);
    EXPECT_FALSE(session.Changed().CardChanged());
    EXPECT_FALSE(views.saveEnabled);
    EXPECT_NE(ReadFile(Cards("one.tst")).find("\"Changed\""), std::string::npos);
    EXPECT_EQ(session.Changed().AskSaveChanges(), Answer::No); // nothing left to ask
}

TEST_F(LibraryTest, BackSideOpensTheBackPageWithTheFrontPagesNotesLine) {
    Create("one");
    auto front = ReadLines(Cards("one.tst"));
    front[3] = "one.not";
    WriteLines(Cards("one.tst"), front);
    auto back = ReadLines(Cards("one_.tst"));
    back[3] = "stale.not";
    WriteLines(Cards("one_.tst"), back);

    views.backSide = true;
    ASSERT_TRUE(library().SwitchSide(true));
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "ONE_");
    EXPECT_EQ(ctx.Card.Page().CardHeader[2], "one.not");
    EXPECT_EQ(views.status, "ONE card loaded.");

    // Unsaved changes: Cancel keeps the side and the page.
    session.Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueAnswer(Answer::Cancel);
    views.backSide = false;
    EXPECT_FALSE(library().SwitchSide(false));
    EXPECT_TRUE(ctx.Card.BackSide());
    EXPECT_TRUE(views.backSide);
    EXPECT_EQ(ctx.Card.Location().CurrentCardName, "ONE_");
}

TEST_F(LibraryTest, EditingNamesRewritesTheHeaderAndTheNameFields) {
    Create("one");
    auto entries = library().PrepareEditNames();
    ASSERT_TRUE(entries);
    EXPECT_EQ(*entries, (NameEntries{"one", "Me", "11", "Pard", "22"}));
    ctx.Card.Edit().Field(TextField, 0).text = "#<Arial>#Me";
    EXPECT_TRUE(library().FinishNameDialog({"one", "Ann & Bob", "7", "Bob & Ann", "8"}));
    auto lines = ReadLines(Cards("one.tst"));
    EXPECT_EQ(lines[1], "Bob & Ann");
    EXPECT_EQ(lines[2], "8");
    EXPECT_EQ(lines[4], "Ann & Bob");
    EXPECT_EQ(lines[5], "7");
    EXPECT_EQ(lines[32], "2,100,100,2000,240,1,\"#<Arial>#Ann & Bob\",9");
    EXPECT_FALSE(session.Changed().CardChanged());
}

TEST(NameFields, NamesModesPlaceTheEntries) {
    EXPECT_EQ(NameFieldEntries(0), (std::vector<int>{1, 2}));
    EXPECT_TRUE(NameFieldEntries(2).empty());
    EXPECT_EQ(NameFieldEntries(3), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(NameFieldEntries(6), (std::vector<int>{1, 3}));
}

TEST_F(LibraryTest, CopyToDisketteTakesTheBackPageAndTheNotes) {
    Create("one");
    auto front = ReadLines(Cards("one.tst"));
    front[3] = " one.NOT ";
    WriteLines(Cards("one.tst"), front);
    WriteLines(dir / "suppnote" / "one.NOT", {"notes"});
    TempDir stick;
    chooser.folder = stick.Path();

    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::CopyToDiskette));
    library().ListClick(0);
    EXPECT_EQ(ReadFile(stick / "ONE.TST"), ReadFile(Cards("one.tst")));
    EXPECT_TRUE(fs::exists(stick / "ONE_.TST"));
    EXPECT_EQ(ReadLines(stick / "one.NOT"), std::vector<std::string>{"notes"});
    EXPECT_FALSE(session.Changed().CardOpen());

    // A missing notes file is reported, the card is copied all the same.
    fs::remove(dir / "suppnote" / "one.NOT");
    fs::remove(stick / "ONE.TST");
    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::CopyToDiskette));
    library().ListClick(0);
    EXPECT_TRUE(Asked("Can not find Supplemental Notes file one.NOT\nCard has been copied."));
    EXPECT_TRUE(fs::exists(stick / "ONE.TST"));

    // Cancelling the folder picker copies nothing.
    chooser.folder.reset();
    fs::remove(stick / "ONE.TST");
    ASSERT_TRUE(library().StartCardSelection(NameDialogMode::CopyToDiskette));
    library().ListClick(0);
    EXPECT_FALSE(fs::exists(stick / "ONE.TST"));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LibraryTest, CopyFromDisketteAsksPerCardAndReturnsToTheFormat) {
    Create("one", "Local");
    TempDir stick;
    chooser.folder = stick.Path();
    EXPECT_FALSE(library().CopyCardsFromDiskette());
    EXPECT_TRUE(Asked("There are no card files on this diskette."));

    auto card = ReadLines(Cards("one.tst"));
    card[4] = "Stick";
    WriteLines(stick / "ONE.TST", card);
    WriteLines(stick / "ONE_.TST", {"back from stick"});
    WriteLines(stick / "NEW.TST", card);
    WriteLines(stick / "CLUBBY.CLB", HeaderBlock("", {}));
    WriteLines(stick / "n.not", {"notes"});

    prompter.QueueAnswer(Answer::No); // keep the local ONE (and its back page)
    EXPECT_TRUE(library().CopyCardsFromDiskette());
    EXPECT_EQ(ReadLines(Cards("one.tst"))[4], "Local");
    EXPECT_NE(ReadLines(Cards("one_.tst")).front(), "back from stick");
    EXPECT_TRUE(fs::exists(Cards("NEW.TST")));
    EXPECT_TRUE(fs::exists(dir / "CLUB" / "CLUBBY.CLB"));
    EXPECT_TRUE(fs::exists(dir / "suppnote" / "n.not"));
    EXPECT_EQ(ctx.Format.Current(), 0);
    EXPECT_EQ(views.list, (std::vector<std::string>{"NEW.TST", "ONE.TST"}));

    prompter.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(library().CopyCardsFromDiskette());
    // The copy takes the name as written on the medium.
    EXPECT_FALSE(fs::exists(Cards("one.tst")));
    ASSERT_TRUE(fs::exists(Cards("ONE.TST")));
    EXPECT_EQ(ReadLines(Cards("ONE.TST"))[4], "Stick");
    EXPECT_EQ(ReadLines(Cards("ONE_.TST")), std::vector<std::string>{"back from stick"});
}

TEST_F(LibraryTest, ClosingPatchesTheFormatAndRemovesEmptyCardFolders) {
    ASSERT_TRUE(fs::is_directory(dir / "CLUB"));
    Create("one");
    ASSERT_TRUE(session.ChooseFormat(1));
    EXPECT_FALSE(session.Changed().CardOpen());
    EXPECT_EQ(views.formatName, "Club Card");

    EXPECT_EQ(session.QueryUnload(true), MainSession::CloseResult::ReturnedToStartFace);
    EXPECT_EQ(session.QueryUnload(false), MainSession::CloseResult::Closed);
    auto sys = ReadLines(dir / "cwr.sys");
    EXPECT_NE(std::find(sys.begin(), sys.end(), "s02 1"), sys.end());
    EXPECT_FALSE(fs::exists(dir / "CLUB"));
    EXPECT_TRUE(fs::exists(Cards("one.tst")));
}

TEST_F(LibraryTest, ClosingWithTheSameFormatLeavesTheSettingsAlone) {
    std::string before = ReadFile(dir / "cwr.sys");
    Create("one");
    session.Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_EQ(session.QueryUnload(false), MainSession::CloseResult::Cancelled);
    EXPECT_TRUE(session.Changed().CardChanged());
    EXPECT_TRUE(fs::exists(dir / "CLUB"));

    prompter.QueueAnswer(Answer::No);
    EXPECT_EQ(session.QueryUnload(false), MainSession::CloseResult::Closed);
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), before);
}

TEST_F(LibraryTest, SaveChangesWithoutACardSaysSoAndWritesNothing) {
    Create("one");
    library().MarkCardClosed();
    auto before = fs::last_write_time(Cards("one.tst"));
    std::string bytes = ReadFile(Cards("one.tst"));
    session.SaveChanges();
    EXPECT_EQ(prompter.Log().back().text, "No card is opened.");
    EXPECT_EQ(prompter.Log()[prompter.Log().size() - 2].kind, ScriptedPrompter::Asked::Kind::Beep);
    EXPECT_EQ(ReadFile(Cards("one.tst")), bytes);
    EXPECT_EQ(fs::last_write_time(Cards("one.tst")), before);
    EXPECT_FALSE(fs::exists(Cards("temp")));
}
