#include "LayoutActions.h"
#include "LayoutEditSession.h"
#include "LayoutFakes.h"
#include "LayoutRules.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

CardField Record(int32_t a0, int32_t a1, int32_t a2, int32_t a3, int32_t a4 = 0, int32_t a5 = 0,
                 std::string text = {}) {
    return {{a0, a1, a2, a3, a4, a5}, std::move(text)};
}

} // namespace

TEST(LayoutTexts, InstructionsAreJoinedFromTheProgramTextsAsTheyStand) {
    FormatDefaults basics;
    basics.BasicFont = "Arial";
    basics.BasicFontSize = 10;
    basics.BasicFontBold = true;
    EXPECT_EQ(ActionInstructions(menu::AddTextField, basics),
              "1. Using the left mouse button, draw the area  approximately where the field "
              "should go.\r\n2 Enter the text.  \r\n3. Select the color and font characteristics."
              "\r\n4. Fine tune the location with the 'Move Field' arrows\r\n5. Fine tune the size "
              "with the 'Change Size' arrows\r\n6. Press 'Save Change' or 'Cancel Action'.");
    EXPECT_EQ(ActionInstructions(menu::AddCheckBox, basics).substr(0, 80),
              "1. Select the  check box color.\r\n2. Drag and drop the  check box in the approxim");
    EXPECT_EQ(ActionInstructions(menu::SetFontOnAllFields, basics),
              "Click the 'Set Fonts' button to change the font on all text fields on this card."
              "\r\n\r\nClick 'Restore Defaults' to restore the default font on all text fields on "
              "this card. (Font = Arial, Font Size = 10, Bold)");
    EXPECT_EQ(PickedFieldInstructions(TextField),
              "1. Make desired changes to: color, location, size,  and font characteristics.\r\n"
              "2. Make text changes in the text box (above).\r\n3. Press 'Save Change' or "
              "'Cancel Action'.");
    EXPECT_EQ(PickedFieldInstructions(Line),
              "1. Make desired changes to: location, border width and size.\r\n2. Press 'Save "
              "Change' or 'Cancel Action'.");
}

TEST(LayoutRules, PickingTakesCheckBoxesLinesRectanglesThenTextFields) {
    CardPage page;
    page.Add(TextField, Record(900, 900, 1200, 400));
    page.Add(Rectangle, Record(880, 880, 1300, 500, 1));
    page.Add(Line, Record(900, 2000, 1050, 1050, 2));
    page.Add(Line, Record(3000, 3000, 100, 900, 1));
    page.Add(CheckBox, Record(1000, 1000, 0, 0, 0, 150));
    auto kindAt = [&](int x, int y) {
        auto hit = PickFieldAt(page, x, y, 15);
        return hit ? hit->kind : 0;
    };
    EXPECT_EQ(kindAt(1050, 1050), CheckBox);
    EXPECT_EQ(kindAt(1500, 1080), Line); // a two-pixel line reaches 30 twips down
    EXPECT_EQ(kindAt(1500, 1081), TextField);
    EXPECT_EQ(kindAt(885, 1100), Rectangle); // on its outline
    EXPECT_EQ(kindAt(3015, 500), Line);      // a vertical line reaches right
    EXPECT_EQ(kindAt(3016, 500), 0);
    EXPECT_EQ(PickFieldAt(page, 3015, 500, 15)->index, 1);
}

