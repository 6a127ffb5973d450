#include "CardRenderer.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "PainterSurface.h"
#include "RecordingSurface.h"
#include "RenderTestData.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"

#include <QFontDatabase>
#include <algorithm>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;
using Op = RecordingSurface::Op;

namespace {

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A data root of test formats, one card open, and the renderer on a recorder or on the
// screen picture (one card twip is one fifteenth of a pixel at zoom 1).
class RendererTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QFontDatabase::addApplicationFont(QStringLiteral(CW_SOURCE_DATA "/fontsdir/Pip4.ttf"));
    }

    void Build(const std::vector<RenderFormat>& formats) {
        MakeRenderRoot(dir.Path(), formats);
        WritePicture(dir.Path(), "base.bmp", 0x00FF00);
        WritePicture(dir.Path(), "card.bmp", 0x0000FF);
        ASSERT_TRUE(ctx.ReadSystemSettings());
        ASSERT_EQ(ctx.Format.Catalogue().FormatCount, int(formats.size()));
        this->formats = formats;
    }
    // Opens card name of format slot on a side.
    void Open(int slot, const std::string& name, bool back = false) {
        int16_t chosen = int16_t(slot);
        ctx.Card.SetBackSide(back);
        ASSERT_TRUE(ctx.SetupCardFormat(chosen, view));
        ctx.Card.SetCardName(name + (back ? "_" : ""));
        ASSERT_TRUE(ctx.LoadCard());
    }
    // A card of the first format with the given front records, opened.
    void Card(const std::vector<std::string>& records,
              const std::array<std::string, 5>& names = {}) {
        WriteCardPage(dir.Path(), formats.at(0), "card", false, records, names);
        Open(0, "card");
    }
    // The open page as the screen, paper or a picture shows it, with the test's choices.
    RenderRequest Request(RenderTarget target) {
        RenderRequest request = ctx.RequestForOpenPage(target);
        request.mapping.pageOffsetX = pageOffset;
        request.options.ownCard = ownCard;
        request.options.userTextPrintOffset = userTextOffset;
        return request;
    }
    void RecordScreen() {
        recorder.Forget();
        renderer.Render(Request(RenderTarget::Screen), recorder);
    }
    // The boxes drawn, less the invisible one that starts every printed page.
    std::vector<RecordingSurface::Call> Boxes() const {
        std::vector<RecordingSurface::Call> boxes;
        for (const auto& call : recorder.CallsOf(Op::Box))
            if (call.x1 != 105)
                boxes.push_back(call);
        return boxes;
    }
    void RecordPaper(double pageHeight = 7200) {
        recorder.Forget();
        recorder.ActAsPrinter(2.4, pageHeight);
        renderer.Render(Request(RenderTarget::Paper), recorder);
    }
    const QImage& Picture() {
        canvas.Fit(ctx.View, ctx.TwipsPerPixel);
        screen.Render(Request(RenderTarget::Screen), canvas.Surface());
        return canvas.Picture();
    }
    QRgb Pixel(int twipsX, int twipsY) { return canvas.Picture().pixel(twipsX / 15, twipsY / 15); }
    // The page printed on a picture: paper of 96 dots an inch, one pixel to 15 twips.
    QImage Paper() {
        QImage paper(480, 480, QImage::Format_RGB32);
        paper.fill(Qt::white);
        FontBook fonts;
        PainterSurface surface(
            paper, DeviceMapping::Paper(96, 96, QSizeF(480, 480), QSizeF(7200, 7200)), fonts);
        renderer.Render(Request(RenderTarget::Paper), surface);
        surface.End();
        return paper;
    }
    // Takes every mark of the open card through all its states on the screen picture, as
    // clicks do; each round must end on the picture it started from.
    void CycleEveryMarkBackToTheFirstPicture(const std::string& what) {
        const QImage first = Picture().copy();
        struct Cycle {
            int kind;
            int attribute;
            int states;
        };
        for (Cycle cycle :
             {Cycle{CheckBox, 4, 2}, Cycle{Circle, 3, 4}, Cycle{FrameBox, 4, 3},
              Cycle{TickMark, 2, 2}, Cycle{OptionField, 4, 4}, Cycle{CircledItem, 3, 4}}) {
            for (int i = 0; i < ctx.Card.Page().Count(cycle.kind); ++i) {
                CardField& field = ctx.Card.Edit().Field(cycle.kind, i);
                for (int step = 1; step <= cycle.states; ++step) {
                    if (cycle.kind == CircledItem) {
                        field.a[3] = (field.a[3] + 1) & 3;
                        screen.RedrawCircledItem(canvas.Surface(), i);
                    } else {
                        field.a[size_t(cycle.attribute)] = step % cycle.states;
                        screen.RedrawField(canvas.Surface(), cycle.kind, i);
                    }
                    if (step < cycle.states) {
                        EXPECT_NE(canvas.Picture(), first)
                            << what << " kind " << cycle.kind << " state " << step;
                    }
                }
                EXPECT_EQ(canvas.Picture(), first) << what << " kind " << cycle.kind << " " << i;
            }
        }
    }

    TempDir dir;
    std::vector<RenderFormat> formats;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
    NoCardFormatView view;
    CardRenderer renderer{trap};
    RecordingSurface recorder{100, 200};
    CardCanvas canvas;
    CardRenderer screen{trap};
    int32_t pageOffset = 0;
    bool ownCard = true;
    int32_t userTextOffset = 0;
};

