#include "Application.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ConsoleErrorPresenter.h"
#include "PdfPages.h"
#include "RenderTestData.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QImage>
#include <gtest/gtest.h>
#include <map>
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
        if (line.request == CommandLine::Request::UsageError) {
            err << line.error << '\n';
            return 2;
        }
        const CommandEntry* tool = FindCommand(line.command);
        if (!tool)
            return -1;
        Application app(dir.Path(), prompter);
        ConsoleErrorPresenter presenter(app.Log(), app.Context(), err);
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
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
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

namespace {

// Every file under root but those under skip, with its bytes, to see that a command
// changed nothing.
std::map<std::string, std::string> Snapshot(const fs::path& root, const fs::path& skip = {}) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(entry.path(), root).string();
        if (!skip.empty() && name.rfind(skip.string(), 0) == 0)
            continue;
        files[name] = entry.is_regular_file() ? ReadFile(entry.path()) : std::string("<folder>");
    }
    return files;
}

// The names of the files that differ between two snapshots.
std::vector<std::string> Changed(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : after)
        if (!before.count(name) || before.at(name) != bytes)
            names.push_back(name);
    for (const auto& [name, bytes] : before)
        if (!after.count(name))
            names.push_back(name + " (removed)");
    return names;
}

} // namespace

TEST_F(PrintExportCommandTest, AJobThatCannotBeDoneWholeWritesNothing) {
    fs::create_directories(dir / "out");
    const fs::path cards = dir / "EVERY";
    // Garbage, an empty file, and a card whose back page is missing.
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char((i * 7919 + 13) % 251);
    WriteFile(cards / "junk.evy", garbage);
    WriteFile(cards / "junk_.evy", garbage);
    WriteFile(cards / "empty.evy", "");
    WriteFile(cards / "empty_.evy", "");
    WriteCardPage(dir.Path(), EveryKindFormat(), "halfdone", false, {});

    for (const char* card : {"junk", "empty"}) {
        EXPECT_EQ(Run({"export", "--card", card, "--out", Out("x.png")}), 1) << card;
        EXPECT_NE(err.str().find(std::string(card) + ".evy is not a card file or is damaged"),
                  std::string::npos)
            << err.str();
        EXPECT_EQ(Run({"print", "--card", card, "--pdf", Out("x.pdf")}), 1) << card;
        EXPECT_EQ(Run({"render", "--card", card, "--out", Out("x.png")}), 1) << card;
        EXPECT_EQ(Run({"compare", "--card", "mine", "--with",
                       (cards / (std::string(card) + ".evy")).string()}),
                  1);
        EXPECT_NE(err.str().find("is not a card file or is damaged"), std::string::npos)
            << err.str();
    }
    EXPECT_EQ(Run({"print", "--card", "halfdone", "--pdf", Out("x.pdf")}), 1);
    EXPECT_NE(err.str().find("has no back page"), std::string::npos) << err.str();
    // Every card, one of them unreadable: nothing, the card named.
    EXPECT_EQ(Run({"print", "--card", "*", "--pdf", Out("all.pdf")}), 1);
    EXPECT_NE(err.str().find("empty"), std::string::npos) << err.str();
    EXPECT_TRUE(Written().empty()) << Written().front();

    // Left out on request, and said so.
    ASSERT_EQ(Run({"print", "--card", "*", "--skip-unreadable", "--pdf", Out("all.pdf")}), 0)
        << err.str();
    EXPECT_EQ(PdfPageCount(Out("all.pdf")), 4); // mine and ours, both sides
    const std::string said = err.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << said;
    EXPECT_EQ(out.str(), "4 pages of 2 cards printed to " + Out("all.pdf").string() + "\n");

    // A back page is not a card; a folder is not a file.
    EXPECT_EQ(Run({"print", "--card", "mine_", "--pdf", Out("b.pdf")}), 1);
    EXPECT_EQ(err.str(), "mine_ is the back page of the card mine, not a card; give the card's "
                         "name.\n");
    fs::create_directories(dir / "out" / "dir.png");
    EXPECT_EQ(Run({"export", "--card", "mine", "--out", Out("dir.png")}), 1);
    EXPECT_EQ(Written(), std::vector<std::string>{"all.pdf"});
    EXPECT_TRUE(fs::is_empty(dir / "out" / "dir.png"));
    // No scratch file is left anywhere.
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos)
            << entry.path();
}