TEST(LayoutRules, RectanglesAreCorrectedByBorderWidthWithHalvesToEven) {
    TwipRect band{1000, 2000, 1500, 900};
    EXPECT_EQ(MakeRectangle(band, 1, 0).a, (std::array<int32_t, 6>{1000, 2000, 1499, 899, 0, 0}));
    EXPECT_EQ(MakeRectangle(band, 2, 0).a, (std::array<int32_t, 6>{998, 2000, 1500, 900, 1, 0}));
    EXPECT_EQ(MakeRectangle(band, 3, 0).a, (std::array<int32_t, 6>{999, 2000, 1501, 901, 2, 0}));
    EXPECT_EQ(MakeRectangle(band, 4, 0).a, (std::array<int32_t, 6>{998, 1998, 1502, 902, 3, 0}));
    EXPECT_EQ(MakeRectangle({1001, 2001, 1500, 900}, 2, 0).a[0], 1000);
    // A rectangle picked and stored again without a change stays where it was.
    for (int width = 1; width <= 4; ++width) {
        CardField stored = MakeRectangle(band, width, 255);
        EXPECT_EQ(MakeRectangle(BandOfRectangle(stored), BorderWidthOfRectangle(stored), 255),
                  stored);
    }
}

TEST(LayoutRules, SetFontOnAllTextFieldsKeepsTheRedFieldsOfAcblCards) {
    FormatDefaults basics;
    basics.BasicFont = "Arial";
    basics.BasicFontSize = 10;
    CardPage page;
    page.Add(TextField, Record(0, 0, 100, 240, 2, 4 + 16, "#<Courier New>#red"));
    page.Add(TextField, Record(0, 0, 100, 240, 5, 1 + 12 * 256, "blue"));
    AllFieldsChoice choice;
    choice.fontSet = choice.colourSet = true;
    choice.fontName = "Times New Roman";
    choice.fontSize = 12;
    choice.italic = true;
    choice.colourCode = 6;
    CardPage acbl = page;
    EXPECT_TRUE(SetFontOnAllTextFields(acbl, choice, basics, true));
    EXPECT_EQ(acbl.Field(TextField, 0).a[4], 2); // red stays red
    EXPECT_EQ(acbl.Field(TextField, 1).a[4], 6);
    EXPECT_EQ(acbl.Field(TextField, 0).a[5], 4 + 32 + 12 * 256);
    EXPECT_EQ(acbl.Field(TextField, 0).text, "#<Times New Roman>#red");
    EXPECT_TRUE(SetFontOnAllTextFields(page, choice, basics, false));
    EXPECT_EQ(page.Field(TextField, 0).a[4], 6);

    AllFieldsChoice defaults;
    defaults.defaults = true;
    EXPECT_TRUE(SetFontOnAllTextFields(acbl, defaults, basics, true));
    EXPECT_EQ(acbl.Field(TextField, 0).a, (std::array<int32_t, 6>{0, 0, 100, 240, 2, 4 + 64}));
    EXPECT_EQ(acbl.Field(TextField, 0).text, "red");
    EXPECT_EQ(acbl.Field(TextField, 1).a[4], 1);
}

using LayoutEditTest = LayoutFixture;