RenderFormat Plain() {
    RenderFormat format;
    format.code = "PLAIN";
    format.base = "plain";
    format.extension = "pln";
    return format;
}

} // namespace

TEST_F(RendererTest, EveryKindIsDrawnAndErasedBaseTextIsNot) {
    Build({EveryKindFormat()});
    WriteCardPage(dir.Path(), formats[0], "every", false, EveryKindCard());
    Open(0, "every");
    RecordScreen();
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_TRUE(prompter.MessageTexts().empty());
    auto texts = recorder.Texts();
    EXPECT_TRUE(Contains(texts, "Base text"));
    EXPECT_TRUE(Contains(texts, "Kind eight"));
    EXPECT_TRUE(Contains(texts, "Kind seventeen"));
    EXPECT_TRUE(Contains(texts, "Section title"));
    EXPECT_TRUE(Contains(texts, "Card label"));
    EXPECT_TRUE(Contains(texts, "Kind 8 card"));
    EXPECT_TRUE(Contains(texts, "Alice - Bob"));
    EXPECT_TRUE(Contains(texts, "NT"));
    EXPECT_TRUE(Contains(texts, "K"));
    EXPECT_FALSE(Contains(texts, "Hidden by an erased area"));
    EXPECT_FALSE(Contains(texts, "Printed only"));
    auto rotated = recorder.CallsOf(Op::Rotated);
    ASSERT_EQ(rotated.size(), 1u);
    EXPECT_EQ(rotated[0].text, "Rotated");
    EXPECT_EQ(rotated[0].rotated.weight, 800);
    EXPECT_EQ(rotated[0].rotated.angle, 90);
    EXPECT_EQ(rotated[0].colour, colour::Red);
    EXPECT_EQ(recorder.CallsOf(Op::Picture).size(), 2u);
    // The erased area is painted white over the base layer, after it.
    auto fills = recorder.CallsOf(Op::BoxFill);
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(), [](const auto& call) {
        return call.x1 == 150 && call.y1 == 350 && call.x2 == 2650 && call.y2 == 650 &&
               call.colour == colour::White;
    }));

    // On paper the print-only text appears and the erased text still does not.
    RecordPaper(20000);
    texts = recorder.Texts();
    EXPECT_TRUE(Contains(texts, "Printed only"));
    EXPECT_FALSE(Contains(texts, "Hidden by an erased area"));
    EXPECT_FALSE(renderer.State.FieldTooFarDown);
}

TEST_F(RendererTest, FooterWithTheDateIsPrintedForAcblOnly) {
    RenderFormat acbl = Plain();
    acbl.code = "ACBL";
    acbl.frontBase = {RecordLine(21, {200, 6000, 1200, 240, 0, 7 * 256})};
    RenderFormat other = Plain();
    other.frontBase = acbl.frontBase;
    Build({acbl, other});
    WriteCardPage(dir.Path(), acbl, "card", false, {});
    WriteCardPage(dir.Path(), other, "card", false, {});
    renderer.SetToday([] { return QDate(2026, 3, 7); });
    Open(0, "card");
    RecordScreen();
    EXPECT_TRUE(recorder.Texts().empty());
    RecordPaper();
    auto calls = recorder.CallsOf(Op::Text);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, " (03-07-2026)");
    EXPECT_EQ(calls[0].state.fontName, "Arial Narrow");
    EXPECT_TRUE(calls[0].state.fontBold);
    EXPECT_EQ(calls[0].state.fontSize, 7);
    EXPECT_EQ(calls[0].x1, 200);
    EXPECT_EQ(calls[0].y1, 6000);
    Open(1, "card");
    RecordPaper();
    EXPECT_TRUE(recorder.Texts().empty());
}

