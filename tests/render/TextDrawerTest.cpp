#include "TextDrawer.h"

#include "DrawingContext.h"
#include "RecordingSurface.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;
using Op = RecordingSurface::Op;

namespace {

// Text drawing on the recorder: every character is 100 twips wide and every line 200 high,
// so positions follow from the algorithms alone.
class TextDrawerTest : public ::testing::Test {
protected:
    void SetUp() override {
        drawing.fonts.BasicFont = "Arial";
        drawing.fonts.BasicFontSize = 10;
        drawing.viewScale = 1;
        drawing.twipsPerPixel = 15;
        text.SetSurface(&surface);
    }

    // Draws a field at (0, 0) and returns the y after it.
    int32_t Field(const std::string& body, int32_t width, int32_t height, int32_t code = 0,
                  int32_t style = 0) {
        int32_t y = 0;
        text.DrawFieldText(0, y, body, width, height, code, style);
        return y;
    }
    std::vector<RecordingSurface::Call> Texts() const { return surface.CallsOf(Op::Text); }

    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    // No format, no data folder: the drawing's values alone.
    DrawingContext drawing;
    RenderState state;
    TextDrawer text{trap, drawing, state};
    RecordingSurface surface{100, 200};
};

} // namespace

TEST_F(TextDrawerTest, SuitTagsBecomeColouredSymbolsOnTheSameBaseline) {
    Field("2<h> 3<s>", 5000, 240);
    auto calls = Texts();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].text, "2");
    EXPECT_EQ(calls[1].text, "\u2665");
    EXPECT_EQ(calls[2].text, " 3");
    EXPECT_EQ(calls[3].text, "\u2660");
    EXPECT_EQ(calls[0].colour, colour::Black);
    EXPECT_EQ(calls[1].colour, colour::Red);
    EXPECT_EQ(calls[2].colour, colour::Black);
    EXPECT_EQ(calls[3].colour, colour::Black);
    EXPECT_EQ(calls[1].state.fontName, "Pip4");
    EXPECT_TRUE(calls[1].state.fontBold);
    EXPECT_EQ(calls[2].state.fontName, "Arial");
    EXPECT_FALSE(calls[2].state.fontBold);
    // Left aligned two twips in; each piece follows the one before; no line moves.
    EXPECT_EQ(calls[0].x1, 2);
    EXPECT_EQ(calls[1].x1, 102);
    EXPECT_EQ(calls[2].x1, 202);
    EXPECT_EQ(calls[3].x1, 402);
    for (const auto& call : calls)
        EXPECT_EQ(call.y1, 0);
    EXPECT_EQ(surface.FontName(), "Arial");
}

TEST_F(TextDrawerTest, CapitalTagsAndDigitTagsDrawSymbols) {
    Field("<H><1><3>", 5000, 240);
    auto calls = Texts();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].text, "\u2665");
    EXPECT_EQ(calls[0].colour, colour::Red);
    EXPECT_EQ(calls[1].text, "\u2660");
    EXPECT_EQ(calls[1].colour, colour::Red);
    EXPECT_EQ(calls[2].text, "\u2666");
    EXPECT_EQ(calls[2].colour, colour::Blue);
}

TEST_F(TextDrawerTest, OtherTagsAndOpenBracketsAreDrawnAsTyped) {
    Field("<x> a<bc d<", 5000, 240);
    std::string joined;
    for (const auto& call : Texts()) {
        EXPECT_EQ(call.state.fontName, "Arial");
        joined += call.text;
    }
    EXPECT_EQ(joined, "<x> a<bc d<");
    surface.Forget();
    Field("1<h", 5000, 240);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, "1<h");
}

TEST_F(TextDrawerTest, BlackAndWhitePrintingDrawsBlackSuits) {
    state.PrintMode = 1;
    state.PrintBlackWhite = true;
    Field("<h><d>", 5000, 240);
    for (const auto& call : Texts())
        EXPECT_EQ(call.colour, colour::Black);
    surface.Forget();
    state.PrintBlackWhite = false;
    Field("<h>", 5000, 240);
    EXPECT_EQ(Texts()[0].colour, colour::Red);
}

TEST_F(TextDrawerTest, OneLineFieldNeverWraps) {
    int32_t y = Field("abcdefgh ijk", 300, 240);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, "abcdefgh ijk");
    EXPECT_EQ(y, 0);
}

TEST_F(TextDrawerTest, WrappingBreaksAtTheLastSpaceOrBetweenCharacters) {
    int32_t y = Field("abcdefgh", 350, 1000);
    auto calls = Texts();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].text, "abc");
    EXPECT_EQ(calls[1].text, "def");
    EXPECT_EQ(calls[2].text, "gh");
    EXPECT_EQ(calls[1].y1, 200);
    EXPECT_EQ(calls[2].y1, 400);
    EXPECT_EQ(y, 600);

    surface.Forget();
    Field("aa bb cc dd  ", 550, 1000);
    calls = Texts();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, "aa bb");
    EXPECT_EQ(calls[1].text, "cc dd");

    // A paragraph one twip wider than the field still fits.
    surface.Forget();
    Field("abc", 299, 1000);
    ASSERT_EQ(Texts().size(), 1u);
}

