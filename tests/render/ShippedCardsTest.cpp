#include "AppContext.h"
#include "CardCanvas.h"
#include "CardRenderer.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <QFontDatabase>
#include <QImage>
#include <algorithm>
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
        for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
            if (ctx.Format.Catalogue().Code(i) == GetParam())
                slot = i;
        ASSERT_GE(slot, 0) << GetParam() << " is not in the shipped cwr.sys";
    }
    // Opens the sample card's page; false when the format has no such page.
    bool Open(bool back) {
        ctx.Card.SetBackSide(back);
        int16_t chosen = slot;
        EXPECT_TRUE(ctx.SetupCardFormat(chosen, noView));
        if (back && !ctx.Format.Catalogue().HasBackPage(slot))
            return false;
        ctx.Card.SetCardName(back ? "testcrd_" : "testcrd");
        EXPECT_TRUE(ctx.LoadCard());
        return true;
    }
    RenderRequest Shown() { return ctx.RequestForOpenPage(RenderTarget::Screen); }
    // The open page drawn by renderer on its picture, sized as the screen sizes it.
    void DrawOn(CardRenderer& renderer, CardCanvas& picture) {
        picture.Fit(ctx.View, ctx.TwipsPerPixel);
        renderer.Render(Shown(), picture.Surface());
    }
    const QImage& Render() {
        DrawOn(screen, canvas);
        return canvas.Picture();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    CardCanvas canvas;
    NoCardFormatView noView;
    CardRenderer screen{trap};
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
    for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
        codes.push_back(ctx.Format.Catalogue().Code(i));
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
        ASSERT_GT(ctx.Card.Page().Count(TextField), 2);
        CardPage loaded = ctx.Card.Page();
        ASSERT_TRUE(ctx.SaveCard());
        ASSERT_TRUE(ctx.LoadCard());
        for (int kind = 0; kind < CardPage::KindSlots; ++kind)
            EXPECT_EQ(ctx.Card.Page().Fields(kind), loaded.Fields(kind)) << "kind " << kind;
        EXPECT_EQ(ctx.Card.Page().CardHeader, loaded.CardHeader);
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
    CardRenderer fresh{trap};
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        Render();
        std::string differing;
        for (const Cycle& cycle : cycles)
            for (int i = 0; i < ctx.Card.Page().Count(cycle.kind); ++i)
                for (int step = 1; step <= cycle.states; ++step) {
                    CardField& field = ctx.Card.Edit().Field(cycle.kind, i);
                    field.a[size_t(cycle.attribute)] =
                        (field.a[size_t(cycle.attribute)] + 1) % cycle.states;
                    if (cycle.kind == CircledItem)
                        screen.RedrawCircledItem(canvas.Surface(), i);
                    else
                        screen.RedrawField(canvas.Surface(), cycle.kind, i);
                    DrawOn(fresh, freshCanvas);
                    if (canvas.Picture() != freshCanvas.Picture()) {
                        differing += " " + std::to_string(cycle.kind) + "/" + std::to_string(i);
                        Render();
                    }
                }
        // A text field written shorter and back again, as typing and committing do.
        for (int i = 0; i < ctx.Card.Page().Count(TextField); ++i) {
            const std::string text = ctx.Card.Page().Field(TextField, i).text;
            for (const std::string& typed : {std::string("x"), text}) {
                ctx.Card.Edit().Field(TextField, i).text = typed;
                screen.RedrawField(canvas.Surface(), TextField, i);
                DrawOn(fresh, freshCanvas);
                if (canvas.Picture() != freshCanvas.Picture()) {
                    differing += " text/" + std::to_string(i);
                    Render();
                }
            }
        }
        EXPECT_EQ(differing, "") << (back ? "back" : "front");
    }
}

// The sample's page file on the copy of the shipped data: "testcrd.<ext>" or "testcrd_.<ext>".
fs::path SamplePage(const fs::path& root, const std::string& code, bool back) {
    const std::string stem = back ? "testcrd_" : "testcrd";
    for (const auto& entry : fs::directory_iterator(root / code))
        if (entry.path().stem() == stem)
            return entry.path();
    return {};
}