TEST_F(PrintExportCommandTest, CommandsThatReadChangeNothingInTheDataRoot) {
    const fs::path elsewhere = dir / "out";
    fs::create_directories(elsewhere);
    // Started once, so that the root is set up as the program leaves it.
    ASSERT_EQ(Run({"formats"}), 0);
    const auto before = Snapshot(dir.Path() / "EVERY");
    const auto settings = ReadFile(dir / "cwr.sys");
    const std::vector<std::vector<std::string>> commands = {
        {"formats"},
        {"render", "--card", "mine", "--side", "back", "--out", Out("r.png")},
        {"render", "--card", "mine", "--out", Out("r.pdf")},
        {"print", "--card", "*", "--pdf", Out("p.pdf")},
        {"print", "--card", "mine", "--one-sheet", "--pdf", Out("one.pdf")},
        {"export", "--card", "mine", "--out", Out("e.gif")},
        {"export", "--card", "mine", "--out", Out("e.jpeg")},
        {"check", "--card", "mine"},
        {"compare", "--card", "mine", "--with", "ours"},
    };
    const auto rootBefore = Snapshot(dir.Path(), "out");
    for (const auto& args : commands) {
        EXPECT_LE(Run(args), 1) << args.front() << ": " << err.str();
        EXPECT_EQ(Changed(rootBefore, Snapshot(dir.Path(), "out")), std::vector<std::string>{})
            << args.front() << " " << args.back();
    }
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), settings);
    EXPECT_TRUE(Changed(before, Snapshot(dir.Path() / "EVERY")).empty());
    EXPECT_TRUE(fs::exists(Out("e.jpeg"))); // the extension the user gave
}

TEST_F(PrintExportCommandTest, BothSidesGoOnOneLandscapeSheetWithInkOnThePaper) {
    fs::create_directories(dir / "out");
    ASSERT_EQ(Run({"print", "--card", "mine", "--one-sheet", "--pdf", Out("one.pdf")}), 0)
        << err.str();
    ASSERT_EQ(PdfPageCount(Out("one.pdf")), 1);
    EXPECT_EQ(out.str(), "1 page of 1 card printed to " + Out("one.pdf").string() + "\n");
    const QImage sheet(
        QString::fromStdString(PdfPagePicture(Out("one.pdf"), 1, 72, dir.Path()).string()));
    ASSERT_FALSE(sheet.isNull());
    EXPECT_GT(sheet.width(), sheet.height());
    // Each half of the sheet holds a page's ink, and no ink comes within 5 mm of an edge.
    const int edge = int(5 / 25.4 * 72);
    int left = 0, right = 0, nearEdge = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x) {
            if ((sheet.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                continue;
            (x < sheet.width() / 2 ? left : right)++;
            nearEdge +=
                x < edge || y < edge || x >= sheet.width() - edge || y >= sheet.height() - edge;
        }
    EXPECT_GT(left, 100);
    EXPECT_GT(right, 100);
    EXPECT_EQ(nearEdge, 0);
    // One side at a time, each on a page of its own, with the same 5 mm.
    ASSERT_EQ(Run({"print", "--card", "mine", "--side", "both", "--pdf", Out("two.pdf")}), 0);
    EXPECT_EQ(PdfPageCount(Out("two.pdf")), 2);
    EXPECT_EQ(Run({"print", "--card", "mine", "--side", "front", "--one-sheet"}), 2);
}
