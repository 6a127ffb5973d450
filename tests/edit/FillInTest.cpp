#include "FillIn.h"

#include "FillInSession.h"

#include <gtest/gtest.h>

using namespace cw;

namespace {

CardField Box(int32_t left, int32_t top, int32_t width, int32_t height, int32_t a4 = 0,
              int32_t a5 = 0) {
    return {{left, top, width, height, a4, a5}, ""};
}

} // namespace

TEST(HitTest, TextFieldEdgesAreInsideAndOneTwipBeyondIsNot) {
    CardPage page;
    page.Add(TextField, Box(100, 200, 300, 240));
    HitMetrics metrics;
    EXPECT_EQ(FindTextFieldAt(page, 400, 440), 0);
    EXPECT_EQ(FindTextFieldAt(page, 100, 200), 0);
    EXPECT_EQ(FindTextFieldAt(page, 401, 300), -1);
    EXPECT_EQ(FindTextFieldAt(page, 200, 441), -1);
    EXPECT_FALSE(HitTestFillIn(page, 99, 300, metrics).has_value());
}

TEST(HitTest, LowerIndexWinsAndKindsGoInTheirOrder) {
    CardPage page;
    page.Add(TextField, Box(0, 0, 500, 500));
    page.Add(TextField, Box(100, 100, 100, 100));
    page.Add(CheckBox, {{100, 100, 0, 0, 0, 8}, ""});
    HitMetrics metrics;
    auto hit = HitTestFillIn(page, 150, 150, metrics);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, TextField);
    EXPECT_EQ(hit->index, 0);
    page.Remove(TextField, 0);
    page.Remove(TextField, 0);
    // A check box of size 8 at (100, 100) covers 100..107.
    EXPECT_EQ(HitTestFillIn(page, 107, 107, metrics)->kind, CheckBox);
    EXPECT_FALSE(HitTestFillIn(page, 108, 100, metrics));
}

TEST(HitTest, OverlappingMarksAnswerInKindOrderThenByLowestIndex) {
    // Every kind of mark three times (colour dots twice, all a card holds): the first
    // elsewhere, the others over (1000, 1000).
    CardPage page;
    auto add = [&](int kind, CardField over) {
        CardField elsewhere = over;
        elsewhere.a[0] += 5000;
        page.Add(kind, elsewhere);
        page.Add(kind, over);
        if (kind != ColourDot)
            page.Add(kind, over);
    };
    add(OptionField, Box(900, 900, 200, 200));
    add(TickMark, {{1000, 1000, 0, 0, 0, 0}, ""});
    add(ColourDot, {{1000, 1000, 60, 0, 0, 0}, ""});
    add(FrameBox, Box(900, 900, 200, 200));
    add(CircledItem, {{950, 900, 0, 0, 9, 0}, "K"});
    add(Circle, {{1000, 1000, 0, 0, 50, 0}, ""});
    add(CheckBox, {{950, 950, 0, 0, 0, 100}, ""});
    HitMetrics metrics{120, 240, 15};
    for (int kind : {CheckBox, Circle, CircledItem, FrameBox, ColourDot, TickMark, OptionField}) {
        auto hit = HitTestFillIn(page, 1000, 1000, metrics);
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->kind, kind);
        EXPECT_EQ(hit->index, 1);
        while (page.Count(kind) > 0)
            page.Remove(kind, 0);
    }
    EXPECT_FALSE(HitTestFillIn(page, 1000, 1000, metrics));
}

TEST(HitTest, MarksUseTheirOwnBounds) {
    CardPage page;
    page.Add(Circle, {{1000, 1000, 0, 0, 50, 0}, ""});
    page.Add(CircledItem, {{2000, 2000, 0, 0, 9, 0}, "AKx"});
    page.Add(ColourDot, {{3000, 3000, 60, 0, 0, 0}, ""});
    page.Add(TickMark, {{4000, 4000, 0, 0, 0, 0}, ""});
    page.Add(OptionField, Box(5000, 5000, 200, 200));
    page.Add(FrameBox, Box(6000, 6000, 100, 100));
    HitMetrics metrics{120, 240, 15};
    auto kindAt = [&](int x, int y) {
        auto hit = HitTestFillIn(page, x, y, metrics);
        return hit ? hit->kind : 0;
    };
    EXPECT_EQ(kindAt(1050, 950), Circle); // the square around the circle
    EXPECT_EQ(kindAt(1051, 1000), 0);
    EXPECT_EQ(kindAt(1985, 2240), CircledItem);
    EXPECT_EQ(kindAt(1984, 2000), 0);
    EXPECT_EQ(kindAt(2121, 2000), 0);
    EXPECT_EQ(kindAt(2940, 3060), ColourDot);
    EXPECT_EQ(kindAt(4150, 3850), TickMark); // ten pixels of 15 twips
    EXPECT_EQ(kindAt(4151, 4000), 0);
    EXPECT_EQ(kindAt(5200, 5200), OptionField);
    EXPECT_EQ(kindAt(6100, 6000), FrameBox);
}