TEST_F(RendererTest, ItemsTooFarDownOnPaperAreSkippedAndNoted) {
    Build({Plain()});
    Card({RecordLine(3, {1000, 6000, 0, 0, 1, 150}), RecordLine(3, {2000, 6900, 0, 0, 1, 150})});
    RecordScreen();
    EXPECT_EQ(Boxes().size(), 2u);
    RecordPaper(7200);
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].x1, 1000);
    EXPECT_TRUE(renderer.State.FieldTooFarDown);
}

TEST_F(RendererTest, PaperShiftsByThePageMarginAndUsesThePrinterPen) {
    Build({Plain()});
    Card({RecordLine(3, {1000, 1000, 0, 0, 0, 150}),
          RecordLine(2, {500, 2000, 2000, 240, 0, 0}, "user text")});
    pageOffset = 300;
    userTextOffset = 45;
    RecordPaper();
    auto box = Boxes().at(0);
    EXPECT_EQ(box.x1, 1300);
    EXPECT_EQ(box.state.drawWidth, 6); // 600 dots an inch: six pixels a pen unit
    auto text = recorder.CallsOf(Op::Text).at(0);
    EXPECT_EQ(text.x1, 802);
    EXPECT_EQ(text.y1, 2045);
}

TEST_F(RendererTest, FieldTintIsPaintedOnScreenAndOnlyTintOneReachesPaper) {
    // Card text bars reach paper on this format only, so that the tint can show there.
    RenderFormat format = Plain();
    format.code = "AUSTR2";
    Build({format});
    Card({RecordLine(2, {1500, 1500, 3000, 240, 0, 0}, "")});
    const struct {
        const char* tint;
        QRgb screen;
        QRgb paper;
    } kTints[] = {{"0", qRgb(255, 255, 255), qRgb(255, 255, 255)},
                  {"1", qRgb(0xF0, 0xF0, 0xF0), qRgb(0xF0, 0xF0, 0xF0)},
                  {"2", qRgb(0xE0, 0xE0, 0xE0), qRgb(255, 255, 255)},
                  {"3", qRgb(0xC0, 0xFF, 0xFF), qRgb(255, 255, 255)}};
    for (const auto& tint : kTints) {
        ctx.Format.EditCatalogue().Formats[0][ColFieldTint] = tint.tint;
        Picture();
        EXPECT_EQ(Pixel(2000, 1620), tint.screen) << "tint " << tint.tint;
        EXPECT_EQ(Pixel(2000, 1000), qRgb(255, 255, 255));
        QImage paper = Paper();
        EXPECT_EQ(paper.pixel(2000 / 15, 1620 / 15), tint.paper) << "tint " << tint.tint;
        EXPECT_EQ(paper.pixel(2000 / 15, 1000 / 15), qRgb(255, 255, 255));
    }
}

TEST_F(RendererTest, ALineThroughATintedTextFieldShowsOnScreenAsOnPaper) {
    Build({Plain()});
    ctx.Format.EditCatalogue().Formats[0][ColFieldTint] = "2"; // grey bars on screen only
    // A text field and a drawn line across it, from (2000, 1000) down to (2000, 2500).
    Card({RecordLine(2, {1500, 1500, 3000, 240, 0, 0}, ""),
          RecordLine(12, {2000, 2000, 1000, 2500, 2, 0})});
    auto dark = [](QRgb pixel) {
        return qGray(pixel) < 100;
    };
    Picture();
    EXPECT_TRUE(dark(Pixel(2000, 1620))) << "the bar hides the line";
    EXPECT_EQ(Pixel(2300, 1620), qRgb(0xE0, 0xE0, 0xE0)); // the bar beside it
    QImage paper = Paper();
    EXPECT_TRUE(dark(paper.pixel(2000 / 15, 1620 / 15)));
    // Redrawing the field alone keeps the line over it.
    Picture();
    screen.RedrawField(canvas.Surface(), TextField, 0);
    EXPECT_TRUE(dark(Pixel(2000, 1620)));
}