TEST_F(LayoutEditTest, ANewTextFieldStoresItsStyleAndBlanksTheFormUnderIt) {
    OpenCard({});
    edit.MenuCommand(menu::AddTextField);
    EXPECT_EQ(edit.State().EditMode, EditingStep::AddingTextField);
    EXPECT_FALSE(edit.State().ActionPending);
    Draw(2500, 2240, 1000, 2000); // up and to the left: the size is still positive
    EXPECT_EQ(edit.State().Mobile.kind, MobileKind::Editor);
    EXPECT_EQ(edit.State().Mobile.rect, (TwipRect{1000, 2000, 1500, 240}));
    EXPECT_EQ(edit.State().Editor.index, 0); // 240 high: one line
    EXPECT_TRUE(edit.State().ActionPending);
    view.editorText = "say \"hi\"  ";
    SaveChange();
    ASSERT_EQ(ctx.Card.Page().Count(TextField), 1);
    EXPECT_EQ(Text(0).a, (std::array<int32_t, 6>{1000, 2000, 1500, 240, 0, 0}));
    EXPECT_EQ(Text(0).text, "say ''hi''");
    ASSERT_EQ(ctx.Card.Page().Count(ClearedArea), 1);
    EXPECT_EQ(ctx.Card.Page().Field(ClearedArea, 0).a,
              (std::array<int32_t, 6>{985, 1985, 1530, 270, 0, 0}));
    EXPECT_FALSE(Changed());                                        // "Save Change" saved the card
    EXPECT_EQ(edit.State().EditMode, EditingStep::AddingTextField); // the action is armed again
    EXPECT_FALSE(edit.State().ActionPending);

    // 241 high: a multi-line editor; sizes round to whole points, 10.4 as the card's 10.
    Draw(1000, 4000, 3000, 4241);
    EXPECT_EQ(edit.State().Editor.index, 3);
    view.fontAnswer = FontChoice{"Arial", 10.4, false, false};
    edit.FontButtonClicked();
    view.editorText = "two";
    SaveChange();
    EXPECT_EQ(Text(1).a[3], 241);
    EXPECT_EQ(Text(1).a[5], 3);
    EXPECT_EQ(Text(1).text, "two");

    edit.AlignmentClicked(2);
    Draw(1000, 6000, 3000, 6100);
    view.fontAnswer = FontChoice{"Times New Roman", 10.6, true, false};
    edit.FontButtonClicked();
    EXPECT_EQ(view.fontPreset->name, "Arial");
    view.editorText = "x";
    SaveChange();
    EXPECT_EQ(Text(2).a[5], 2 + 16 + 11 * 256);
    EXPECT_EQ(Text(2).text, "#<Times New Roman>#x");
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LayoutEditTest, EditingAFieldInTheCardsFontDropsItsPrefixAndCancelLeavesItAlone) {
    OpenCard({"2,1000,1000,2000,240,2,\"#<Courier New>#abc\",128"});
    const CardPage before = ctx.Card.Page();
    edit.MenuCommand(menu::EditField);
    edit.Click(1500, 1100);
    ASSERT_TRUE(edit.Lifted());
    EXPECT_EQ(edit.State().PanelMenuIndex, menu::AddTextField);
    EXPECT_EQ(view.editorText, "abc");
    EXPECT_EQ(edit.State().Editor.fontName, "Courier New");
    edit.ArrowChanged(Arrow::UpDown, 1);          // one pixel down
    edit.ActionButton(PanelButton::CancelAction); // "Cancel Action"
    EXPECT_EQ(ctx.Card.Page().Fields(TextField), before.Fields(TextField));
    EXPECT_FALSE(edit.Lifted());

    edit.Click(1500, 1100);
    view.fontAnswer = FontChoice{"Arial", 10, false, false};
    edit.FontButtonClicked();
    edit.ArrowChanged(Arrow::UpDown, 2);
    SaveChange();
    EXPECT_EQ(Text(0).text, "abc");
    EXPECT_EQ(Text(0).a, (std::array<int32_t, 6>{1000, 1015, 2000, 240, 2, 128}));
}

