#include "AppContext.h"
#include "ErrorTrap.h"
#include "PrintLayout.h"
#include "PrintOptionsModel.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

FormatSpec Format(const std::string& code, bool backPage, int orientation, int width = 216,
                  int height = 279) {
    FormatSpec spec;
    spec.code = code;
    spec.base = code;
    for (char& c : spec.base)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    spec.extension = spec.base.substr(0, 3);
    spec.backPage = backPage;
    spec.extraLines = {"w12 6",
                       "w14 8",
                       "w16 " + std::to_string(orientation),
                       "w18 " + std::to_string(width),
                       "w19 " + std::to_string(height),
                       "w21 2"};
    return spec;
}

// Formats by their codes on a temporary data root.
class PrintOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDataRoot(dir.Path(),
                     {Format("ACBL", true, 2), Format("CLUB", false, 2, 210, 297),
                      Format("AUSTRIA", true, 2, 210, 297), Format("SCOTT", true, 1, 297, 210),
                      Format("GERMAN1", true, 1, 297, 210), Format("WIDE", true, 1, 297, 210)});
        ASSERT_TRUE(ctx.ReadSystemSettings());
    }

    void Select(int16_t slot) { ASSERT_TRUE(ctx.SetupCardFormat(slot, view)); }

    void SaveFlags(int32_t flags, double width, double height) {
        ctx.Format.EditDefaults().PrintFlags = flags;
        ctx.Format.EditDefaults().PrintWidthSetting = width;
        ctx.Format.EditDefaults().PrintHeightSetting = height;
        ASSERT_TRUE(ctx.ApplyFormatDefaults(true));
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
};

} // namespace

TEST_F(PrintOptionsTest, OptionsFollowTheFormatAndItsSavedChoices) {
    Select(0); // ACBL, never saved: both sides, the paper upright, the format's print size
    {
        PrintOptionsModel model(ctx);
        EXPECT_TRUE(model.HasBackPage());
        EXPECT_TRUE(model.OrientationOffered());
        EXPECT_EQ(model.Choices().side, PrintSide::Both);
        EXPECT_FALSE(model.Choices().landscape);
        EXPECT_FALSE(model.Choices().blackOnly);
        EXPECT_EQ(model.DefaultLabel(BoxPrintWidth), "Default = 216");
        EXPECT_EQ(model.DefaultLabel(BoxBackMargin), "Default = 8");
        EXPECT_EQ(model.DefaultLabel(BoxFrontMargin), "Default = 6");
        EXPECT_EQ(model.DefaultLabel(BoxTextAlign), "Default = 2");
        EXPECT_EQ(model.Choices().boxes[BoxPrintHeight], 279);
        EXPECT_NE(model.Instructions().find("'Both Sides'.\n\nIf your printer can not"),
                  std::string::npos);
        EXPECT_NE(model.Instructions().find("card.\n\nChange the 'Back Page Margin'"),
                  std::string::npos);
    }
    SaveFlags(printflag::SettingsPresent | printflag::BackSide | printflag::BlackOnly, 216, 279);
    {
        PrintOptionsModel model(ctx);
        EXPECT_EQ(model.Choices().side, PrintSide::Back);
        EXPECT_TRUE(model.Choices().blackOnly);
    }
    // Flags without their "present" bit are not choices (new formats carry other values).
    SaveFlags(printflag::BackSide | printflag::BlackOnly, 216, 279);
    EXPECT_EQ(PrintOptionsModel(ctx).Choices().side, PrintSide::Both);

    Select(1); // a one-page card: its front only, whatever was saved
    SaveFlags(printflag::SettingsPresent | printflag::BothSides, 200, 250);
    PrintOptionsModel club(ctx);
    EXPECT_FALSE(club.HasBackPage());
    EXPECT_FALSE(club.OrientationOffered());
    EXPECT_EQ(club.Choices().side, PrintSide::Front);
    EXPECT_EQ(club.Instructions(), "Change the 'Print Width' and 'Print Height' values to change "
                                   "the size of the printed card.");
    EXPECT_EQ(club.Choices().boxes[BoxPrintWidth], 200);
    EXPECT_EQ(club.Choices().boxes[BoxPrintHeight], 250);
    EXPECT_EQ(club.DefaultLabel(BoxPrintWidth), "Default = 210");
}