TEST_F(RendererTest, TextTooLongForItsFieldIsShrunkOrCutButNeverInkedOutsideIt) {
    Build({Plain()});
    // Fields 1500 twips wide (100 pixels): a text a little too long, one far too long, and
    // a wrapped field with more lines than it holds.
    Card({RecordLine(2, {600, 600, 1500, 240, 0, 0}, "Weak two bids 5-10"),
          RecordLine(2, {600, 1500, 1500, 240, 0, 0},
                     "Strong artificial and forcing, any hand of game values"),
          RecordLine(2, {600, 2400, 1500, 600, 0, 3},
                     "Forcing one round, new suit by responder forcing, fourth suit to game")});
    // Ink in the picture's rows of a field, outside the columns of its box.
    auto inkOutside = [](const QImage& picture, int x0, int x1, int y0, int y1, int bottom) {
        int ink = 0;
        for (int y = y0; y < bottom; ++y)
            for (int x = 0; x < picture.width(); ++x)
                if ((x < x0 || x >= x1 || y >= y1) && qGray(picture.pixel(x, y)) < 160)
                    ++ink;
        return ink;
    };
    for (bool paper : {false, true}) {
        const QImage picture = paper ? Paper() : Picture().copy();
        for (int field = 0; field < 3; ++field) {
            const CardField& f = ctx.Card.Page().Field(TextField, field);
            const int x0 = f.a[0] / 15, x1 = (f.a[0] + f.a[2]) / 15 + 1;
            const int y0 = f.a[1] / 15, y1 = (f.a[1] + f.a[3]) / 15 + 2;
            const int bottom = field == 2 ? y1 + 40 : y1;
            EXPECT_EQ(inkOutside(picture, x0, x1, y0, y1, bottom), 0)
                << "field " << field << (paper ? " on paper" : " on screen");
        }
    }
}

TEST_F(RendererTest, HeartIsRedAndTickedSolidBoxIsFilled) {
    RenderFormat solid = Plain();
    solid.checkStyle = 0;
    Build({solid});
    Card({RecordLine(2, {600, 600, 3000, 1000, 0, 36 * 256}, "<h>"),
          RecordLine(3, {3000, 3000, 0, 0, 1, 300}), RecordLine(3, {4000, 3000, 0, 0, 0, 300})});
    const QImage& picture = Picture();
    int red = 0, blue = 0;
    for (int y = 40; y < 110; ++y)
        for (int x = 40; x < 110; ++x) {
            QColor c = picture.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                ++red;
            if (c.blue() > 200 && c.red() < 60)
                ++blue;
        }
    EXPECT_GT(red, 100);
    EXPECT_EQ(blue, 0);
    EXPECT_EQ(Pixel(3150, 3150), qRgb(0, 0, 0));       // ticked: filled
    EXPECT_EQ(Pixel(4150, 3150), qRgb(255, 255, 255)); // not ticked: empty inside
    EXPECT_EQ(Pixel(4000, 3150), qRgb(0, 0, 0));       // its outline
}

TEST_F(RendererTest, UntickingACrossedBoxLeavesACleanBox) {
    RenderFormat crossed = Plain();
    crossed.checkStyle = 2;
    Build({crossed});
    Card({RecordLine(3, {3000, 3000, 0, 0, 0, 300})});
    const QImage clean = Picture().copy();
    ctx.Card.Edit().Field(CheckBox, 0).a[4] = 1;
    screen.RedrawField(canvas.Surface(), CheckBox, 0);
    EXPECT_NE(canvas.Picture(), clean);
    ctx.Card.Edit().Field(CheckBox, 0).a[4] = 0;
    screen.RedrawField(canvas.Surface(), CheckBox, 0);
    EXPECT_EQ(canvas.Picture(), clean);
}

TEST_F(RendererTest, CircledItemClickedFourTimesIsPlainAgain) {
    Build({Plain()});
    Card({RecordLine(24, {3000, 3000, 0, 0, 12, 2}, "K")});
    const QImage plain = Picture().copy();
    for (int click = 1; click <= 4; ++click) {
        CardField& item = ctx.Card.Edit().Field(CircledItem, 0);
        item.a[3] = (item.a[3] + 1) & 3;
        screen.RedrawCircledItem(canvas.Surface(), 0);
        if (click == 1) {
            auto [dx, dy, r] = screen.Drawers().RingFor(QStringLiteral("K"));
            EXPECT_EQ(Pixel(3000 + dx + r, 3000 + dy), qRgb(255, 0, 0)); // the ring, in red
        }
    }
    int different = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != canvas.Picture().pixel(x, y))
                ++different;
    EXPECT_EQ(different, 0);
}

TEST_F(RendererTest, KeptBaseLayerGivesTheSamePicture) {
    Build({EveryKindFormat()});
    WriteCardPage(dir.Path(), formats[0], "every", false, EveryKindCard());
    Open(0, "every");
    screen.SetBaseLayerCacheEnabled(false);
    const QImage cold = Picture().copy();
    screen.SetBaseLayerCacheEnabled(true);
    Picture();
    EXPECT_EQ(screen.BaseLayerReuses(), 0);
    const QImage warm = Picture().copy();
    EXPECT_EQ(screen.BaseLayerReuses(), 1);
    EXPECT_EQ(warm, cold);
    // Another erased area is another base layer.
    ctx.Card.Edit().Add(ClearedArea, CardField{{3000, 100, 1500, 240, 0, 0}, ""});
    Picture();
    EXPECT_EQ(screen.BaseLayerReuses(), 1);
    EXPECT_EQ(Pixel(3100, 200), qRgb(255, 255, 255));
    // Paper never uses the kept picture.
    RecordPaper(20000);
    EXPECT_TRUE(Contains(recorder.Texts(), "Base text"));
}

