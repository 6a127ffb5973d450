#include "UndoHistory.h"

#include "CardFile.h"
#include "FillInSession.h"
#include "LayoutFakes.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// Filling in without a window.
struct QuietFillInView : FillInView {
    void OpenEditor(int) override {}
    void HideEditor() override {}
    void RedrawRecord(int, int, std::optional<int32_t>) override {}
    void RedrawCircledItem(int) override {}
    void ShowOptionList(int, int) override {}
    void HideOptionList() override {}
    void MarkChanged() override {}
};

const std::vector<std::string> kCard = {
    "2,1000,1000,2000,240,1,\"first\",0", "2,1000,2000,2000,240,1,\"#<Arial>#second\",0",
    "3,5000,5000,0,0,0,\"\",150",         "6,4000,4000,2000,1000,1,0,0",
    "12,100,3000,8000,8000,1,\"\",0",     "23,7000,7000,400,300,1,\"\",0",
};

class UndoHistoryTest : public LayoutFixture {
protected:
    void SetUp() override {
        OpenCard(kCard);
        filling.History = &history;
        main.Changed().SaveCard(); // the file as this program writes it
        saved = ReadFile(ctx.Card.Location().PagePath());
    }
    void Save() { ASSERT_TRUE(main.Changed().SaveCard()); }

    QuietFillInView quiet;
    FillInSession filling{ctx.Card, quiet};
    std::string saved;
};

} // namespace

