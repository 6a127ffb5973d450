#include "CardArchive.h"

#include "AppContext.h"
#include "DeletedCards.h"
#include "MainSession.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace cw;
using namespace cw::test;

namespace {

// A data root with one two-page format and a card "pair" created and open.
class CardArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(), {FormatSpec{}});
        views.library = &session.Library();
        session.Changed().AddView(&views);
        ctx.ReadSystemSettings();
        ASSERT_TRUE(session.Load());
        // Every version gets the same millisecond: the names must still keep them apart
        // and in order.
        ctx.Archive.SetClock([] { return std::chrono::system_clock::time_point(); });
        ASSERT_TRUE(session.Library().PrepareNewCard());
        ASSERT_TRUE(session.Library().FinishNameDialog({"pair", "Me", "11", "Pard", "22"}));
    }
    fs::path Front() const { return dir / "TEST" / "pair.tst"; }
    // Changes the open card's text and saves it; returns the page as it was before.
    std::string SaveWithText(const std::string& text) {
        std::string before = ReadFile(Front());
        ctx.Card.Edit().Field(TextField, 0).text = text;
        session.Changed().SetChangedState(ChangedState::CardChangedCode);
        EXPECT_TRUE(session.Changed().SaveCard());
        return before;
    }
    std::vector<ArchivedVersion> FrontVersions() const {
        return ctx.Archive.Versions("TEST", "pair", "pair.tst");
    }
    // The history cannot be written, even by the superuser.
    void BreakHistory() {
        fs::path history = dir / "datasys" / "history";
        fs::remove_all(history);
        if (geteuid() == 0) {
            WriteFile(history, "in the way");
        } else {
            fs::create_directories(history);
            fs::permissions(history, fs::perms::owner_read | fs::perms::owner_exec);
        }
    }
    void MendHistory() {
        fs::path history = dir / "datasys" / "history";
        if (fs::is_directory(history))
            fs::permissions(history, fs::perms::owner_all);
        else
            fs::remove(history);
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

TEST_F(CardArchiveTest, EverySaveKeepsThePageItReplacesAndTheNewestTwentyStay) {
    // Creating the card wrote its page once, names and all: nothing was replaced.
    std::vector<std::string> replaced;
    ASSERT_EQ(FrontVersions().size(), 0u);
    for (int save = 1; save <= 10; ++save)
        replaced.push_back(SaveWithText("version " + std::to_string(save)));
    ASSERT_EQ(FrontVersions().size(), 10u);
    // Saving an unchanged page keeps nothing twice.
    session.Changed().SetChangedState(ChangedState::CardChangedCode);
    ASSERT_TRUE(session.Changed().SaveCard());
    EXPECT_EQ(FrontVersions().size(), 10u);

    for (int save = 11; save <= 25; ++save)
        replaced.push_back(SaveWithText("version " + std::to_string(save)));
    auto versions = FrontVersions();
    ASSERT_EQ(versions.size(), size_t(CardArchive::KeptPerPage));
    for (size_t i = 0; i < versions.size(); ++i)
        EXPECT_EQ(ReadFile(versions[i].file), replaced[replaced.size() - 1 - i]) << i;
    EXPECT_EQ(versions.front().pageFile, "pair.tst");
    EXPECT_EQ(versions.front().when, "1970-01-01 00:00:00");
    EXPECT_TRUE(ctx.Archive.Versions("TEST", "pair", "pair_.tst").empty());
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

TEST_F(CardArchiveTest, AHistoryThatCannotBeWrittenStillLetsEverySaveThroughWithOneMessage) {
    BreakHistory();
    SaveWithText("first");
    SaveWithText("second");
    EXPECT_NE(ReadFile(Front()).find("\"second\""), std::string::npos);
    ASSERT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_EQ(prompter.MessageTexts()[0].rfind("Earlier versions of your cards cannot be kept", 0),
              0u);
    EXPECT_TRUE(errors.shown.empty());
    // Once it works again, it keeps versions again.
    MendHistory();
    std::string before = SaveWithText("third");
    ASSERT_FALSE(FrontVersions().empty());
    EXPECT_EQ(ReadFile(FrontVersions().front().file), before);
}

TEST_F(CardArchiveTest, ADeletedCardIsKeptInTheHistoryAndComesBackWithBothPages) {
    SaveWithText("kept");
    const std::string front = ReadFile(Front()), back = ReadFile(dir / "TEST" / "pair_.tst");
    CardLibrary& library = session.Library();

    // When the history cannot take it, the card stays unless the user says otherwise.
    BreakHistory();
    prompter.QueueAnswer(Answer::Yes);
    prompter.QueueAnswer(Answer::No);
    library.DeleteCard(0);
    EXPECT_TRUE(fs::exists(Front()));
    EXPECT_EQ(
        prompter.MessageTexts().back().rfind("The card cannot be kept in the card history", 0), 0u);
    MendHistory();

    prompter.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(library.DeleteCard(0));
    EXPECT_FALSE(fs::exists(Front()));
    EXPECT_TRUE(views.list.empty());
    auto deleted = DeletedCardsOfFormat(ctx);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].name, "pair");

    ASSERT_TRUE(library.RestoreDeletedCard("pair"));
    EXPECT_EQ(ReadFile(Front()), front);
    EXPECT_EQ(ReadFile(dir / "TEST" / "pair_.tst"), back);
    EXPECT_EQ(views.list, std::vector<std::string>{"PAIR.TST"});
    EXPECT_EQ(views.selected, 0);
    EXPECT_TRUE(DeletedCardsOfFormat(ctx).empty());
    EXPECT_TRUE(errors.shown.empty());
}

} // namespace