TEST_F(RendererTest, PartnersCardShowsThePartnersNames) {
    RenderFormat pairs = Plain();
    RenderFormat sideBySide = Plain();
    sideBySide.code = "SIDE";
    sideBySide.base = "side";
    sideBySide.namesMode = 6;
    Build({pairs, sideBySide});
    const std::vector<std::string> records{
        RecordLine(2, {100, 100, 3000, 240, 0, 0}, "#<Courier New>#Me - Pard"),
        RecordLine(2, {100, 400, 3000, 240, 0, 0}, "111"),
        RecordLine(2, {100, 700, 3000, 240, 0, 0}, "other")};
    const std::array<std::string, 5> names{"Pard - Me", "222", "notes.not", "Me - Pard", "111"};
    WriteCardPage(dir.Path(), pairs, "card", false, records, names);
    WriteCardPage(dir.Path(), pairs, "card", true, records, names);
    WriteCardPage(dir.Path(), sideBySide, "card", false, records, names);

    Open(0, "card");
    ownCard = false;
    RecordScreen();
    auto calls = recorder.CallsOf(Op::Text);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].text, "Pard - Me");
    EXPECT_EQ(calls[0].state.fontName, "Courier New");
    EXPECT_EQ(calls[1].text, "222");
    EXPECT_EQ(calls[2].text, "other");
    ownCard = true;
    RecordScreen();
    EXPECT_EQ(recorder.Texts().at(0), "Me - Pard");

    // The back page has no names.
    Open(0, "card", true);
    ownCard = false;
    RecordScreen();
    EXPECT_EQ(recorder.Texts().at(0), "Me - Pard");

    // Names side by side change places, font prefix and all.
    Open(1, "card");
    RecordScreen();
    calls = recorder.CallsOf(Op::Text);
    EXPECT_EQ(calls.at(0).text, "111");
    EXPECT_EQ(calls.at(0).state.fontName, "Arial");
    EXPECT_EQ(calls.at(1).text, "Me - Pard");
    EXPECT_EQ(calls.at(1).state.fontName, "Courier New");
}

TEST_F(RendererTest, CircleRecordsTakeTheAlternativeBaseLayer) {
    RenderFormat format = Plain();
    format.frontBase = {RecordLine(2, {100, 100, 2000, 240, 0, 0}, "usual")};
    Build({format});
    WriteLines(dir / "data" / "plain9.dat", [] {
        std::vector<std::string> lines = HeaderBlock("alt", {});
        lines.push_back(RecordLine(2, {100, 100, 2000, 240, 0, 0}, "alternative"));
        return lines;
    }());
    Card({RecordLine(24, {3000, 3000, 0, 0, 10, 0}, "K")});
    RecordScreen();
    EXPECT_TRUE(Contains(recorder.Texts(), "usual"));
    Card({RecordLine(4, {3000, 3000, 0, 0, 100, 0})});
    RecordScreen();
    EXPECT_TRUE(Contains(recorder.Texts(), "alternative"));
    EXPECT_FALSE(Contains(recorder.Texts(), "usual"));
}

TEST_F(RendererTest, FormatsWithShadowsAndShiftedBoxes) {
    RenderFormat ireland = Plain(), german = Plain(), austria = Plain();
    ireland.code = "IRELAND";
    german.code = "GERMAN1";
    austria.code = "AUSTR2";
    Build({ireland, german, austria});
    for (const auto& format : formats)
        WriteCardPage(dir.Path(), format, "card", false,
                      {RecordLine(3, {1000, 1000, 0, 0, 0, 150})});
    Open(0, "card");
    RecordScreen();
    auto lines = recorder.CallsOf(Op::Line);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].x1, 1007);
    EXPECT_EQ(lines[0].y1, 1157);
    EXPECT_EQ(lines[0].x2, 1164);
    EXPECT_EQ(lines[0].state.drawWidth, 1);
    Open(1, "card");
    RecordScreen();
    lines = recorder.CallsOf(Op::Line);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].y1, 993);
    Open(2, "card");
    RecordScreen();
    EXPECT_EQ(Boxes().at(0).y1, 1000);
    RecordPaper(20000);
    EXPECT_EQ(Boxes().at(0).y1, 1000 - 30);
}

