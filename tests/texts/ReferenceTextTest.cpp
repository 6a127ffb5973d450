#include "ReferenceText.h"

#include "AppContext.h"
#include "DrawingContext.h"
#include "RecordingSurface.h"
#include "ReferenceTextWindow.h"
#include "RenderState.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"
#include "TextDrawer.h"
#include "TextLineWriter.h"
#include "TextsLocations.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

std::string Numbered(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("line " + std::to_string(i));
    return CrLf(lines);
}

TEST(ReferenceText, PagesEndWithTheLastLineAndShortTextsShowWhole) {
    ReferenceText shortText("abbr.dat", Numbered(30));
    EXPECT_EQ(shortText.ScrollMax(), 0);
    std::vector<std::string> page = shortText.Page(0);
    ASSERT_EQ(page.size(), 30u);
    EXPECT_EQ(page.front(), "line 1");
    EXPECT_EQ(page.back(), "line 30");

    ReferenceText longText("abbr.dat", Numbered(45) + "no line end");
    EXPECT_EQ(longText.LineCount(), 46);
    EXPECT_EQ(longText.ScrollMax(), 16);
    page = longText.Page(longText.ScrollMax());
    EXPECT_EQ(page.size(), 30u);
    EXPECT_EQ(page.front(), "line 17");
    EXPECT_EQ(page.back(), "no line end");
    EXPECT_EQ(longText.Page(0).size(), 31u);
}

TEST(ReferenceText, CaptionsPrefixAndSymbolsGoByTheFileNameInAnyCase) {
    struct Case {
        const char* file;
        const char* caption;
        const char* prefix;
        bool symbols;
    };
    for (const Case& c : {Case{"NOTICES.TXT", "Special Notices", "  ", true},
                          Case{"special.txt", "Special Notices", "", true},
                          Case{"Abbr.dat", "Bridge Abbreviations", "", true},
                          Case{"Convent.txt", "Bridge Conventions", "", true},
                          Case{"tips.TXT", "Tips for Using this Program", "", false}}) {
        ReferenceText text(c.file, "1<c>\r\n");
        EXPECT_EQ(text.Caption(), c.caption) << c.file;
        EXPECT_EQ(text.ShownLine(0), c.prefix + std::string("1<c>")) << c.file;
        EXPECT_EQ(text.SuitMarkup(), c.symbols) << c.file;
    }
}

TEST(ReferenceText, FindIgnoresCaseAndGoesRoundBothWays) {
    ReferenceText text("convent.txt", CrLf({"Stayman", "LEBENSOHL", "x",
                                            "Lebensohl after a reverse", "Caf\xc9 society", "y"}));
    EXPECT_EQ(text.Find("lebensohl", -1, true), 1);
    EXPECT_EQ(text.Find("lebensohl", 1, true), 3);
    EXPECT_EQ(text.Find("lebensohl", 3, true), 1);
    EXPECT_EQ(text.Find("lebensohl", 1, false), 3);
    EXPECT_EQ(text.Find("lebensohl", text.LineCount(), false), 3);
    // Accented capitals match their small letters.
    EXPECT_EQ(text.Find("caf\xe9", -1, true), 4);
    EXPECT_EQ(text.Find("Drury", -1, true), std::nullopt);
    EXPECT_EQ(text.Find("", -1, true), std::nullopt);
}

class ReferenceTextWindowTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir / "data"); }
    void TearDown() override {
        EXPECT_TRUE(errors.shown.empty()) << errors.shown.front().ErrDescription;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    AppContext ctx{dir.Path(), prompter, trap};
};

// The leftmost column of the first line's page picture that is not white.
int FirstInkColumn(const QImage& page, int lineHeight) {
    for (int x = 0; x < page.width(); ++x)
        for (int y = 2; y < lineHeight; ++y)
            if (page.pixelColor(x, y).lightness() < 128)
                return x;
    return -1;
}

TEST_F(ReferenceTextWindowTest, NoticesAreIndentedByTwoBlanksOnScreenAndOnPaper) {
    WriteLines(dir / "data" / "notices.txt", {"Xy <h>"});
    WriteLines(dir / "data" / "abbr.dat", {"Xy <h>"});
    ReferenceTextWindow window(ctx);
    ASSERT_TRUE(window.ShowText(dir / "data" / "abbr.dat"));
    const int plain = FirstInkColumn(window.PagePicture(), 14);
    ASSERT_TRUE(window.ShowText(dir / "data" / "notices.txt"));
    EXPECT_EQ(window.windowTitle(), "Special Notices");
    const int indented = FirstInkColumn(window.PagePicture(), 14);
    ASSERT_GE(plain, 0);
    // Two characters of the fixed-width font.
    EXPECT_GT(indented - plain, 10);
    EXPECT_LT(indented - plain, 24);

    RenderState state;
    state.PrintMode = 1;
    DrawingContext drawing;
    TextDrawer drawer(ctx.errorTrap, drawing, state);
    RecordingSurface paper;
    paper.ActAsPrinter(1, 15000);
    TextLineWriter writer(drawer, paper, {});
    window.WritePrintout(writer);
    std::vector<std::string> texts = paper.Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "  Xy ");
    const RecordingSurface::Call& first = paper.Calls()[0];
    // Under an empty line, in bold Courier.
    EXPECT_EQ(first.x1, 0);
    EXPECT_EQ(first.y1, 200);
    EXPECT_EQ(first.state.fontName, QString("Courier"));
    EXPECT_TRUE(first.state.fontBold);
    EXPECT_DOUBLE_EQ(first.state.fontSize, 10.08);
}