TEST_F(LayoutEditTest, ClearingAnAreaAsksOnlyOverFieldsAndNeverTakesShapes) {
    OpenCard({"2,1000,1000,500,240,1,\"a\",0", "2,2000,1000,500,240,1,\"b\",0",
              "2,3000,1000,500,240,1,\"c\",0", "6,900,900,3000,500,1,0,0",
              "12,900,4000,1300,1300,1,\"\",0"});
    // Nothing there: no question, the area is recorded.
    edit.MenuCommand(menu::ClearArea);
    Draw(1000, 5000, 2000, 6000);
    SaveChange();
    EXPECT_TRUE(prompter.MessageTexts().empty());
    ASSERT_EQ(ctx.Card.Page().Count(ClearedArea), 1);
    EXPECT_EQ(ctx.Card.Page().Field(ClearedArea, 0).a,
              (std::array<int32_t, 6>{1000, 5000, 1000, 1000}));

    // Over the three text fields (the last only touched at its corner): No changes nothing
    // and leaves the area being placed, to be moved or made smaller.
    const CardPage before = ctx.Card.Page();
    Draw(1100, 1100, 3000, 1240);
    prompter.QueueAnswer(Answer::No);
    SaveChange();
    EXPECT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_EQ(ctx.Card.Page().Fields(TextField), before.Fields(TextField));
    EXPECT_EQ(ctx.Card.Page().Count(ClearedArea), 1);
    EXPECT_EQ(edit.State().EditMode, EditingStep::ClearingArea);
    EXPECT_TRUE(edit.State().ActionPending);
    EXPECT_TRUE(edit.State().Mobile.visible);

    edit.MenuCommand(menu::ClearArea);
    Draw(1100, 1100, 3000, 1240);
    prompter.QueueAnswer(Answer::Yes);
    SaveChange();
    EXPECT_EQ(prompter.MessageTexts().size(), 2u);
    EXPECT_EQ(prompter.MessageTexts().back(),
              "This operation will remove one or more existing fields.\r\n\r\nDo you want to "
              "proceed with this operation anyway?");
    EXPECT_EQ(ctx.Card.Page().Count(TextField), 0);
    EXPECT_EQ(ctx.Card.Page().Count(Rectangle), 1);
    EXPECT_EQ(ctx.Card.Page().Count(Line), 1);
    EXPECT_EQ(ctx.Card.Page().Count(ClearedArea), 2);
}

TEST_F(LayoutEditTest, AnotherActionDropsAHalfDrawnFieldAndDoneWithNoLeavesWithoutIt) {
    OpenCard({});
    edit.MenuCommand(menu::AddTextField);
    Draw(1000, 1000, 3000, 1240);
    view.editorText = "half";
    edit.MenuCommand(menu::AddCheckBox);
    EXPECT_TRUE(prompter.Log().empty());
    EXPECT_EQ(ctx.Card.Page().Count(TextField), 0);
    EXPECT_EQ(edit.State().EditMode, EditingStep::AddingCheckBox);
    EXPECT_FALSE(edit.State().ActionPending);

    // A nudge of the marker is a change that can be kept: Done asks about it.
    edit.ArrowChanged(Arrow::LeftRight, 1);
    EXPECT_TRUE(edit.State().ActionPending);
    prompter.QueueAnswer(Answer::No);
    edit.ActionButton(PanelButton::Done);
    EXPECT_EQ(prompter.MessageTexts(),
              std::vector<std::string>{"Do you want to save the changes?"});
    EXPECT_EQ(ctx.Card.Page().Count(CheckBox), 0);
    EXPECT_EQ(edit.State().EditMode, EditingStep::FillingIn);
    EXPECT_FALSE(edit.State().PanelVisible);
    EXPECT_EQ(view.done, 1);
}