TEST_F(TextDrawerTest, WrappedLinesAreAlignedOneByOne) {
    Field("aaaa bb", 600, 1000, 0, 1); // right aligned
    auto calls = Texts();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].x1, 600 - 400);
    EXPECT_EQ(calls[1].x1, 600 - 200);
    surface.Forget();
    Field("aaaa bb", 600, 1000, 0, 5); // centred
    calls = Texts();
    EXPECT_EQ(calls[0].x1, 100);
    EXPECT_EQ(calls[1].x1, 200);
}

TEST_F(TextDrawerTest, AlignedTextIsMeasuredWithItsSuitSymbolsAsDrawn) {
    // "2<h>" draws two characters: right aligned it ends at the field's edge, centred it
    // sits in the middle, whatever the markup's three letters would measure.
    Field("2<h>", 600, 240, 0, 1);
    EXPECT_EQ(Texts().at(0).x1, 600 - 200);
    surface.Forget();
    Field("2<h>", 600, 240, 0, 2);
    EXPECT_EQ(Texts().at(0).x1, (600 - 200) / 2);
}

TEST_F(TextDrawerTest, EmptyParagraphLeavesOneEmptyLineAndAtMost64AreDrawn) {
    Field("one\r\n\r\nthree", 5000, 1000);
    auto calls = Texts();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].text, "three");
    EXPECT_EQ(calls[1].y1, 400);

    surface.Forget();
    std::string many;
    for (int i = 0; i < 70; ++i)
        many += (i ? "\r\n" : "") + std::to_string(i);
    Field(many, 5000, 1000);
    calls = Texts();
    ASSERT_EQ(calls.size(), 64u);
    EXPECT_EQ(calls.back().text, "63");
}

TEST_F(TextDrawerTest, FontPrefixChoosesTheFontAndIsNeverDrawn) {
    Field("#<Courier New>#abc", 5000, 240);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, "abc");
    EXPECT_EQ(Texts()[0].state.fontName, "Courier New");
    EXPECT_EQ(surface.FontName(), "Arial"); // restored afterwards

    surface.Forget();
    Field("#<Courier New abc", 5000, 240);
    EXPECT_TRUE(Texts().empty());

    EXPECT_EQ(TextDrawer::GetFontPrefix("#<Times>#x"), "#<Times>#");
    EXPECT_EQ(TextDrawer::GetFontPrefix("#<Times x"), "");
    EXPECT_EQ(TextDrawer::StripFontPrefix("#<Times>#x"), "x");
    EXPECT_EQ(TextDrawer::StripFontPrefix("plain"), "plain");
    EXPECT_EQ(TextDrawer::StripFontPrefix("#<Times x"), "");
}

TEST_F(TextDrawerTest, StyleWordGivesAlignmentBoldUnderlineAndSize) {
    const int32_t style = 2 + 16 + 128 + 10 * 256;
    drawing.fonts.BasicFontSize = 8;
    drawing.viewScale = 1.5f;
    Field("abcd", 1000, 240, 0, style);
    auto call = Texts().at(0);
    EXPECT_EQ(call.x1, 300); // (1000 - 400) / 2
    EXPECT_TRUE(call.state.fontBold);
    EXPECT_TRUE(call.state.fontUnderline);
    EXPECT_FALSE(call.state.fontItalic);
    EXPECT_DOUBLE_EQ(call.state.fontSize, 15);

    // On paper the size is the style's, less the printer's reduction for card text.
    surface.Forget();
    state.PrintMode = 1;
    state.PrintFontReduction = 0.5f;
    Field("abcd", 1000, 240, 0, style);
    EXPECT_DOUBLE_EQ(Texts().at(0).state.fontSize, 9.5);
    surface.Forget();
    drawing.drawingBaseText = true;
    Field("abcd", 1000, 240, 0, 0);
    EXPECT_DOUBLE_EQ(Texts().at(0).state.fontSize, 8);

    // Bit 64 takes bold and italic from the card's defaults.
    surface.Forget();
    drawing.fonts.BasicFontItalic = true;
    Field("x", 1000, 240, 0, 64 + 16);
    EXPECT_FALSE(Texts().at(0).state.fontBold);
    EXPECT_TRUE(Texts().at(0).state.fontItalic);
}

