#include "Application.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ConsoleErrorPresenter.h"
#include "DataRoot.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <QStringList>
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
    EXPECT_FALSE(fs::exists(dir / "TempBmps"));
    EXPECT_TRUE(fs::is_directory(dir / "datasys"));
    EXPECT_EQ(ReadLines(dir / "cwrerror.log").at(0), "CWR Error Log.  DO NOT MODIFY THIS FILE");
    EXPECT_EQ(app->Context().Format.Current(), 0);
    EXPECT_EQ(app->Context().Format.Catalogue().FormatCount, 1);
}

TEST_F(StartupTest, FormatsListingShowsSlotCodeExtensionBackFlagAndName) {
    MakeDataRoot(dir.Path(),
                 {FormatSpec{}, FormatSpec{"CLUB", "club", "clb", "Club", false, 0, true, {}}});
    Application app(dir.Path(), prompter);
    ConsoleErrorPresenter console(app.Log(), app.Context());
    app.SetErrorPresenter(&console);
    std::ostringstream out;
    EXPECT_EQ(RunFormatsCommand(app, out), 0);
    EXPECT_EQ(out.str(), "0\tTEST\t.tst\t1\tTest Card\n1\tCLUB\t.clb\t0\tClub\n");
}

TEST_F(StartupTest, TheSuitFontIsBuiltInAndTheRootsFontsAreAddedToIt) {
    auto app = Start(0); // a root without fontsdir
    ASSERT_FALSE(fs::exists(dir / "fontsdir"));
    ASSERT_TRUE(app->RunStartup());
    EXPECT_EQ(app->Fonts().Families(), QStringList{"Pip4"});
    app->UnregisterFonts();
    EXPECT_TRUE(app->Fonts().Families().isEmpty());

    fs::create_directories(dir / "fontsdir");
    fs::copy_file(fs::path(CW_SOURCE_DATA) / "fontsdir" / "Pip4.ttf",
                  dir / "fontsdir" / "Extra.ttf");
    ASSERT_TRUE(app->RunStartup());
    EXPECT_EQ(app->Fonts().Families().size(), 2);
    app->UnregisterFonts();
}

TEST_F(StartupTest, CommandsLeaveTheSettingsAndTheNoticeToTheProgram) {
    MakeDataRoot(dir.Path(), {FormatSpec{"TEST", "test", "tst", "Caf\xE9 Card", true, 0, true, {}}},
                 2, 0);
    const std::string before = ReadFile(dir / "cwr.sys");
    {
        Application app(dir.Path(), prompter);
        ConsoleErrorPresenter console(app.Log(), app.Context());
        app.SetErrorPresenter(&console);
        std::ostringstream out;
        EXPECT_EQ(RunFormatsCommand(app, out), 0);
        EXPECT_EQ(out.str(), "0\tTEST\t.tst\t1\tCaf\xC3\xA9 Card\n"); // UTF-8 for the terminal
        int16_t slot = 0;
        NoCardFormatView view;
        ASSERT_TRUE(app.Context().SetupCardFormat(slot, view));
    }
    EXPECT_TRUE(prompter.MessageTexts().empty());
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), before);
    EXPECT_FALSE(fs::exists(dir / "datasys" / "TEST.dat"));

    auto app = std::make_unique<Application>(dir.Path(), prompter);
    ASSERT_TRUE(app->RunStartup());
    EXPECT_EQ(prompter.MessageTexts().size(), 1u); // still pending for the program
    EXPECT_EQ(S01Line(), "s01 0");
}

TEST(DataRootTest, ASettingsFileInAnyCaseIsTheRootsOwn) {
    TempDir dir;
    WriteLines(dir / "root" / "CWR.SYS", {"| mine"});
    std::string problem;
    ASSERT_TRUE(PrepareDataRoot(dir / "root", problem)) << problem;
    EXPECT_FALSE(fs::exists(dir / "root" / "cwr.sys"));
    EXPECT_FALSE(fs::exists(dir / "root" / "data"));
    EXPECT_EQ(ReadLines(dir / "root" / "CWR.SYS"), std::vector<std::string>{"| mine"});

    // Seeding fills the folders a root already has in another case.
    fs::remove(dir / "root" / "CWR.SYS");
    WriteLines(dir / "root" / "Data" / "mine.dat", {"keep"});
    ASSERT_TRUE(PrepareDataRoot(dir / "root", problem)) << problem;
    EXPECT_FALSE(fs::exists(dir / "root" / "data"));
    EXPECT_TRUE(fs::exists(dir / "root" / "Data" / "acbl1.dat"));
    EXPECT_EQ(ReadLines(dir / "root" / "Data" / "mine.dat"), std::vector<std::string>{"keep"});
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

// A root seeded from an older release keeps the layouts it was seeded with: its cards were made
// on them, and the shipped layouts of this release (the ACBL card's new shape) would not fit them.
TEST(DataRootTest, ARootSeededEarlierKeepsItsLayouts) {
    TempDir dir;
    WriteLines(dir / "root" / "cwr.sys", {"s01 0"});
    WriteLines(dir / "root" / "data" / "acbl1.dat", {"|the layout this root was seeded with"});
    std::string problem;
    ASSERT_TRUE(PrepareDataRoot(dir / "root", problem)) << problem;
    EXPECT_EQ(ReadLines(dir / "root" / "data" / "acbl1.dat"),
              std::vector<std::string>{"|the layout this root was seeded with"});
    EXPECT_FALSE(fs::exists(dir / "root" / "data" / "acbl2.dat"));
    EXPECT_EQ(ReadLines(dir / "root" / "cwr.sys"), std::vector<std::string>{"s01 0"});
}