TEST_F(UndoHistoryTest, UndoingEachKindOfChangeGivesTheFileByteForByteAsBefore) {
    const std::vector<std::function<void()>> changes = {
        [&] { filling.Click(5010, 5010, {}); }, // tick
        [&] {                                   // typing
            filling.OpenTextEditor(1);
            filling.EditorTextChanged();
            filling.CommitTextEditor("typed");
        },
        [&] { // an option chosen
            filling.Click(7100, 7100, {});
            filling.OptionChosen(3);
        },
        [&] { // a text field added over another one, which it removes
            edit.MenuCommand(menu::AddTextField);
            Draw(900, 900, 3500, 1300);
            view.editorText = "new";
            prompter.QueueAnswer(Answer::Yes);
            SaveChange();
        },
        [&] { // a check box, a rectangle, lines, a cleared area
            edit.MenuCommand(menu::AddCheckBox);
            edit.MoveMobileTo(9000, 9000);
            SaveChange();
        },
        [&] {
            edit.MenuCommand(menu::AddRectangle);
            Draw(100, 100, 900, 900);
            SaveChange();
        },
        [&] {
            edit.MenuCommand(menu::AddVerticalLine);
            Draw(6000, 6000, 6000, 7000);
            edit.SetLineCountText("2");
            SaveChange();
        },
        [&] {
            edit.MenuCommand(menu::ClearArea);
            Draw(8000, 100, 9000, 500);
            SaveChange();
        },
        [&] { // a field moved, one deleted, all fonts set
            edit.MenuCommand(menu::EditField);
            edit.Click(4000, 4500);
            edit.ArrowChanged(Arrow::LeftRight, 1);
            SaveChange();
        },
        [&] {
            edit.MenuCommand(menu::DeleteField);
            edit.Click(1500, 1100);
            SaveChange();
        },
        [&] {
            edit.MenuCommand(menu::SetFontOnAllFields);
            edit.DefaultFontButtonClicked();
            edit.ColourClicked(2);
            SaveChange();
        },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE("change " + std::to_string(i));
        edit.EndLayoutEditing();
        const CardPage before = ctx.Card.Page();
        changes[i]();
        ASSERT_TRUE(history.CanUndo());
        const CardPage after = ctx.Card.Page();
        ASSERT_FALSE(PageDelta::Between(before, after).Empty());
        ASSERT_TRUE(history.Undo());
        Save();
        EXPECT_EQ(ReadFile(ctx.Card.Location().PagePath()), saved);
        ASSERT_TRUE(history.Redo());
        EXPECT_TRUE(PageDelta::Between(ctx.Card.Page(), after).Empty());
        ASSERT_TRUE(history.Undo());
        // The next change starts from the page as it was.
        EXPECT_TRUE(PageDelta::Between(ctx.Card.Page(), before).Empty());
    }
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(UndoHistoryTest, TheChangedStateFollowsTheHistory) {
    filling.Click(5010, 5010, {});
    EXPECT_TRUE(Changed());
    EXPECT_EQ(history.Stack().undoText(), "Tick");
    history.Undo();
    EXPECT_FALSE(Changed()); // back where the file is
    history.Redo();
    EXPECT_TRUE(Changed());
    Save();
    history.Undo();
    EXPECT_TRUE(Changed());
    history.Redo();
    EXPECT_FALSE(Changed());

    // Changes the history never saw cannot be undone, nor does any undo count as saved.
    ctx.Card.Rewrite([](CardPage& page) { page.Field(TextField, 0).text = "behind its back"; });
    main.Changed().SetChangedState(ChangedState::CardChangedCode);
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(Text(0).text, "behind its back");
    filling.Click(5010, 5010, {});
    history.Undo();
    EXPECT_TRUE(Changed());
    EXPECT_EQ(Text(0).text, "behind its back");
}

TEST_F(UndoHistoryTest, NudgesOfOneFieldAreOneStep) {
    filling.OpenTextEditor(0);
    for (int i = 0; i < 3; ++i)
        filling.EditorCtrlKey('U', "first", 15, false);
    filling.CurrentField = 0;
    filling.EditorCtrlKey('D', "first", 15, false);
    EXPECT_EQ(Text(0).a[1], 1000 - 2 * 15);
    EXPECT_EQ(history.Stack().count(), 1);
    EXPECT_EQ(history.Stack().undoText(), "Move Field");
    history.Undo();
    EXPECT_EQ(Text(0).a[1], 1000);
    EXPECT_FALSE(Changed());
}

TEST_F(UndoHistoryTest, ReplacingThePageIsOneStepThatRedraws) {
    std::vector<int> redrawn;
    history.SetRestoredHandler([&](const std::vector<int>& kinds) { redrawn = kinds; });
    const CardPage before = ctx.Card.Page();
    CardPage after = ctx.Card.Page();
    after.Field(TextField, 0).text = "partner's";
    after.CardHeader[0] = "Carl";
    history.ReplacePage(after, "Take Partner's Value");
    EXPECT_EQ(Text(0).text, "partner's");
    EXPECT_EQ(ctx.Card.Page().CardHeader[0], "Carl");
    EXPECT_EQ(redrawn, std::vector<int>{TextField});
    EXPECT_TRUE(Changed());
    EXPECT_EQ(history.Stack().undoText(), "Take Partner's Value");
    history.Undo();
    EXPECT_TRUE(PageDelta::Between(ctx.Card.Page(), before).Empty());
    EXPECT_FALSE(Changed());
}

// The page read again from its file (another side shown and this one read back, F4): no undo
// puts back the tables of the page it replaced, and undoing a later step leads back to the
// file's state. A change made outside the history (a name written) is no saved state to undo
// back to.
TEST_F(UndoHistoryTest, APageGivenANewStateIsNeverUndoneInto) {
    filling.Click(5010, 5010, {});
    Save();
    ASSERT_TRUE(history.CanUndo());
    const int ticked = ctx.Card.Page().Field(CheckBox, 0).a[4];
    ASSERT_TRUE(ctx.LoadCard());
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 0).a[4], ticked);
    filling.Click(5010, 5010, {});
    EXPECT_TRUE(Changed());
    history.Undo();
    EXPECT_FALSE(Changed());

    ctx.Card.Rewrite([](CardPage& page) { page.CardHeader[0] = "Renamed"; });
    main.Changed().SetChangedState(ChangedState::CardChangedCode);
    EXPECT_FALSE(history.CanUndo());
    filling.Click(5010, 5010, {});
    history.Undo();
    EXPECT_TRUE(Changed());
    EXPECT_EQ(ctx.Card.Page().CardHeader[0], "Renamed");
}

// Editing the page while no step is open is a fault of the program: a debug build stops at
// it; a release build forgets the history, so that no undo drops the edit.
TEST_F(UndoHistoryTest, AnEditOutsideAStepIsCaughtAndNeverUndoneOver) {
    filling.Click(5010, 5010, {});
    ASSERT_TRUE(history.CanUndo());
    EXPECT_DEBUG_DEATH(ctx.Card.Edit().Field(TextField, 0).text = "unseen", "outside its history");
#ifdef NDEBUG
    EXPECT_FALSE(history.Undo());
    EXPECT_EQ(Text(0).text, "unseen");
#endif
}