TEST_F(TextDrawerTest, ColourCodesSetTextAndBar) {
    const int32_t p = 15;
    // Codes from 30 on take the colour of their low three bits and draw no bar: 35 and 67
    // are white, 64 black, 33 the base text colour.
    drawing.fonts.BaseTextColour = 0x808000;
    for (auto [code, expected] : {std::pair{35, colour::White}, std::pair{67, colour::White},
                                  std::pair{64, colour::Black}, std::pair{33, 0x808000}}) {
        surface.Forget();
        Field("no bar", 1000, 240, code);
        EXPECT_EQ(Texts().at(0).colour, expected) << code;
        EXPECT_TRUE(surface.CallsOf(Op::BoxFill).empty()) << code;
    }

    surface.Forget();
    Field("grey bar", 1000, 240, 11);
    EXPECT_EQ(Texts().at(0).colour, colour::Black);
    auto bars = surface.CallsOf(Op::BoxFill);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].colour, colour::LightGrey);
    EXPECT_EQ(bars[0].y1, 2 * p);
    EXPECT_EQ(bars[0].y2, 200 - 2 * p);
    EXPECT_EQ(bars[0].x2, 1000);

    surface.Forget();
    Field("on red", 1000, 500, 10);
    EXPECT_EQ(Texts().at(0).colour, colour::White);
    bars = surface.CallsOf(Op::BoxFill);
    EXPECT_EQ(bars.at(0).colour, colour::Red);
    EXPECT_EQ(bars.at(0).y2, 500);

    // Plain codes clear the field in the field tint on screen, not when exporting.
    surface.Forget();
    state.FieldBackColour = 0xE0E0E0;
    Field("blue", 1000, 240, 5);
    EXPECT_EQ(Texts().at(0).colour, colour::Blue);
    EXPECT_EQ(surface.CallsOf(Op::BoxFill).at(0).colour, 0xE0E0E0);
    surface.Forget();
    state.ExportingImage = true;
    Field("blue", 1000, 240, 5);
    EXPECT_TRUE(surface.CallsOf(Op::BoxFill).empty());
}

TEST_F(TextDrawerTest, ResolveColourOfShapesTakesOtherValuesAsColours) {
    EXPECT_EQ(text.ResolveColour(1, 'r'), colour::Black);
    EXPECT_EQ(text.ResolveColour(4, 'r'), colour::Cyan);
    EXPECT_EQ(text.ResolveColour(0x123456, 'r'), 0x123456);
    EXPECT_EQ(state.ShapeColour, 0x123456);
    drawing.fonts.BaseTextColour = 0x008080;
    EXPECT_EQ(text.ResolveColour(1, 't'), 0x008080);
    EXPECT_EQ(text.ResolveColour(38, 't'), colour::Green);
    EXPECT_EQ(text.ResolveColour(20, 't'), colour::Black);
}

TEST_F(TextDrawerTest, VerticalTextGoesDownCharacterByCharacter) {
    int32_t y = 1000;
    text.DrawFieldText(500, y, "  AB C ", 300, 2000, 0, 2 + 128 + 16, true);
    auto calls = Texts();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].text, "A");
    EXPECT_EQ(calls[0].x1, 500);
    EXPECT_EQ(calls[0].y1, 1000);
    EXPECT_EQ(calls[1].y1, 1150); // 0.75 of a line
    EXPECT_EQ(calls[2].text, " ");
    EXPECT_EQ(calls[2].y1, 1300);
    EXPECT_EQ(calls[3].y1, 1400); // half a line after a space
    EXPECT_TRUE(calls[0].state.fontBold);
    EXPECT_FALSE(calls[0].state.fontUnderline);
}

TEST_F(TextDrawerTest, TextsAreDecodedFromTheCodePage) {
    Field("\x80 caf\xE9", 5000, 240);
    EXPECT_EQ(Texts().at(0).text, "\u20AC caf\u00E9");
    EXPECT_EQ(TextCodec::Western().Encode(QString::fromUtf8("\u20AC\u00E9\u4E2D")), "\x80\xE9?");
    EXPECT_EQ(TextCodec::Cyrillic().Decode("\xC0").toStdString(), "\u0410");
}

TEST_F(TextDrawerTest, CalibrationShrinksPrinterTextToTheScreenWidth) {
    RecordingSurface printer(105, 200), screen(100, 200);
    printer.SetWidthFollowsFontSize(true);
    screen.SetWidthFollowsFontSize(true);
    printer.SetFontSize(10);
    screen.SetFontSize(10);
    text.CalibratePrinterFont(printer, screen);
    EXPECT_NEAR(state.PrintFontReduction, 0.1, 1e-4);

    RecordingSurface wide(120, 200);
    wide.SetWidthFollowsFontSize(true);
    wide.SetFontSize(10);
    text.CalibratePrinterFont(wide, screen);
    EXPECT_NEAR(state.PrintFontReduction, 1.4, 1e-4);
    EXPECT_NEAR(wide.FontSize(), 8.6, 1e-4);

    RecordingSurface narrow(90, 200);
    narrow.SetWidthFollowsFontSize(true);
    narrow.SetFontSize(10);
    text.CalibratePrinterFont(narrow, screen);
    EXPECT_EQ(state.PrintFontReduction, 0);
}
