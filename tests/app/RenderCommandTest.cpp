#include "RenderCommand.h"

#include "Application.h"
#include "CommandLine.h"
#include "ConsoleErrorPresenter.h"
#include "RenderTestData.h"
#include "ScriptedPrompter.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

using namespace cw;
using namespace cw::test;

namespace {

// The headless render command on a data root with every base and card kind.
class RenderCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto [every, single] = MakeEveryKindRoot(dir.Path());
        WriteCardPage(dir.Path(), every, "mine", false, EveryKindCard(),
                      {"Pard - Me", "222", "", "Alice - Bob", "12345"});
        WriteCardPage(dir.Path(), every, "mine", true, {});
        WriteCardPage(dir.Path(), single, "mine", false, {});
    }

    int Run(const std::vector<std::string>& args) {
        CommandLine line = CommandLine::Parse(args);
        RenderOptions options;
        std::string problem;
        if (!ParseRenderOptions(line, options, problem)) {
            err << problem;
            return 2;
        }
        Application app(dir.Path(), prompter);
        ConsoleErrorPresenter presenter(app.Log(), app.Context());
        app.SetErrorPresenter(&presenter);
        int code = RunRenderCommand(app, options, err);
        app.UnregisterFonts();
        return code;
    }
    std::string Out(const std::string& name) const { return (dir / name).string(); }

    TempDir dir;
    ScriptedPrompter prompter;
    std::ostringstream err;
};

} // namespace

TEST_F(RenderCommandTest, WritesThePageAsAPicture) {
    ASSERT_EQ(Run({"render", "--card", "mine", "--out", Out("mine.png")}), 0) << err.str();
    QImage picture(QString::fromStdString(Out("mine.png")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(480, 480)); // 7200 twips at 15 a pixel
    auto at = [&](int x, int y) {
        return picture.pixelColor(x / 15, y / 15);
    };
    EXPECT_EQ(at(3100, 3100), QColor(Qt::black)); // the ticked solid box
    EXPECT_EQ(at(3500, 3100), QColor(Qt::white)); // the empty one
    EXPECT_EQ(at(5300, 300), QColor(0, 255, 0));  // the base layer's picture
    EXPECT_EQ(at(6100, 4100), QColor(0, 0, 255)); // the card's picture
    EXPECT_EQ(at(6200, 5000), QColor(255, 0, 0)); // the red colour dot
    EXPECT_TRUE(prompter.MessageTexts().empty());
}

TEST_F(RenderCommandTest, ZoomSideAndFileTypes) {
    ASSERT_EQ(Run({"render", "--card", "mine", "--zoom", "2", "--out", Out("big.bmp")}), 0);
    EXPECT_EQ(QImage(QString::fromStdString(Out("big.bmp"))).size(), QSize(960, 960));
    ASSERT_EQ(Run({"render", "--card", "MINE", "--side", "back", "--out", Out("back.jpg")}), 0)
        << err.str();
    EXPECT_FALSE(QImage(QString::fromStdString(Out("back.jpg"))).isNull());
    ASSERT_EQ(Run({"render", "--card", "mine", "--partner", "--out", Out("partner.pdf")}), 0)
        << err.str();
    EXPECT_EQ(ReadFile(dir / "partner.pdf").substr(0, 5), "%PDF-");
    // GIF through the export's writer: a real GIF with the card's colours.
    ASSERT_EQ(Run({"render", "--card", "mine", "--out", Out("mine.gif")}), 0) << err.str();
    QImage gif(QString::fromStdString(Out("mine.gif")), "gif");
    ASSERT_FALSE(gif.isNull());
    EXPECT_EQ(gif.pixelColor(6200 / 15, 5000 / 15), QColor(255, 0, 0));
    ASSERT_EQ(Run({"render", "--card", "mine", "--format", "single", "--out", Out("one.png")}), 0);
}

TEST_F(RenderCommandTest, ARelativeOutputPathIsTheStartingFolders) {
    TempDir work;
    const fs::path started = fs::current_path();
    fs::current_path(work.Path());
    int code = Run({"render", "--card", "mine", "--out", "mine.png"});
    fs::current_path(started);
    ASSERT_EQ(code, 0) << err.str();
    EXPECT_TRUE(fs::exists(work / "mine.png"));
    EXPECT_FALSE(fs::exists(dir / "mine.png"));
}

TEST_F(RenderCommandTest, MissingCardsAndFormatsAreClearErrors) {
    EXPECT_EQ(Run({"render", "--card", "nosuch", "--out", Out("x.png")}), 1);
    EXPECT_NE(err.str().find("Card nosuch not found"), std::string::npos) << err.str();
    err.str("");
    EXPECT_EQ(Run({"render", "--card", "mine", "--format", "NOPE", "--out", Out("x.png")}), 1);
    EXPECT_NE(err.str().find("Card format NOPE is not installed. Installed: EVERY SINGLE"),
              std::string::npos)
        << err.str();
    err.str("");
    EXPECT_EQ(Run({"render", "--card", "mine", "--format", "SINGLE", "--side", "back", "--out",
                   Out("x.png")}),
              1);
    EXPECT_NE(err.str().find("has no back page"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

TEST_F(RenderCommandTest, OptionsAreChecked) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"render", "--out", "a.png"},
             {"render", "--card", "mine"},
             {"render", "--card", "mine", "--out", "a.tif"},
             {"render", "--card", "mine", "--side", "left", "--out", "a.png"},
             {"render", "--card", "mine", "--zoom", "0", "--out", "a.png"},
             {"render", "--card", "mine", "--zoom", "big", "--out", "a.png"}}) {
        RenderOptions options;
        std::string problem;
        EXPECT_FALSE(ParseRenderOptions(CommandLine::Parse(args), options, problem));
        EXPECT_FALSE(problem.empty());
    }
    RenderOptions options;
    std::string problem;
    ASSERT_TRUE(
        ParseRenderOptions(CommandLine::Parse({"render", "--card", "c", "--side", "back", "--zoom",
                                               "1.4", "--partner", "--out", "c.JPEG"}),
                           options, problem));
    EXPECT_TRUE(options.back);
    EXPECT_TRUE(options.partner);
    EXPECT_DOUBLE_EQ(*options.zoom, 1.4);
}
