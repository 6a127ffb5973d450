#include "Application.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ConsoleErrorPresenter.h"
#include "DataRoot.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace cw;
using namespace cw::test;

namespace {

class StartupTest : public ::testing::Test {
protected:
    std::unique_ptr<Application> Start(int systemFlags) {
        MakeDataRoot(dir.Path(), {FormatSpec{}}, systemFlags, 0);
        auto app = std::make_unique<Application>(dir.Path(), prompter);
        presenter = std::make_unique<ConsoleErrorPresenter>(app->Log(), app->Context());
        app->SetErrorPresenter(presenter.get());
        return app;
    }
    std::string S01Line() { return ReadLines(dir / "cwr.sys")[3]; }

    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ConsoleErrorPresenter> presenter;
};

} // namespace

TEST_F(StartupTest, NoticeFlagShowsTheNoticeOnceAndIsCleared) {
    auto app = Start(3);
    ASSERT_TRUE(app->RunStartup());
    ASSERT_EQ(prompter.MessageTexts(),
              (std::vector<std::string>{"Please click 'Special Notices' on the main form"}));
    EXPECT_EQ(prompter.Log()[0].title, "NOTICE");
    EXPECT_EQ(S01Line(), "s01 1");
    EXPECT_EQ(app->Context().Settings.SystemFlags, 1);
    EXPECT_EQ(prompter.BusyDepth(), 0);
}

TEST_F(StartupTest, NoFlagMeansNoNoticeAndNoRewrite) {
    auto app = Start(0);
    std::string before = ReadFile(dir / "cwr.sys");
    auto modified = fs::last_write_time(dir / "cwr.sys");
    ASSERT_TRUE(app->RunStartup());
    EXPECT_TRUE(prompter.MessageTexts().empty());
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), before);
    EXPECT_EQ(fs::last_write_time(dir / "cwr.sys"), modified);
}

TEST_F(StartupTest, CreatesItsFoldersAndTheErrorLog) {
    auto app = Start(2);
    fs::remove_all(dir / "datasys");
    ASSERT_TRUE(app->RunStartup());
    EXPECT_EQ(S01Line(), "s01 0");
    EXPECT_TRUE(fs::is_directory(dir / "TempBmps"));
    EXPECT_TRUE(fs::is_directory(dir / "datasys"));
    EXPECT_EQ(ReadLines(dir / "cwrerror.log").at(0), "CWR Error Log.  DO NOT MODIFY THIS FILE");
    EXPECT_EQ(app->Context().CurrentFormat, 0);
    EXPECT_EQ(app->Context().Catalogue.FormatCount, 1);
}

TEST_F(StartupTest, FormatsListingShowsSlotCodeExtensionBackFlagAndName) {
    MakeDataRoot(dir.Path(), {FormatSpec{}, FormatSpec{"CLUB", "club", "clb", "Club", false}});
    Application app(dir.Path(), prompter);
    ConsoleErrorPresenter console(app.Log(), app.Context());
    app.SetErrorPresenter(&console);
    std::ostringstream out;
    EXPECT_EQ(RunFormatsCommand(app, out), 0);
    EXPECT_EQ(out.str(), "0\tTEST\t.tst\t1\tTest Card\n1\tCLUB\t.clb\t0\tClub\n");
}

TEST(CommandLineTest, ParsesCommandOptionsAndFlags) {
    auto line = CommandLine::Parse({"render", "--root", "/r", "--partner", "--out=x.png"});
    EXPECT_EQ(line.command, "render");
    EXPECT_EQ(line.Value("--root"), std::optional<std::string>("/r"));
    EXPECT_TRUE(line.Has("--partner"));
    EXPECT_EQ(line.Value("--out"), std::optional<std::string>("x.png"));
    EXPECT_TRUE(line.errors.empty());
    EXPECT_FALSE(CommandLine::Parse({"--root"}).errors.empty());
}

TEST(DataRootTest, AnEmptyRootIsSeededFromTheShippedDataWithoutOverwriting) {
    TempDir dir;
    WriteLines(dir / "root" / "mine.txt", {"keep"});
    std::string problem;
    ASSERT_TRUE(PrepareDataRoot(dir / "root", problem)) << problem;
    EXPECT_TRUE(fs::exists(dir / "root" / "cwr.sys"));
    EXPECT_TRUE(fs::exists(dir / "root" / "fontsdir" / "Pip4.ttf"));
    EXPECT_EQ(ReadLines(dir / "root" / "mine.txt"), (std::vector<std::string>{"keep"}));
}