// A shipped page loaded and saved unchanged is written byte for byte as shipped: the layout
// generator writes every record as the program does (a rectangle's colour as a number).
TEST_P(ShippedCardTest, SamplePageSavedUnchangedIsByteForByteAsShipped) {
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        SCOPED_TRACE(back ? "back" : "front");
        const fs::path page = SamplePage(dir.Path(), GetParam(), back);
        ASSERT_FALSE(page.empty());
        const std::string shipped = ReadFile(page);
        ASSERT_TRUE(ctx.SaveCard());
        const std::string saved = ReadFile(page);
        EXPECT_EQ(saved.size(), shipped.size());
        EXPECT_TRUE(saved == shipped)
            << "first difference at byte "
            << std::distance(
                   shipped.begin(),
                   std::mismatch(shipped.begin(), shipped.end(), saved.begin(), saved.end()).first);
    }
    EXPECT_TRUE(errors.shown.empty());
}

// Each page is drawn at the shape of its layout, and the layout's print size holds the page at
// its natural size with no more than a printer's margins to spare: a page printed at its default
// settings comes out at the size it was made for.
TEST_P(ShippedCardTest, PagesAreDrawnAtTheirPrintSize) {
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        SCOPED_TRACE(back ? "back" : "front");
        const fs::path page = SamplePage(dir.Path(), GetParam(), back);
        std::vector<std::string> lines = ReadLines(page);
        size_t first = 0;
        while (first < lines.size() && !lines[first].empty() && lines[first][0] == '|')
            ++first;
        ASSERT_GT(lines.size(), first + 16);
        const double printWidthMm = std::stod(lines[first + 6]);
        const double printHeightMm = std::stod(lines[first + 7]);
        const double widthTwips = std::stod(lines[first + 14]);
        const double heightTwips = std::stod(lines[first + 15]);
        constexpr double twipsPerMm = 1440.0 / 25.4;
        EXPECT_LE(widthTwips / twipsPerMm, printWidthMm + 0.5);
        EXPECT_LE(heightTwips / twipsPerMm, printHeightMm + 0.5);
        EXPECT_LT(printWidthMm - widthTwips / twipsPerMm, 16.0);
        EXPECT_LT(printHeightMm - heightTwips / twipsPerMm, 16.0);
        const QImage& picture = Render();
        EXPECT_NEAR(double(picture.width()) / picture.height(), widthTwips / heightTwips, 0.01);
    }
}

// The player's own text follows "Font Color": every filled-in field of the sample that takes
// the typed-text colour (code 1) is painted in that colour, and none in black.
TEST_P(ShippedCardTest, TypedTextFollowsFontColour) {
    const Rgb green = MakeRgb(0, 160, 0);
    int checked = 0;
    for (bool back : {false, true}) {
        if (!Open(back))
            continue;
        SCOPED_TRACE(back ? "back" : "front");
        // As "Font Color" sets it: the typed-text colour of the format's card layer, kept in
        // the format's defaults file.
        ctx.Format.EditDefaults().Apply(back, false);
        ctx.Format.EditDefaults().BaseTextColour = green;
        ctx.Format.EditDefaults().CollectInto(back, false);
        ctx.Format.DefaultsFile().Save(ctx.Format.EditCatalogue(), ctx.Format.Current(),
                                       ctx.Format.EditDefaults(), back, false);
        const QImage& picture = Render();
        const double scale = ctx.View.ViewScale() / ctx.TwipsPerPixel;
        for (const CardField& field : ctx.Card.Page().Fields(TextField)) {
            // Suit symbols keep their own colours; a font prefix or an alert colour is not
            // the typed-text colour.
            if (field.a[4] != 1 || field.text.empty() ||
                field.text.find('<') != std::string::npos ||
                field.text.find("#<") != std::string::npos)
                continue;
            const int x0 = int(field.a[0] * scale);
            const int y0 = int(field.a[1] * scale);
            const int x1 = std::min(picture.width(), int((field.a[0] + field.a[2]) * scale));
            const int y1 = std::min(picture.height(), int((field.a[1] + field.a[3]) * scale) + 1);
            int greenInk = 0, blackInk = 0;
            for (int y = std::max(0, y0); y < y1; ++y)
                for (int x = std::max(0, x0); x < x1; ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    if (c.green() < 200 && c.green() > c.red() + 40 && c.green() > c.blue() + 40)
                        ++greenInk;
                    else if (c.red() < 60 && c.green() < 60 && c.blue() < 60)
                        ++blackInk;
                }
            EXPECT_GT(greenInk, 0) << field.text;
            // The field's own writing line may run along the bottom of its box.
            EXPECT_LT(blackInk, greenInk / 4 + 2 * (x1 - x0) + 2) << field.text;
            ++checked;
        }
    }
    EXPECT_GT(checked, 2);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedCardTest, ::testing::ValuesIn(kShippedFormats),
                         [](const auto& info) { return info.param; });

} // namespace