TEST_F(RendererTest, LabelBoxesByTheirStyleWord) {
    Build({Plain()});
    Card({RecordLine(7, {1000, 1000, 2000, 500, 2 + 3 * 256 + (103 << 16), 0}, "Title  ")});
    RecordScreen();
    auto fills = recorder.CallsOf(Op::BoxFill);
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].colour, colour::DarkGreen);
    auto border = recorder.CallsOf(Op::Box).at(0);
    EXPECT_EQ(border.colour, colour::Black);
    EXPECT_EQ(border.state.drawWidth, 3);
    auto text = recorder.CallsOf(Op::Text).at(0);
    EXPECT_EQ(text.text, "Title");
    EXPECT_EQ(text.colour, colour::White);
    EXPECT_EQ(text.y1, 1000 - 3 * 15); // offset 103 moves the text three pixels up
    // Look 2 lays the text out as one line: its bar is one line high.
    EXPECT_EQ(fills[1].y2, 1000 - 45 + 200 - 30);
}

TEST_F(RendererTest, OptionMarksAndRingsOnScreen) {
    RenderFormat acbl = Plain();
    acbl.code = "ACBL";
    Build({acbl});
    Card({RecordLine(23, {1000, 1000, 300, 250, 2, 0}),
          RecordLine(24, {2000, 2000, 1, 1, 10, 0}, "K"),
          RecordLine(16, {3000, 3000, 100, 4, 0, 0})});
    RecordScreen();
    auto texts = recorder.CallsOf(Op::Text);
    auto s = std::find_if(texts.begin(), texts.end(), [](auto& c) { return c.text == "S"; });
    ASSERT_NE(s, texts.end());
    EXPECT_EQ(s->x1, 1000 + 30 + 30);
    EXPECT_EQ(s->y1, 1015);
    EXPECT_EQ(s->state.fontName, "Times New Roman");
    auto k = std::find_if(texts.begin(), texts.end(), [](auto& c) { return c.text == "K"; });
    ASSERT_NE(k, texts.end());
    EXPECT_EQ(k->state.fontName, "Arial");
    EXPECT_TRUE(k->state.fontBold);
    auto circles = recorder.CallsOf(Op::Circle);
    ASSERT_EQ(circles.size(), 2u);
    // ACBL rings are larger and higher: the letter's ring (45, 97, 82) becomes (45, 82, 97).
    EXPECT_EQ(circles[0].x1, 2045);
    EXPECT_EQ(circles[0].y1, 2082);
    EXPECT_EQ(circles[0].x2, 97);
    EXPECT_EQ(circles[1].state.fillColor, colour::Yellow);
    EXPECT_EQ(circles[1].state.fillStyle, FillSolid);
}

TEST_F(RendererTest, MissingPictureIsHandedToTheOwnerAndThePageStillDrawn) {
    RenderFormat format = Plain();
    format.frontBase = {RecordLine(15, {100, 100, 500, 500, 0, 0}, "nothere.bmp"),
                        RecordLine(2, {100, 1000, 2000, 240, 0, 0}, "after")};
    Build({format});
    Card({});
    RecordScreen();
    // The drawing asks no one anything; its owner tells the user.
    EXPECT_TRUE(prompter.MessageTexts().empty());
    const std::vector<DrawingNotice> notices = renderer.TakeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text, "Bit map file nothere.bmp is missing.");
    EXPECT_TRUE(renderer.TakeNotices().empty());
    EXPECT_TRUE(Contains(recorder.Texts(), "after"));
}

TEST_F(RendererTest, BaseTextPrintsInThePrintColourOfItsPage) {
    RenderFormat format = Plain();
    format.frontBase = {RecordLine(2, {100, 100, 2000, 240, 1, 0}, "base")};
    Build({format});
    Card({});
    RecordScreen();
    // On screen: the base block's colour of the defaults (written as 2 when they are made).
    EXPECT_EQ(recorder.CallsOf(Op::Text).at(0).colour, 2);
    RecordPaper(20000);
    EXPECT_EQ(recorder.CallsOf(Op::Text).at(0).colour, 0x800000);
    ctx.Format.EditCatalogue().Formats[0][ColColourScheme] = "1";
    RecordPaper(20000);
    EXPECT_EQ(recorder.CallsOf(Op::Text).at(0).colour, colour::Black);
}