TEST(Marks, EachKindCyclesThroughItsStates) {
    CardPage page;
    page.Add(CheckBox, {{0, 0, 0, 0, 0, 8}, ""});
    page.Add(Circle, {{0, 0, 0, 0, 50, 0}, ""});
    page.Add(FrameBox, Box(0, 0, 10, 10));
    page.Add(TickMark, {{0, 0, 0, 0, 0, 0}, ""});
    page.Add(CircledItem, {{0, 0, 0, 0, 12, 0}, "K"});
    auto cycle = [&](int kind, int attribute, int steps) {
        std::vector<int> states;
        for (int i = 0; i < steps; ++i) {
            AdvanceMark(page, {kind, 0});
            states.push_back(page.Field(kind, 0).a[size_t(attribute)]);
        }
        return states;
    };
    EXPECT_EQ(cycle(CheckBox, 4, 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(cycle(Circle, 3, 4), (std::vector<int>{1, 2, 3, 0}));
    EXPECT_EQ(cycle(FrameBox, 4, 3), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(cycle(TickMark, 2, 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(cycle(CircledItem, 3, 4), (std::vector<int>{1, 2, 3, 0}));
}

TEST(Marks, ColourDotPassesItsSixColoursAndTheMarkedPairs) {
    CardPage page;
    page.Add(ColourDot, {{0, 0, 60, 0, 0, 0}, ""});
    std::vector<int32_t> colours;
    for (int i = 0; i < 6; ++i)
        colours.push_back(*AdvanceMark(page, {ColourDot, 0}));
    EXPECT_EQ(colours,
              (std::vector<int32_t>{0x00FF00, 0xFF0000, 0x0000FF, 0x00FFFF, 0x004080, 0xFFFFFF}));
    EXPECT_EQ(page.Field(ColourDot, 0).a[3], 0);
    page.Field(ColourDot, 0).a[3] = 17;
    EXPECT_EQ(*AdvanceMark(page, {ColourDot, 0}), 0xFFFFFF);
    EXPECT_EQ(page.Field(ColourDot, 0).a[3], 16);
    EXPECT_EQ(*AdvanceMark(page, {ColourDot, 0}), 0x0000FF);
    EXPECT_EQ(page.Field(ColourDot, 0).a[3], 17);
}

TEST(Commit, QuotesBecomeApostrophesAndOnlyRealChangesCount) {
    auto typed = CommitEditorText("", "a\"b");
    EXPECT_EQ(typed.text, "a''b");
    EXPECT_TRUE(typed.changed);
    EXPECT_FALSE(CommitEditorText("same", "same").changed);
    EXPECT_FALSE(CommitEditorText("same", "same  ").changed);
}

TEST(Commit, FontPrefixSurvivesAndEndsAreCleaned) {
    auto edited = CommitEditorText("#<Arial>#abc", "xyz");
    EXPECT_EQ(edited.text, "#<Arial>#xyz");
    EXPECT_EQ(StripFontPrefix("#<Arial>#abc"), "abc");
    EXPECT_EQ(StripFontPrefix("#<Arial abc"), "");
    EXPECT_EQ(GetFontPrefix("#<Arial abc"), "");
    EXPECT_EQ(StripFontPrefix("plain"), "plain");
    EXPECT_EQ(CommitEditorText("", "\t\tone\ttwo\r\nthree\t\r\n\r\n").text, "one\ttwo\r\nthree\t");
}

TEST(TabOrder, WrapsAroundBothWays) {
    EXPECT_EQ(NextTextFieldIndex(0, 5, false), 4);
    EXPECT_EQ(NextTextFieldIndex(4, 5, true), 0);
    EXPECT_EQ(NextTextFieldIndex(2, 5, true), 3);
    EXPECT_EQ(NextTextFieldIndex(0, 1, true), 0);
}

TEST(SuitKeys, MarkupGoesInAtTheCaretAndTheCaretFollowsIt) {
    std::string text = "1NT";
    EXPECT_EQ(InsertSuitMarkup(text, 2, 'c'), 5);
    EXPECT_EQ(text, "1N<c>T");
}

TEST(CtrlKeys, AlignmentKeepsTheLineModeAndBoldToggles) {
    CardField field = Box(100, 100, 500, 240, 0, 4);
    ASSERT_TRUE(ApplyEditorCtrlKey(field, 'M', 15, false));
    EXPECT_EQ(field.a[5], 5);
    EXPECT_EQ(EditorStyleFor(field, false, false).editorIndex, 5);
    EXPECT_TRUE(EditorStyleFor(field, false, false).multiLine);
    field.a[5] = 64 + 1;
    ApplyEditorCtrlKey(field, 'L', 15, false);
    EXPECT_EQ(field.a[5], 64);
    ApplyEditorCtrlKey(field, 'B', 15, false);
    EXPECT_EQ(field.a[5], 16);
    ApplyEditorCtrlKey(field, 'B', 15, true);
    EXPECT_EQ(field.a[5], 0);
    ApplyEditorCtrlKey(field, '[', 15, false);
    ApplyEditorCtrlKey(field, 'D', 15, false);
    EXPECT_EQ(field.a[0], 85);
    EXPECT_EQ(field.a[1], 115);
    EXPECT_FALSE(ApplyEditorCtrlKey(field, 'Z', 15, false));
}

TEST(EditorStyle, HeightAndFontStyleRules) {
    EXPECT_EQ(EditorStyleFor(Box(0, 0, 10, 240, 0, 0), false, false).height, 0);
    EXPECT_EQ(EditorStyleFor(Box(0, 0, 10, 241, 0, 0), false, false).height, 241);
    auto defaults = EditorStyleFor(Box(0, 0, 10, 240, 0, 64 + 16), false, true);
    EXPECT_FALSE(defaults.bold); // the card's default style replaces bit 16
    EXPECT_TRUE(defaults.italic);
    auto own = EditorStyleFor(Box(0, 0, 10, 240, 0, 16 + 32), false, false);
    EXPECT_TRUE(own.bold);
    EXPECT_TRUE(own.italic);
}

namespace {

struct RecordingFillInView : FillInView {
    std::vector<std::string> calls;
    int changed = 0;
    void OpenEditor(int i) override { calls.push_back("open " + std::to_string(i)); }
    void HideEditor() override { calls.push_back("hide"); }
    void RedrawRecord(int kind, int i, std::optional<int32_t>) override {
        calls.push_back("redraw " + std::to_string(kind) + ":" + std::to_string(i));
    }
    void ShowOptionList(int i, int choice) override {
        calls.push_back("list " + std::to_string(i) + "=" + std::to_string(choice));
    }
    void RedrawCircledItem(int i) override { calls.push_back("cycle " + std::to_string(i)); }
    void HideOptionList() override {}
    void MarkChanged() override { ++changed; }
};

struct SessionTest : ::testing::Test {
    SessionTest() {
        page.Add(TextField, {{0, 0, 1000, 240, 1, 0}, "#<Arial>#abc"});
        page.Add(TextField, {{0, 300, 1000, 240, 1, 4}, "two"});
        page.Add(OptionField, {{2000, 0, 200, 200, 1, 0}, ""});
        page.Add(CheckBox, {{3000, 0, 0, 0, 0, 8}, ""});
    }
    OpenCard card;
    CardPage& page = card.Edit();
    RecordingFillInView view;
    FillInSession session{card, view};
    HitMetrics metrics;
};

} // namespace

TEST_F(SessionTest, TypingCommitsCleanedTextAndLeavingUnchangedDoesNot) {
    session.Click(10, 10, metrics);
    EXPECT_EQ(session.CurrentField, 0);
    session.EditorGotFocus();
    EXPECT_TRUE(session.CommitTextEditor("abc"));
    EXPECT_EQ(view.changed, 0);
    session.OpenTextEditor(0);
    session.EditorGotFocus();
    session.EditorTextChanged();
    session.CommitTextEditor("a\"b");
    EXPECT_EQ(page.Field(TextField, 0).text, "#<Arial>#a''b");
    EXPECT_EQ(view.changed, 1);
}

TEST_F(SessionTest, OptionListChangesTheCardOnlyOnANewChoice) {
    session.Click(2100, 100, metrics);
    EXPECT_EQ(view.calls.back(), "list 0=1");
    session.OptionChosen(1);
    EXPECT_EQ(view.changed, 0);
    session.OptionChosen(3);
    EXPECT_EQ(page.Field(OptionField, 0).a[4], 3);
    EXPECT_EQ(view.changed, 1);
}

TEST_F(SessionTest, ClickOnABoxRedrawsOnlyThatRecord) {
    session.Click(3003, 3, metrics);
    EXPECT_EQ(page.Field(CheckBox, 0).a[4], 1);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"redraw 3:0"}));
    EXPECT_EQ(view.changed, 1);
}

TEST_F(SessionTest, CtrlKeyKeepsTypedTextAndReopensTheField) {
    session.OpenTextEditor(1);
    session.EditorGotFocus();
    session.EditorTextChanged();
    ASSERT_TRUE(session.EditorCtrlKey('M', "typed", 15, false));
    EXPECT_EQ(page.Field(TextField, 1).text, "typed");
    EXPECT_EQ(page.Field(TextField, 1).a[5], 5);
    EXPECT_EQ(session.CurrentField, 1);
    EXPECT_EQ(view.calls.back(), "open 1");
    EXPECT_FALSE(session.EditorCtrlKey('Q', "typed", 15, false));
}

TEST_F(SessionTest, TabWalksInIndexOrderOnlyWhileAFieldIsOpen) {
    session.OpenNextTextField(true);
    EXPECT_EQ(session.CurrentField, FillInSession::NoField);
    session.OpenTextEditor(0);
    session.OpenNextTextField(false);
    EXPECT_EQ(session.CurrentField, 1);
    session.OpenNextTextField(true);
    EXPECT_EQ(session.CurrentField, 0);
}