TEST_F(ReferenceTextWindowTest, TipsShowTheMarkupAsTypedOtherTextsDrawSymbols) {
    WriteLines(dir / "data" / "tips.txt", {"Press F5 for <c>."});
    WriteLines(dir / "data" / "Convent.txt", {"Press F5 for <c>."});
    ReferenceTextWindow window(ctx);
    RenderState state;
    DrawingContext drawing;
    TextDrawer drawer(ctx.errorTrap, drawing, state);
    for (const char* file : {"tips.txt", "convent.txt"}) {
        ASSERT_TRUE(window.ShowText(dir / "data" / file));
        RecordingSurface paper;
        paper.ActAsPrinter(1, 15000);
        TextLineWriter writer(drawer, paper, {});
        window.WritePrintout(writer);
        std::vector<std::string> texts = paper.Texts();
        bool tips = std::string(file) == "tips.txt";
        EXPECT_EQ(window.windowTitle(),
                  tips ? "Tips for Using this Program" : "Bridge Conventions");
        if (tips)
            EXPECT_EQ(texts.back(), "Press F5 for <c>.");
        else
            EXPECT_EQ(texts, (std::vector<std::string>{"Press F5 for ", "\u2663", "."}));
    }
}

TEST_F(ReferenceTextWindowTest, TheFindBoxBringsAConventionOntoThePageAndMarksIt) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i)
        lines.push_back("Convention " + std::to_string(i));
    lines[70] = "Lebensohl";
    lines[71] = "After 1NT and an overcall, 2NT asks for 3<c>.";
    lines[90] = "Transfer Lebensohl";
    WriteLines(dir / "data" / "convent.txt", lines);
    ReferenceTextWindow window(ctx);
    ASSERT_TRUE(window.ShowText(dir / "data" / "Convent.txt"));
    EXPECT_EQ(window.scrollBar()->maximum(), 70);

    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    window.findBox()->setText("LEBENSOHL");
    QTest::keyClick(window.findBox(), Qt::Key_Return);
    EXPECT_EQ(window.FoundLine(), 70);
    EXPECT_EQ(window.FirstLine(), 70);
    EXPECT_EQ(window.scrollBar()->value(), 70);
    // The line found is tinted on the page.
    QColor tint = window.PagePicture().pixelColor(window.PagePicture().width() - 3, 6);
    EXPECT_NE(tint, QColor(Qt::white));

    // On the page already: the page stays.
    EXPECT_TRUE(window.FindNext(true));
    EXPECT_EQ(window.FoundLine(), 90);
    EXPECT_EQ(window.FirstLine(), 70);
    EXPECT_TRUE(window.FindNext(true));
    EXPECT_EQ(window.FoundLine(), 70);
    EXPECT_EQ(window.findStatus()->text(), "Continued from the top.");
    EXPECT_TRUE(window.FindNext(false));
    EXPECT_EQ(window.FoundLine(), 90);

    // The page shows the suit tag as its symbol: the symbol is found.
    window.findBox()->setText(QString::fromUtf8("3\u2663"));
    EXPECT_TRUE(window.FindNext(true));
    EXPECT_EQ(window.FoundLine(), 71);

    window.findBox()->setText("Drury");
    EXPECT_FALSE(window.FindNext(true));
    EXPECT_NE(window.findStatus()->text().indexOf("is not in this text"), -1);
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

TEST_F(ReferenceTextWindowTest, AfterAClickOnThePageTheKeysStillTurnIt) {
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i)
        lines.push_back("Convention " + std::to_string(i));
    WriteLines(dir / "data" / "convent.txt", lines);
    ReferenceTextWindow window(ctx);
    ASSERT_TRUE(window.ShowText(dir / "data" / "convent.txt"));
    window.show();
    QWidget* page = window.findChild<QWidget*>("textPageArea");
    ASSERT_NE(page, nullptr);
    // A click on the page gives its scroll area the focus, and with it the keys.
    QTest::keyClick(page, Qt::Key_PageDown);
    const int pageDown = window.FirstLine();
    EXPECT_GT(pageDown, 0);
    QTest::keyClick(page, Qt::Key_Down);
    EXPECT_EQ(window.FirstLine(), pageDown + 1);
    QTest::keyClick(page, Qt::Key_End);
    EXPECT_EQ(window.FirstLine(), window.scrollBar()->maximum());
    QTest::keyClick(page, Qt::Key_Home);
    EXPECT_EQ(window.FirstLine(), 0);
}

TEST_F(ReferenceTextWindowTest, AMissingTextIsReportedAndTheWindowKeepsItsText) {
    WriteLines(dir / "data" / "tips.txt", {"tip"});
    ReferenceTextWindow window(ctx);
    ASSERT_TRUE(window.ShowText(dir / "data" / "tips.txt"));
    EXPECT_FALSE(window.ShowText(dir / "data" / "abbr.dat"));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].Location, loc::ReferenceTextLoad);
    errors.shown.clear();
    EXPECT_EQ(window.windowTitle(), "Tips for Using this Program");
    EXPECT_EQ(window.Text().LineCount(), 1);
}

} // namespace
