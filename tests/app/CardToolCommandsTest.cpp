#include "Application.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ConsoleErrorPresenter.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

using namespace cw;
using namespace cw::test;

namespace {

// The check and compare commands on a copy of the shipped data.
class CardToolCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { fs::copy(CW_SOURCE_DATA, dir.Path(), fs::copy_options::recursive); }

    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        std::vector<std::string> all = args;
        all.insert(all.begin() + 1, {"--root", dir.Path().string()});
        CommandLine line = CommandLine::Parse(all);
        const CommandEntry* tool = FindCommand(line.command);
        EXPECT_TRUE(tool);
        Application app(dir.Path(), prompter);
        ConsoleErrorPresenter presenter(app.Log(), app.Context());
        app.SetErrorPresenter(&presenter);
        int code = tool->run(app, line, out, err);
        app.UnregisterFonts();
        return code;
    }
    // Copies the ACBL sample card to name, with one record line replaced.
    void Copy(const std::string& name, const std::string& from = {}, const std::string& to = {}) {
        for (const char* page : {"", "_"}) {
            std::string bytes = ReadFile(dir / "acbl" / ("testcrd" + std::string(page) + ".acb"));
            if (!from.empty() && *page == 0)
                bytes.replace(bytes.find(from), from.size(), to);
            WriteFile(dir / "acbl" / (name + page + ".acb"), bytes);
        }
    }

    TempDir dir;
    ScriptedPrompter prompter;
    std::ostringstream out, err;
};

TEST_F(CardToolCommandsTest, ShippedCardsFitAndAnOverfilledFieldIsListedWithoutChangingAnything) {
    for (const char* format : {"acbl", "sayc", "wbfb", "club"}) {
        EXPECT_EQ(Run({"check", "--card", "testcrd", "--format", format}), 0) << format;
        EXPECT_EQ(out.str(), "") << format;
    }
    Copy("over");
    auto [field, old] = ChangeFilledText(dir / "acbl" / "over.acb", 1,
                                         "K123456 and a number much too long for its box");
    ASSERT_EQ(field, 1);
    const std::string settings = ReadFile(dir / "cwr.sys");
    EXPECT_EQ(Run({"check", "--card", "over"}), 1);
    // The number field stands at the page's right edge: what runs past it runs off the paper.
    EXPECT_EQ(out.str(), "front\t2\tshrunk to 5 pt, cut off: too wide, off the printed "
                         "page\tK123456 and a number much too long for its box\n");
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), settings);

    // Text that fits drawn smaller is listed, and the card passes.
    Copy("tight");
    ChangeFilledText(dir / "acbl" / "tight.acb", 1, "K123456 and 78910111213");
    out.str("");
    EXPECT_EQ(Run({"check", "--card", "tight"}), 0);
    EXPECT_EQ(out.str().rfind("front\t2\tshrunk to ", 0), 0u) << out.str();
    EXPECT_EQ(out.str().find("cut off"), std::string::npos) << out.str();
    EXPECT_FALSE(fs::exists(dir / "datasys" / "history"));
    // A picture of the page has no mark on the field: marks are for the screen alone.
    ASSERT_EQ(
        Run({"render", "--card", "over", "--zoom", "1", "--out", (dir / "over.png").string()}), 0);
    QImage picture(QString::fromStdString((dir / "over.png").string()));
    ASSERT_FALSE(picture.isNull());
    const std::string line = ReadFile(dir / "acbl" / "over.acb");
    const auto record = line.substr(line.find("\n2,", line.find("\n2,") + 1) + 3);
    const int left = std::stoi(record), top = std::stoi(record.substr(record.find(',') + 1));
    const int width = std::stoi(record.substr(record.find(',', record.find(',') + 1) + 1));
    int red = 0;
    for (int x = (left + width) / 15 - 10; x < (left + width) / 15 + 2; ++x)
        for (int y = top / 15 - 2; y < top / 15 + 10; ++y)
            red += picture.pixelColor(x, y) == QColor(230, 0, 0);
    EXPECT_EQ(red, 0);

    EXPECT_EQ(Run({"check", "--card", "nosuch"}), 1);
    EXPECT_NE(err.str().find("Card nosuch not found"), std::string::npos) << err.str();
    EXPECT_EQ(Run({"check"}), 2);
}

TEST_F(CardToolCommandsTest, CompareListsTheDifferingFieldsAndRefusesAnotherFormat) {
    Copy("same");
    EXPECT_EQ(Run({"compare", "--card", "testcrd", "--with", "same"}), 0) << err.str();
    EXPECT_EQ(out.str(), "");

    Copy("pard");
    // A text after the names and player numbers (which are not compared).
    auto [field, old] = ChangeFilledText(dir / "acbl" / "pard.acb", 2, "Changed");
    ASSERT_GE(field, 2);
    EXPECT_EQ(Run({"compare", "--card", "testcrd", "--with", "pard"}), 1);
    EXPECT_EQ(out.str(),
              "front\ttext " + std::to_string(field + 1) + "\t\"" + old + "\"\t\"Changed\"\n");
    // A partner's file from anywhere, found by its path.
    fs::create_directories(dir / "stick");
    fs::copy(dir / "acbl" / "pard.acb", dir / "stick" / "pard.acb");
    EXPECT_EQ(
        Run({"compare", "--card", "testcrd", "--with", (dir / "stick" / "pard.acb").string()}), 1);
    EXPECT_EQ(out.str().substr(0, 11), "front\ttext ");

    EXPECT_EQ(
        Run({"compare", "--card", "testcrd", "--with", (dir / "sayc" / "testcrd.syc").string()}),
        1);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("testcrd.syc is a card of the format SAYC"), std::string::npos)
        << err.str();
}

} // namespace