TEST_F(PrintOptionsTest, OrientationShowsTheSizesThatGoWithIt) {
    Select(0);
    struct Row {
        bool savedLandscape, selectLandscape;
        double labelWidth, labelHeight, boxWidth, boxHeight;
    };
    // The saved size is 230 x 290; the format's own is 216 x 279, upright.
    const Row rows[] = {{false, false, 216, 279, 216, 279},
                        {false, true, 216, 279, 230, 290},
                        {true, false, 0, 279, 0, 279},
                        {true, true, 216, 279, 230, 290}};
    for (const Row& row : rows) {
        SaveFlags(printflag::SettingsPresent | (row.savedLandscape ? printflag::Landscape : 0), 230,
                  290);
        PrintOptionsModel model(ctx);
        EXPECT_EQ(model.Choices().landscape, row.savedLandscape);
        model.SelectOrientation(row.selectLandscape);
        SCOPED_TRACE(std::to_string(row.savedLandscape) + std::to_string(row.selectLandscape));
        EXPECT_EQ(model.DefaultValue(BoxPrintWidth), row.labelWidth);
        EXPECT_EQ(model.DefaultValue(BoxPrintHeight), row.labelHeight);
        EXPECT_EQ(model.Choices().boxes[BoxPrintWidth], row.boxWidth);
        EXPECT_EQ(model.Choices().boxes[BoxPrintHeight], row.boxHeight);
    }
    // A width of 0 follows the height: the card keeps its proportions.
    SaveFlags(printflag::SettingsPresent | printflag::Landscape, 230, 290);
    PrintOptionsModel model(ctx);
    model.SelectOrientation(false);
    PrintLayout layout = PrintLayoutFor(ctx, model, false);
    EXPECT_EQ(layout.scaleX, 1);
    EXPECT_EQ(layout.scaleY, 1);
    EXPECT_EQ(layout.orientation, QPageLayout::Portrait);
}

TEST_F(PrintOptionsTest, SaveSettingsWritesTheChoicesToTheFormatsDefaultsFile) {
    Select(0);
    PrintOptionsModel model(ctx);
    PrintChoices& c = model.Choices();
    c.side = PrintSide::Front;
    c.landscape = true;
    c.blackOnly = true;
    c.boxes = {220.4, 281.6, 7, 5, -2};
    ASSERT_TRUE(model.SavePrintSettings());
    auto lines = ReadLines(dir / "datasys" / "ACBL.dat");
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[1], "220");
    EXPECT_EQ(lines[2], "282");
    EXPECT_EQ(lines[3], std::to_string(16384 + 2 + 4 + 128));
    EXPECT_EQ(lines[4], "5");
    EXPECT_EQ(lines[5], "7");
    EXPECT_EQ(lines[11], "-2");

    // A size the card cannot have is refused and nothing is written.
    c.boxes[BoxPrintHeight] = 2 * 279;
    ASSERT_TRUE(model.Problem());
    EXPECT_NE(model.Problem()->find("Print Height must be a number from 0 to 557"),
              std::string::npos);
    EXPECT_FALSE(model.SavePrintSettings());
    EXPECT_EQ(ReadLines(dir / "datasys" / "ACBL.dat")[2], "282");
    c.boxes[BoxPrintHeight] = 279;
    c.boxes[BoxTextAlign] = 40000;
    EXPECT_TRUE(model.Problem());
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PrintOptionsTest, PaperOrientationByFormat) {
    auto orientation = [&](int16_t slot, bool landscapeChosen, bool a5) {
        Select(slot);
        return PaperRuleFor(ctx, landscapeChosen, a5).orientation;
    };
    const auto up = QPageLayout::Portrait, side = QPageLayout::Landscape;
    EXPECT_EQ(orientation(0, false, false), up); // the buttons name the paper
    EXPECT_EQ(orientation(0, true, false), side);
    EXPECT_EQ(orientation(1, true, false), up); // by column 17: 2 is upright
    EXPECT_EQ(orientation(5, false, false), side);
    EXPECT_EQ(orientation(2, false, false), up); // halves on A5 turned sideways
    EXPECT_EQ(orientation(2, false, true), side);
    EXPECT_EQ(orientation(3, false, false), side);
    EXPECT_EQ(orientation(3, false, true), up);
    EXPECT_EQ(orientation(4, false, true), up);
    Select(4);
    EXPECT_EQ(PaperRuleFor(ctx, false, true).forcedMargins, 16);
    EXPECT_EQ(PaperRuleFor(ctx, false, false).forcedMargins, 0);

    // The size entered against its default scales the card; margins and the text shift are
    // the job's twips.
    PrintOptionsModel model(ctx);
    PrintChoices& c = model.Choices();
    c.boxes = {297 + 10, 210, 3, 4, 2};
    PrintLayout layout = PrintLayoutFor(ctx, model, true);
    EXPECT_DOUBLE_EQ(layout.scaleX, 297.0 / 287.0);
    EXPECT_DOUBLE_EQ(layout.scaleY, 1);
    EXPECT_EQ(layout.FrontPageLeftMargin, 907); // 16 mm on A5
    EXPECT_EQ(layout.BackPageLeftMargin, 907);
    EXPECT_EQ(layout.UserTextPrintOffset, 2 * ctx.TwipsPerPixel);
    layout = PrintLayoutFor(ctx, model, false);
    EXPECT_EQ(layout.FrontPageLeftMargin, 227);
    EXPECT_EQ(layout.BackPageLeftMargin, 170);
    EXPECT_EQ(PrintScale(216, 0), 0);
    EXPECT_EQ(PrintScale(216, 432), 0);
    EXPECT_EQ(PrintScale(0, 100), 0);
}