TEST_F(LayoutEditTest, CheckBoxesLinesAndArrowsKeepToOnePixelSteps) {
    OpenCard({});
    edit.MenuCommand(menu::AddCheckBox);
    EXPECT_EQ(edit.State().Mobile.rect.width, 135);
    edit.MoveMobileTo(3000, 4000);
    edit.ArrowChanged(Arrow::Wider, 1); // the marker stays square
    EXPECT_EQ(edit.State().Mobile.rect, (TwipRect{3000, 4000, 150, 150}));
    edit.ColourClicked(2);
    SaveChange();
    ASSERT_EQ(ctx.Card.Page().Count(CheckBox), 1);
    EXPECT_EQ(ctx.Card.Page().Field(CheckBox, 0).a,
              (std::array<int32_t, 6>{3015, 4015, 2, 0, 0, 150}));

    edit.MenuCommand(menu::AddRectangle);
    Draw(1000, 1000, 2500, 2000);
    // The arrows remember their last value: a higher one is a step wider.
    int value = edit.State().SpinMemory[size_t(Arrow::Wider)];
    for (int step = 0; step < 10; ++step)
        edit.ArrowChanged(Arrow::Wider, ++value);
    EXPECT_EQ(edit.State().Mobile.rect.width, 1650);
    Draw(1000, 1000, 1012, 2000); // 12 wide narrows once, to nothing, and no further
    edit.ArrowChanged(Arrow::Wider, --value);
    EXPECT_EQ(edit.State().Mobile.rect.width, 0);
    edit.ArrowChanged(Arrow::Wider, --value);
    EXPECT_EQ(edit.State().Mobile.rect.width, 0);
    Draw(1000, 1000, 1009, 2000);
    edit.ArrowChanged(Arrow::Wider, --value);
    EXPECT_EQ(edit.State().Mobile.rect.width, 9);

    // Three horizontal lines 240 apart: the drag only stretches the line sideways.
    edit.MenuCommand(menu::AddHorizontalLine);
    EXPECT_FALSE(edit.State().TallerEnabled);
    Draw(3000, 2000, 1000, 2600);
    edit.SetLineCountText("3");
    edit.SetLineSpacingText("240");
    SaveChange();
    ASSERT_EQ(ctx.Card.Page().Count(Line), 3);
    EXPECT_EQ(ctx.Card.Page().Field(Line, 0).a,
              (std::array<int32_t, 6>{1000, 3000, 2000, 2000, 1, 1}));
    EXPECT_EQ(ctx.Card.Page().Field(Line, 2).a[2], 2480);
    edit.ActionButton(PanelButton::Done);
    EXPECT_TRUE(edit.State().TallerEnabled);
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LayoutEditTest, BadInputChangesNothing) {
    std::vector<std::string> records;
    for (int i = 0; i < 501; ++i)
        records.push_back("2,100," + std::to_string(100 + i) + ",50,240,1,\"\",0");
    OpenCard(records);
    const CardPage before = ctx.Card.Page();
    // A click without a drag draws nothing.
    edit.MenuCommand(menu::AddRectangle);
    Draw(500, 500, 500, 500);
    EXPECT_FALSE(edit.State().ActionPending);
    EXPECT_FALSE(edit.State().Mobile.visible);
    // A full table refuses the new field with a message.
    edit.MenuCommand(menu::AddTextField);
    Draw(6000, 6000, 7000, 6240);
    view.editorText = "more";
    SaveChange();
    ASSERT_EQ(prompter.MessageTexts().size(), 1u);
    EXPECT_NE(prompter.MessageTexts()[0].find("text fields"), std::string::npos);
    EXPECT_EQ(ctx.Card.Page().Fields(TextField), before.Fields(TextField));
    EXPECT_EQ(ctx.Card.Page().Count(ClearedArea), 0);
    // A field drawn past the card's edge is cut to the card.
    edit.MenuCommand(menu::AddRectangle);
    Draw(11000, 14800, 12500, 16000);
    EXPECT_EQ(edit.State().Mobile.rect, (TwipRect{11000, 14800, 520, 320}));
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(LayoutEditTest, SetFontOnAllTextFieldsSaysWhatItDid) {
    OpenCard({"2,100,100,500,240,1,\"a\",0", "2,100,400,500,240,1,\"b\",1"});
    edit.MenuCommand(menu::SetFontOnAllFields);
    EXPECT_TRUE(edit.State().FontButtonsEnabled);
    view.fontAnswer = FontChoice{"Courier New", 12, false, false};
    edit.FontButtonClicked();
    EXPECT_EQ(view.fontPreset->name, "Arial");
    SaveChange();
    EXPECT_EQ(Text(1).a[5], 1 + 64 + 12 * 256);
    EXPECT_EQ(Text(1).text, "#<Courier New>#b");
    EXPECT_EQ(prompter.MessageTexts(), std::vector<std::string>{"All text fields on the Front "
                                                                "Side have been set to the "
                                                                "selected font."});
}
