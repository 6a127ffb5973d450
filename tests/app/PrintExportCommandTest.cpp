#include "Application.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ConsoleErrorPresenter.h"
#include "PdfPages.h"
#include "RenderTestData.h"
#include "ScriptedPrompter.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

using namespace cw;
using namespace cw::test;

namespace {

// The print and export commands, through the program's command table, on a data root with a
// two-page format of every kind (two cards) and a one-page format.
class PrintExportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto [every, single] = MakeEveryKindRoot(dir.Path());
        const std::array<std::string, 5> names = {"Pard - Me", "222", "", "Me - Pard", "111"};
        for (const char* card : {"mine", "ours"}) {
            WriteCardPage(dir.Path(), every, card, false, EveryKindCard(), names);
            WriteCardPage(dir.Path(), every, card, true, {});
        }
        WriteCardPage(dir.Path(), single, "solo", false, {});
    }

    int Run(std::vector<std::string> args) {
        err.str({});
        out.str({});
        CommandLine line = CommandLine::Parse(args);
        const CommandEntry* tool = FindCommand(line.command);
        if (!tool)
            return -1;
        Application app(dir.Path(), prompter);
        ConsoleErrorPresenter presenter(app.Log(), app.Context());
        app.SetErrorPresenter(&presenter);
        int code = tool->run(app, line, out, err);
        app.UnregisterFonts();
        return code;
    }
    fs::path Out(const std::string& name) const { return dir / "out" / name; }
    std::vector<std::string> Written() const { return ListFolder(dir / "out", "*"); }

    TempDir dir;
    ScriptedPrompter prompter;
    std::ostringstream out, err;
};

} // namespace

TEST_F(PrintExportCommandTest, PrintWritesTheJobIntoAPdf) {
    fs::create_directories(dir / "out");
    ASSERT_EQ(Run({"print", "--card", "mine", "--pdf", Out("mine.pdf")}), 0) << err.str();
    EXPECT_EQ(PdfPageCount(Out("mine.pdf")), 2); // both sides, as saved for a two-page card
    EXPECT_EQ(out.str(), "2 pages of 1 card printed to " + Out("mine.pdf").string() + "\n");

    ASSERT_EQ(Run({"print", "--card", "mine", "--cards", "both", "--side", "front", "--pdf",
                   Out("both.pdf")}),
              0)
        << err.str();
    ASSERT_EQ(PdfPageCount(Out("both.pdf")), 2);
    EXPECT_NE(PdfPageText(Out("both.pdf"), 1).find("12345"), std::string::npos);
    EXPECT_NE(PdfPageText(Out("both.pdf"), 2).find("222"), std::string::npos); // the partner's

    // Every card of the format in one document, black only.
    ASSERT_EQ(Run({"print", "--card", "*", "--side", "front", "--black", "--pdf", Out("all.pdf")}),
              0)
        << err.str();
    EXPECT_EQ(PdfPageCount(Out("all.pdf")), 2);
    // The heart of "2<h> 3<s>" is red on paper, and black when printed in black only.
    auto redPixels = [&](const fs::path& pdf) {
        QImage page(QString::fromStdString(PdfPagePicture(pdf, 1, 144, dir.Path()).string()));
        EXPECT_FALSE(page.isNull());
        int red = 0;
        for (int y = 555; y < 590 && !page.isNull(); ++y)
            for (int x = 15; x < 90; ++x)
                red += qRed(page.pixel(x, y)) > 180 && qGreen(page.pixel(x, y)) < 80;
        return red;
    };
    EXPECT_GT(redPixels(Out("mine.pdf")), 10);
    EXPECT_EQ(redPixels(Out("all.pdf")), 0);
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

TEST_F(PrintExportCommandTest, PrintRefusesWhatIsNotThereAndWritesNothing) {
    fs::create_directories(dir / "out");
    const std::string pdf = Out("x.pdf").string();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"print", "--card", "nosuch", "--pdf", pdf}, "Card nosuch not found: "},
        {{"print", "--card", "mine", "--format", "zz", "--pdf", pdf},
         "Card format zz is not installed. Installed: EVERY SINGLE\n"},
        {{"print", "--card", "solo", "--format", "single", "--side", "both", "--pdf", pdf},
         "Card format SINGLE has no back page.\n"},
        {{"print", "--card", "mine", "--printer", "No Such Printer"},
         "Printer No Such Printer is not installed. Installed:"},
        {{"print", "--card", "mine", "--pdf", (dir / "nofolder" / "x.pdf").string()},
         "The folder " + (dir / "nofolder").string() + " does not exist.\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), 1) << c.message;
        const std::string said = err.str();
        EXPECT_EQ(said.rfind(c.message, 0), 0u) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_TRUE(Written().empty());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"print", "--pdf", pdf},
             {"print", "--card", "mine", "--side", "left"},
             {"print", "--card", "mine", "--cards", "all"},
             {"print", "--card", "mine", "--pdf", "x.ps"},
             {"print", "--card", "mine", "--pdf", pdf, "--printer", "P"}})
        EXPECT_EQ(Run(args), 2) << args.back();
}

TEST_F(PrintExportCommandTest, ExportNamesTheBackPageWithAnUnderscore) {
    fs::create_directories(dir / "out");
    for (const char* ext : {".bmp", ".jpg", ".gif", ".png"})
        ASSERT_EQ(Run({"export", "--card", "mine", "--out", Out(std::string("mine") + ext)}), 0)
            << err.str();
    ASSERT_EQ(Run({"export", "--card", "mine", "--out", Out("mine.pdf")}), 0) << err.str();
    ASSERT_EQ(Run({"export", "--card", "solo", "--format", "single", "--dpi", "150", "--out",
                   Out("solo.png")}),
              0)
        << err.str();
    EXPECT_EQ(Written(), (std::vector<std::string>{"mine.bmp", "mine.gif", "mine.jpg", "mine.pdf",
                                                   "mine.png", "mine_.bmp", "mine_.gif",
                                                   "mine_.jpg", "mine_.png", "solo.png"}));
    EXPECT_EQ(QImage(QString::fromStdString(Out("mine_.gif").string())).size(), QSize(480, 480));
    EXPECT_EQ(QImage(QString::fromStdString(Out("solo.png").string())).size(), QSize(750, 750));
    EXPECT_EQ(out.str(), Out("solo.png").string() + "\n");

    EXPECT_EQ(Run({"export", "--card", "gone", "--out", Out("gone.png")}), 1);
    EXPECT_EQ(err.str().rfind("Card gone not found: ", 0), 0u);
    EXPECT_EQ(Run({"export", "--card", "mine", "--out", Out("mine.tif")}), 2);
    EXPECT_EQ(Run({"export", "--card", "mine", "--dpi", "9000", "--out", Out("m.png")}), 2);
    EXPECT_EQ(Written().size(), 10u);
}
