#include "AppContext.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QImage>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

// The formats that ship in data/; a format added there must be added here.
const std::vector<std::string> kShippedFormats = {"acbl", "sayc", "wbfb", "club", "ebu"};

// How a page's ink (pixels darker than mid-grey) is spread: its share of the page and its
// share in each ninth of the page.
struct Ink {
    double share = 0;
    std::array<double, 9> ninths{};
};

Ink InkOf(const QImage& page) {
    Ink ink;
    std::array<long, 9> dark{}, all{};
    long total = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const size_t cell = size_t(3 * (3 * y / page.height()) + 3 * x / page.width());
            ++all[cell];
            if (qGray(page.pixel(x, y)) < 128) {
                ++dark[cell];
                ++total;
            }
        }
    ink.share = double(total) / (double(page.width()) * page.height());
    for (size_t i = 0; i < 9; ++i)
        ink.ninths[i] = double(dark[i]) / double(all[i]);
    return ink;
}

// The sample card of every shipped format, on a copy of the shipped data.
class ShippedCardTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    }
    void SetUp() override {
        fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
        ASSERT_TRUE(ctx.ReadSystemSettings());
        for (int16_t i = 0; i < ctx.Catalogue.FormatCount; ++i)
            if (ctx.Catalogue.Code(i) == GetParam())
                slot = i;
        ASSERT_GE(slot, 0) << GetParam() << " is not in the shipped cwr.sys";
    }
    // Opens the sample card's page; false when the format has no such page.
    bool Open(bool back) {
        ctx.BackSideSelected = back;
        int16_t chosen = slot;
        EXPECT_TRUE(ctx.SetupCardFormat(chosen, canvasView));
        if (back && !ctx.Catalogue.HasBackPage(slot))
            return false;
        ctx.Location.CurrentCardName = back ? "testcrd_" : "testcrd";
        EXPECT_TRUE(ctx.LoadCard());
        return true;
    }
    const QImage& Render() {
        screen.SelectSurface(canvas.Surface());
        screen.RenderCard();
        return canvas.Picture();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    CardCanvas canvas;
    CanvasCardView canvasView{ctx, canvas};
    CardRenderer screen{ctx, canvasView};
    int16_t slot = -1;
};

TEST(ShippedFormats, EveryShippedFormatHasItsCardTest) {
    TempDir dir;
    fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive);
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    ASSERT_TRUE(ctx.ReadSystemSettings());
    std::vector<std::string> codes;
    for (int16_t i = 0; i < ctx.Catalogue.FormatCount; ++i)
        codes.push_back(ctx.Catalogue.Code(i));
    EXPECT_EQ(codes, kShippedFormats);
}

// Both pages draw without a fault, with ink over the whole page: a page cut short, a panel
// left blank or a layout file that lost its records shows in the ninths or the share.
TEST_P(ShippedCardTest, BothPagesDrawAcrossThePage) {
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        Ink ink = InkOf(Render());
        SCOPED_TRACE(back ? "back" : "front");
        // The shipped pages lie between 5 and 10 per cent; a ninth with nothing but the
        // rules of an empty notes area shows about half a per cent.
        EXPECT_GT(ink.share, 0.03);
        EXPECT_LT(ink.share, 0.25);
        for (double ninth : ink.ninths)
            EXPECT_GT(ninth, 0.003);
    }
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

// The sample card reads back as it was saved: every field, every mark and the header.
TEST_P(ShippedCardTest, SampleSurvivesSaveAndLoad) {
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        SCOPED_TRACE(back ? "back" : "front");
        ASSERT_GT(ctx.Page.Count(TextField), 2);
        CardPage loaded = ctx.Page;
        ASSERT_TRUE(ctx.SaveCard());
        ASSERT_TRUE(ctx.LoadCard());
        for (int kind = 0; kind < CardPage::KindSlots; ++kind)
            EXPECT_EQ(ctx.Page.Fields(kind), loaded.Fields(kind)) << "kind " << kind;
        EXPECT_EQ(ctx.Page.CardHeader, loaded.CardHeader);
    }
    EXPECT_TRUE(errors.shown.empty());
}

// Every mark of the sample card clicked through all its states, and every text written anew:
// after each change the screen picture is what a whole page drawn afresh shows, so a mark
// that goes takes no bite out of a neighbour it touched, a mark that comes is drawn whole,
// and a shorter text leaves nothing of the longer one behind.
TEST_P(ShippedCardTest, EveryMarkRedrawnAloneLooksAsOnAPageDrawnAfresh) {
    struct Cycle {
        int kind;
        int attribute;
        int states;
    };
    const Cycle cycles[] = {{CheckBox, 4, 2}, {Circle, 3, 4},      {FrameBox, 4, 3},
                            {TickMark, 2, 2}, {OptionField, 4, 4}, {CircledItem, 3, 4}};
    CardCanvas freshCanvas;
    CanvasCardView freshView{ctx, freshCanvas};
    CardRenderer fresh{ctx, freshView};
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        Render();
        std::string differing;
        for (const Cycle& cycle : cycles)
            for (int i = 0; i < ctx.Page.Count(cycle.kind); ++i)
                for (int step = 1; step <= cycle.states; ++step) {
                    if (cycle.kind == CircledItem) {
                        screen.CycleCircledItem(i);
                    } else {
                        CardField& field = ctx.Page.Field(cycle.kind, i);
                        field.a[size_t(cycle.attribute)] =
                            (field.a[size_t(cycle.attribute)] + 1) % cycle.states;
                        screen.RedrawField(cycle.kind, i);
                    }
                    fresh.SelectSurface(freshCanvas.Surface());
                    fresh.RenderCard();
                    if (canvas.Picture() != freshCanvas.Picture()) {
                        differing += " " + std::to_string(cycle.kind) + "/" + std::to_string(i);
                        Render();
                    }
                }
        // A text field written shorter and back again, as typing and committing do.
        for (int i = 0; i < ctx.Page.Count(TextField); ++i) {
            const std::string text = ctx.Page.Field(TextField, i).text;
            for (const std::string& typed : {std::string("x"), text}) {
                ctx.Page.Field(TextField, i).text = typed;
                screen.RedrawField(TextField, i);
                fresh.SelectSurface(freshCanvas.Surface());
                fresh.RenderCard();
                if (canvas.Picture() != freshCanvas.Picture()) {
                    differing += " text/" + std::to_string(i);
                    Render();
                }
            }
        }
        EXPECT_EQ(differing, "") << (back ? "back" : "front");
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedCardTest, ::testing::ValuesIn(kShippedFormats),
                         [](const auto& info) { return info.param; });

} // namespace
