#include "OverflowCheck.h"

#include "AppContext.h"
#include "OpenCardCheck.h"
#include "RenderTestData.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"

#include <QFontDatabase>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

using namespace cw;
using namespace cw::test;

namespace {

// One card of a format drawn at 1.2 times its size, its front page open.
class OverflowCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    }

    void Open(const std::vector<std::string>& front, const std::vector<std::string>& back = {}) {
        format.viewScale = "1.2";
        MakeRenderRoot(dir.Path(), {format});
        WriteCardPage(dir.Path(), format, "card", false, front);
        WriteCardPage(dir.Path(), format, "card", true, back);
        ASSERT_TRUE(ctx.ReadSystemSettings());
        int16_t slot = 0;
        ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
        ctx.Card.SetCardName("card");
        ASSERT_TRUE(ctx.LoadCard());
    }
    CardField& Field(int index) { return ctx.Card.Edit().Field(TextField, index); }
    RenderRequest Shown() { return ctx.RequestForOpenPage(RenderTarget::Screen); }
    std::vector<FieldOverflow> Found() { return check.CheckPage(Shown()); }

    RenderFormat format;
    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
    // The paper holds 11340 x 11340 twips of the card.
    OverflowCheck check{trap, [](bool) {
                            return PrintedPage{11340, 11340, 0, 0};
                        }};
};

TEST_F(OverflowCheckTest, OneLineFieldAsWideAsItsTextFitsAndOneTwipLessShrinksItAtAnyZoom) {
    Open({RecordLine(2, {1000, 1000, 6000, 240, 0, 0}, "Weak 2<h>, 5-11 HCP"),
          RecordLine(2, {1000, 2000, 6000, 240, 0, 2 + 16}, "Strong, artificial 2<c>")});
    // The centred field has room to spare; the left-aligned one is fitted to its text.
    auto extent = check.MeasureField(Shown(), Field(0));
    ASSERT_TRUE(extent);
    // Left-aligned text starts two twips into its field.
    EXPECT_EQ(extent->cells.left(), 1002);
    const int32_t fitted = int32_t(std::ceil(extent->cells.right())) - 1000;
    // The answer is the same whatever the zoom of the view.
    for (float zoom : {1.2f, 2.4f, 0.6f}) {
        ctx.View.SetUserScale(zoom);
        Field(0).a[2] = fitted;
        EXPECT_TRUE(Found().empty()) << "zoom " << zoom;
        Field(0).a[2] = fitted - 1;
        auto found = Found();
        ASSERT_EQ(found.size(), 1u) << "zoom " << zoom;
        EXPECT_EQ(found[0].field, 0);
        // Half a point smaller, the text fits: drawn whole, nothing cut.
        EXPECT_EQ(found[0].reasons, Shrunk);
        EXPECT_DOUBLE_EQ(found[0].shrunkTo, ctx.Format.Defaults().BasicFontSize - 0.5);
        EXPECT_FALSE(IsCutOff(found[0]));
        EXPECT_EQ(found[0].text, "Weak 2<h>, 5-11 HCP");
    }
}

TEST_F(OverflowCheckTest, WrappedFieldWhoseLastLineEndsOnItsBottomEdgeIsNotShrunk) {
    Open({RecordLine(2, {1000, 1000, 2500, 2000, 0, 3},
                     "Forcing one round\r\n\r\nNew suit by responder is forcing to game after a "
                     "two over one response")});
    auto extent = check.MeasureField(Shown(), Field(0));
    ASSERT_TRUE(extent);
    // The text wraps onto several lines below the empty one.
    ASSERT_GT(extent->lastLineBottom - 1000, 3 * (extent->cells.height() / 6));
    Field(0).a[3] = int32_t(std::ceil(extent->lastLineBottom)) - 1000;
    EXPECT_TRUE(Found().empty());
    Field(0).a[3] -= 1;
    auto found = Found();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].reasons, Shrunk);
    // Far too small a field: the text is cut at its bottom even at the smallest size.
    Field(0).a[3] = 300;
    found = Found();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].reasons, Shrunk | BelowBottom);
    EXPECT_TRUE(IsCutOff(found[0]));
}

TEST_F(OverflowCheckTest, BothPagesAreCheckedAndTextOffThePrintedPageIsFound) {
    Open({RecordLine(2, {1000, 11000, 3000, 240, 0, 0}, "Bottom line"),
          RecordLine(2, {1000, 1000, 3000, 240, 0, 0}, "Fits"),
          RecordLine(2, {1000, 10000, 3000, 240, 0, 0}, "")},
         {RecordLine(2, {1000, 1000, 3000, 240, 0, 0}, "Fits"),
          RecordLine(2, {1000, 2000, 300, 240, 0, 0}, "Much too long for its field")});
    // The front page as it is now, the back page as saved.
    Field(2).text = "Typed but not yet saved, and far wider than three thousand twips";
    auto found = CheckOpenCard(ctx, check);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].backPage, false);
    EXPECT_EQ(found[0].field, 0);
    EXPECT_EQ(found[0].reasons, OffPage);
    EXPECT_EQ(found[1].field, 2);
    EXPECT_EQ(found[1].reasons, Shrunk | TooWide);
    EXPECT_EQ(found[2].backPage, true);
    EXPECT_EQ(found[2].field, 1);
    EXPECT_EQ(DescribeOverflow(found[2].reasons & CutOffReasons), "too wide");
    // Shrunk to 60% of the card's size, or 5 points where that is smaller.
    const double smallest = std::max(5.0, 0.6 * ctx.Format.Defaults().BasicFontSize);
    EXPECT_DOUBLE_EQ(found[2].shrunkTo, smallest);
    std::ostringstream expected;
    expected << "shrunk to " << smallest << " pt, cut off: too wide";
    EXPECT_EQ(DescribeOverflow(found[2]), expected.str());
    // Checking the other page leaves the shown side as it was.
    EXPECT_FALSE(ctx.Card.BackSide());
    EXPECT_TRUE(errors.shown.empty());
}

} // namespace