TEST_F(RendererTest, MalformedBaseLayerIsReportedAfterDrawingWhatWasRead) {
    RenderFormat format = Plain();
    format.frontBase = {RecordLine(2, {100, 100, 2000, 240, 0, 0}, "first"), "2,100,\"oops",
                        RecordLine(2, {100, 400, 2000, 240, 0, 0}, "after it")};
    Build({format});
    Card({RecordLine(2, {100, 1000, 2000, 240, 0, 0}, "card text")});
    RecordScreen();
    EXPECT_TRUE(Contains(recorder.Texts(), "first"));
    EXPECT_TRUE(Contains(recorder.Texts(), "after it"));
    EXPECT_TRUE(Contains(recorder.Texts(), "card text"));
    ASSERT_EQ(errors.shown.size(), 1u);
}

TEST_F(RendererTest, RedrawingOneRecordThroughItsStatesEndsWithTheFirstPicture) {
    for (int style : {0, 1, 2}) {
        RenderFormat format = Plain();
        format.checkStyle = style;
        format.frontBase = {RecordLine(5, {900, 900, 4000, 4000, 1, 0}),
                            RecordLine(2, {1000, 2600, 3000, 240, 0, 0}, "base text")};
        TempDir other;
        MakeRenderRoot(other.Path(), {format});
        ctx.paths = Paths::ForRoot(other.Path());
        ASSERT_TRUE(ctx.ReadSystemSettings());
        WriteCardPage(
            other.Path(), format, "card", false,
            {RecordLine(3, {1200, 1200, 0, 0, 0, 240}), RecordLine(4, {2500, 1400, 0, 0, 150, 2}),
             RecordLine(5, {3000, 1200, 800, 300, 0, 0}), RecordLine(18, {1200, 2000, 0, 0, 0, 0}),
             RecordLine(23, {2000, 2000, 300, 250, 0, 0})});
        formats = {format};
        Open(0, "card");
        CycleEveryMarkBackToTheFirstPicture("style " + std::to_string(style));
    }
}

TEST_F(RendererTest, PaintedOutMarksShowTheBaseLayerBeneathAgain) {
    // Marks on a page ruled all over and on a label: whatever a mark covered comes back when
    // it goes, and print the card erased stays erased where a tick reaches into it.
    for (int style : {1, 2}) {
        RenderFormat format = Plain();
        format.checkStyle = style;
        for (int32_t y = 900; y <= 3000; y += 45)
            format.frontBase.push_back(RecordLine(12, {500, 6500, y, y, 1, 0}));
        format.frontBase.push_back(RecordLine(2, {2300, 1300, 1000, 240, 5, 0}, "1NT"));
        TempDir other;
        MakeRenderRoot(other.Path(), {format});
        ctx.paths = Paths::ForRoot(other.Path());
        ASSERT_TRUE(ctx.ReadSystemSettings());
        WriteCardPage(
            other.Path(), format, "card", false,
            {RecordLine(1, {1300, 1000, 400, 150, 0, 0}), RecordLine(3, {1200, 1200, 0, 0, 0, 240}),
             RecordLine(4, {2500, 1400, 0, 0, 150, 2}), RecordLine(5, {3000, 1200, 800, 300, 0, 0}),
             RecordLine(18, {1200, 2000, 0, 0, 0, 0}), RecordLine(18, {1600, 2000, 0, 1, 0, 0}),
             RecordLine(23, {2000, 2000, 300, 250, 0, 0}),
             RecordLine(24, {4500, 1220, 0, 0, 10, 2}, "K")});
        formats = {format};
        Open(0, "card");
        CycleEveryMarkBackToTheFirstPicture("style " + std::to_string(style));
    }
}

TEST_F(RendererTest, BaseLayerRulesAreBlackAfterColouredLabels) {
    RenderFormat format = Plain();
    format.frontBase = {RecordLine(2, {200, 200, 1500, 240, 5, 0}, "1NT"),
                        RecordLine(5, {200, 200, 3000, 240, 2, 0}),
                        RecordLine(2, {200, 800, 1500, 240, 2, 0}, "Alert"),
                        RecordLine(5, {200, 800, 3000, 240, 2, 0})};
    Build({format});
    Card({});
    Picture();
    EXPECT_EQ(Pixel(2500, 440), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(2500, 1040), qRgb(0, 0, 0));
    // The labels keep their colours.
    EXPECT_EQ(screen.Text().ResolveColour(5, 't'), colour::Blue);
}

