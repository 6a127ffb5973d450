#include "VersionRestore.h"

#include "LayoutFakes.h"
#include "UndoHistory.h"
#include "UndoablePageChanger.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// A card with its undo history, saved twice with another text each time.
class VersionRestoreTest : public LayoutFixture {
protected:
    void SetUp() override {
        OpenCard({"2,1000,1000,2000,240,1,\"blank\",0"});
        SaveWithText("first");
        SaveWithText("second");
    }
    void SaveWithText(const std::string& text) {
        CardPage after = ctx.Card.Page();
        after.Field(TextField, 0).text = text;
        changer.ReplacePage(after, "Typing");
        ASSERT_TRUE(main.Changed().SaveCard());
    }
    fs::path Page() const { return dir / "TEST" / "lay.tst"; }
    ArchivedVersion Newest() const {
        return ctx.Archive.Versions(ctx.ArchiveFormat(), ctx.ArchiveCard(), "lay.tst").front();
    }

    UndoablePageChanger changer{history};
};

} // namespace

TEST_F(VersionRestoreTest, RestoreThenUndoGivesTheCardBeforeTheRestoreByteForByte) {
    const std::string beforeRestore = ReadFile(Page());
    // Unsaved changes are asked about first; Cancel restores nothing.
    Type(0, "typed");
    main.Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueAnswer(Answer::Cancel);
    EXPECT_FALSE(RestorePageVersion(ctx, main.Changed(), changer, Newest()));
    EXPECT_EQ(Text(0).text, "typed");
    prompter.QueueAnswer(Answer::No);
    ASSERT_TRUE(RestorePageVersion(ctx, main.Changed(), changer, Newest()));
    EXPECT_EQ(Text(0).text, "first");
    EXPECT_NE(ReadFile(Page()).find("\"first\""), std::string::npos);
    EXPECT_FALSE(Changed());
    EXPECT_EQ(history.Stack().undoText(), "Restore Version");
    // The restore kept the page it replaced, so it can be restored in turn.
    EXPECT_EQ(ReadFile(Newest().file), beforeRestore);

    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Text(0).text, "second");
    EXPECT_TRUE(Changed());
    ASSERT_TRUE(main.Changed().SaveCard());
    EXPECT_EQ(ReadFile(Page()), beforeRestore);

    // A version of the other page is not restored over this one.
    ArchivedVersion back = Newest();
    back.pageFile = "lay_.tst";
    EXPECT_FALSE(RestorePageVersion(ctx, main.Changed(), changer, back));
    EXPECT_TRUE(errors.shown.empty());
}

// Another program (or another copy on a shared folder) rewrites the card while it is open
// here: a save asks before overwriting it, and each answer does what it says.
TEST_F(VersionRestoreTest, ASaveOverAFileChangedOnDiskAsksFirst) {
    main.Changed().SetPageChanger(&changer);
    std::string theirs = ReadFile(Page());
    theirs.replace(theirs.find("\"second\""), 8, "\"theirs\"");
    WriteFile(Page(), theirs);

    // Cancel: nothing written, the typing stays.
    Type(0, "mine");
    main.Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueChoice(std::nullopt);
    EXPECT_FALSE(main.Changed().SaveCard());
    EXPECT_EQ(ReadFile(Page()), theirs);
    EXPECT_EQ(Text(0).text, "mine");
    ASSERT_FALSE(prompter.Log().empty());
    EXPECT_NE(prompter.Log().back().text.find("changed by another program"), std::string::npos);

    // Reload: their page is shown, nothing is left unsaved, and Undo brings the typing back.
    prompter.QueueChoice(size_t(1));
    EXPECT_FALSE(main.Changed().SaveCard());
    EXPECT_EQ(ReadFile(Page()), theirs);
    EXPECT_EQ(Text(0).text, "theirs");
    EXPECT_FALSE(Changed());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(Text(0).text, "mine");

    // The file is now as seen here: the save goes through without a question.
    ASSERT_TRUE(main.Changed().SaveCard());
    EXPECT_NE(ReadFile(Page()).find("\"mine\""), std::string::npos);

    // Changed on disk once more: Overwrite saves over it.
    std::string again = ReadFile(Page());
    again.replace(again.find("\"mine\""), 6, "\"them\"");
    WriteFile(Page(), again);
    Type(0, "mine again");
    main.Changed().SetChangedState(ChangedState::CardChangedCode);
    prompter.QueueChoice(size_t(0));
    ASSERT_TRUE(main.Changed().SaveCard());
    EXPECT_NE(ReadFile(Page()).find("\"mine again\""), std::string::npos);
    EXPECT_EQ(prompter.UnusedAnswers(), 0u);
    main.Changed().SetPageChanger(nullptr);
}