TEST_F(RendererTest, RingOfTheBaseLayerLeavesASolidFillForWhatFollows) {
    RenderFormat format = Plain();
    format.frontBase = {RecordLine(4, {500, 500, 0, 1, 100, 0}),
                        RecordLine(20, {1000, 1000, 200, 0, 0, 0}),
                        RecordLine(4, {1500, 500, 0, 1, 100, 0})};
    Build({format});
    Card({RecordLine(20, {3000, 3000, 150, 0, 0, 0})});
    RecordScreen();
    auto circles = recorder.CallsOf(Op::Circle);
    ASSERT_EQ(circles.size(), 4u);
    EXPECT_EQ(circles[0].state.fillStyle, FillTransparent);
    EXPECT_EQ(circles[1].state.fillStyle, FillTransparent); // the ring itself
    EXPECT_EQ(circles[2].state.fillStyle, FillSolid);       // the circle after it
    EXPECT_EQ(circles[3].x1, 3000);
    EXPECT_EQ(circles[3].state.fillStyle, FillSolid); // and the card's own ring
    // Every page starts transparent again.
    RecordScreen();
    EXPECT_EQ(recorder.CallsOf(Op::Circle).at(0).state.fillStyle, FillTransparent);
}

TEST_F(RendererTest, Austr2PrintsBarsBehindCardTextAndColouredBaseText) {
    RenderFormat format = Plain();
    format.code = "AUSTR2";
    format.frontBase = {RecordLine(2, {100, 100, 2000, 240, 5, 0}, "plain base"),
                        RecordLine(2, {100, 500, 2000, 240, 12, 0}, "green base")};
    Build({format});
    Card({RecordLine(2, {3000, 1000, 2000, 240, 0, 0}, "card")});
    RecordPaper(20000);
    auto bars = recorder.CallsOf(Op::BoxFill);
    std::vector<RecordingSurface::Call> textBars;
    for (const auto& bar : bars)
        if (bar.x1 != 105)
            textBars.push_back(bar);
    ASSERT_EQ(textBars.size(), 2u);
    const int p = 15;
    EXPECT_EQ(textBars[0].colour, colour::DarkGreen);
    EXPECT_EQ(textBars[0].x1, 100 - p);
    EXPECT_EQ(textBars[0].y1, 500 - 4 * p);
    EXPECT_EQ(textBars[0].y2, 500 + 200 + p);
    EXPECT_EQ(textBars[1].colour, colour::White);
    EXPECT_EQ(textBars[1].y1, 1000 - p);
    EXPECT_EQ(textBars[1].x2, 3000 + 2000 + 2 * p);
    EXPECT_EQ(textBars[1].y2, 1000 + 200 + 2 * p);
}

// A page drawn from values alone: no data folder, no settings, no format files.
TEST(RenderRequestTest, APageIsDrawnFromTheValuesItIsHanded) {
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    CardPage page;
    page.Add(CheckBox, {{1500, 1500, 0, 0, 1, 300}, ""});
    page.Add(ColourDot, {{4500, 1500, 150, 3, 0, 0}, ""});
    auto base = std::make_shared<BaseLayerFile>();
    base->records.push_back({FrameBox, {300, 3000, 6000, 600, 1, 0}, ""});

    RenderRequest request;
    request.page = &page;
    request.profile.slot = 0;
    request.profile.code = "VALUES";
    request.baseLayer.file = base;
    request.baseLayer.stamp = "in memory";
    request.mapping.viewScale = 1;
    request.mapping.twipsPerPixel = 15;

    QImage picture(600, 400, QImage::Format_RGB32);
    picture.fill(Qt::white);
    FontBook fonts;
    PainterSurface surface(picture, DeviceMapping::Screen(1.0, 15), fonts);
    CardRenderer renderer(trap);
    renderer.Render(request, surface);
    surface.End();

    // Ink within a pixel or two of (x, y).
    auto dark = [&](int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (qGray(picture.pixel(x + dx, y + dy)) < 128)
                    return true;
        return false;
    };
    EXPECT_TRUE(dark(300 / 15, 3000 / 15 + 20)) << "the base layer's frame";
    EXPECT_TRUE(dark(1500 / 15 + 10, 1500 / 15 + 10)) << "the ticked box";
    EXPECT_EQ(picture.pixel(4500 / 15, 1500 / 15), qRgb(255, 0, 0)) << "the red dot";
    EXPECT_TRUE(errors.shown.empty());

    // The same request on another side of the sheet: the page moved by its margin.
    request.options.target = RenderTarget::Paper;
    request.mapping.pageOffsetX = 1500;
    picture.fill(Qt::white);
    PainterSurface paper(picture,
                         DeviceMapping::Paper(96, 96, QSizeF(600, 400), QSizeF(9000, 6000)), fonts);
    renderer.Render(request, paper);
    paper.End();
    EXPECT_FALSE(dark(300 / 15, 3000 / 15 + 20));
    EXPECT_TRUE(dark(1800 / 15, 3000 / 15 + 20));
}
