#include "AppContext.h"
#include "ErrorTrap.h"
#include "RuntimeError.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

struct RecordingPresenter : ErrorPresenter {
    std::vector<ErrorState> shown;
    void ShowError(const ErrorState& state) override { shown.push_back(state); }
};

struct RecordingView : CardFormatView {
    std::vector<std::string> steps;
    void SetSideButtonsEnabled(bool enabled) override {
        steps.push_back(enabled ? "sides on" : "sides off");
    }
    void SelectFrontSide() override { steps.push_back("front"); }
    void SizeCardPicture() override { steps.push_back("size"); }
    void ShowFormatName(const std::string& name) override { steps.push_back("name " + name); }
    void SetCardListPattern(const std::string& pattern) override {
        steps.push_back("pattern " + pattern);
    }
    void ShowFormatPicture(const std::optional<fs::path>& picture) override {
        steps.push_back(picture ? "picture " + picture->filename().string() : "no picture");
    }
    void ShowSpecialNoticeLabel(bool visible) override {
        steps.push_back(visible ? "notice" : "no notice");
    }
    void RefillCardList() override { steps.push_back("list"); }
};

class ContextTest : public ::testing::Test {
protected:
    void Build(const std::vector<FormatSpec>& formats) {
        MakeDataRoot(dir.Path(), formats);
        ctx.ReadSystemSettings();
    }
    fs::path DefaultsPath(const std::string& code) { return dir / "datasys" / (code + ".dat"); }

    TempDir dir;
    ScriptedPrompter prompter;
    RecordingPresenter presenter;
    ErrorTrap trap{prompter, presenter};
    AppContext ctx{dir.Path(), prompter, trap};
    RecordingView view;
};

FormatSpec OnePage() {
    FormatSpec spec = OnePageFormat();
    spec.extraLines = {"w17 club.bmp"};
    return spec;
}

} // namespace

TEST_F(ContextTest, DefaultsFileIsCreatedFromTheLayoutFiles) {
    Build({FormatSpec{}});
    int16_t slot = 0;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    auto lines = ReadLines(DefaultsPath("TEST"));
    ASSERT_EQ(lines.size(), 48u);
    std::vector<std::string> head(lines.begin(), lines.begin() + 16);
    // check-box style, print width/height, flags, front margin, back margin, natural size,
    // base print colours (from files 2 and 4: colour 5), zoom, Y alignment, four zeros
    EXPECT_EQ(head, (std::vector<std::string>{"1", "7800", "10080", "3", "300", "200", "11520",
                                              "15120", "5", "5", "0", "40", "0", "0", "0", "0"}));
    // page blocks: colour (2 for the base layers), size, font, bold, italic, three zeros
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 16, lines.begin() + 24),
              (std::vector<std::string>{"1", "9", "\"Arial\"", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(lines[24], "2");
    EXPECT_EQ(ctx.Format.Defaults().CheckBoxStyle, 1);
    EXPECT_EQ(ctx.Format.Defaults().BasicFont, "Arial");
    EXPECT_EQ(ctx.View.ZoomedWidth(), 11520.0f);
    EXPECT_EQ(view.steps,
              (std::vector<std::string>{"sides on", "size", "name Test Card", "pattern *.tst",
                                        "no picture", "no notice", "list"}));
    EXPECT_EQ(ctx.Card.Location().CardDir, dir / "TEST");
}

TEST_F(ContextTest, OnePageFormatForcesTheFrontAndFillsTheBackBlocksWithZeros) {
    Build({FormatSpec{}, OnePage()});
    ctx.Card.SetBackSide(true);
    int16_t slot = 5; // past the end: the last format
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(ctx.Format.Current(), 1);
    EXPECT_FALSE(ctx.Card.BackSide());
    EXPECT_EQ(view.steps[0], "sides off");
    EXPECT_EQ(view.steps[1], "front");
    EXPECT_EQ(view.steps[5], "picture club.bmp");
    auto lines = ReadLines(DefaultsPath("CLUB"));
    ASSERT_EQ(lines.size(), 48u);
    for (int i = 32; i < 48; ++i)
        EXPECT_EQ(lines[size_t(i)], "0");
}

TEST_F(ContextTest, DefaultsAreRebuiltWhenDeletedOrWhenTheBaseFontIsEmpty) {
    Build({FormatSpec{}});
    int16_t slot = 0;
    ctx.SetupCardFormat(slot, view);
    std::string created = ReadFile(DefaultsPath("TEST"));
    fs::remove(DefaultsPath("TEST"));
    ctx.SetupCardFormat(slot, view);
    EXPECT_EQ(ReadFile(DefaultsPath("TEST")), created);

    auto lines = ReadLines(DefaultsPath("TEST"));
    lines[26] = "";
    WriteLines(DefaultsPath("TEST"), lines);
    EXPECT_TRUE(ctx.LoadFormatDefaults());
    EXPECT_EQ(ReadFile(DefaultsPath("TEST")), created);
}

TEST_F(ContextTest, UnreadableDefaultsFileIsKeptAsBadAndTheFormatIsSetUpFromItsLayout) {
    Build({FormatSpec{}, OnePage()});
    int16_t slot = 1;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    const std::string made = ReadFile(DefaultsPath("CLUB"));
    slot = 0;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    auto lines = ReadLines(DefaultsPath("CLUB"));
    lines.resize(30); // cut short
    lines[0] = "2";
    WriteLines(DefaultsPath("CLUB"), lines);
    const std::string cut = ReadFile(DefaultsPath("CLUB"));

    view.steps.clear();
    slot = 1;
    EXPECT_TRUE(ctx.SetupCardFormat(slot, view));
    EXPECT_EQ(ctx.Format.Current(), 1);
    EXPECT_EQ(view.steps.at(2), "size");
    EXPECT_EQ(view.steps.at(3), "name Club Card");
    EXPECT_EQ(view.steps.back(), "list");
    EXPECT_EQ(ctx.Card.Location().CardDir, dir / "CLUB");
    EXPECT_EQ(ctx.Format.Defaults().CheckBoxStyle, 1); // from the layout, not the cut file
    EXPECT_EQ(ReadFile(DefaultsPath("CLUB")), made);
    EXPECT_EQ(ReadFile(dir / "datasys" / "CLUB.dat.bad"), cut);
    EXPECT_TRUE(presenter.shown.empty());
    ASSERT_EQ(prompter.MessageTexts().size(), 1u); // said once
    EXPECT_NE(prompter.MessageTexts()[0].find("could not be read"), std::string::npos);
    EXPECT_NE(prompter.MessageTexts()[0].find("kept as CLUB.dat.bad"), std::string::npos);
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    EXPECT_EQ(prompter.MessageTexts().size(), 1u);
}

TEST_F(ContextTest, WithSettingsKeptUnchangedNoDefaultsFileIsWritten) {
    Build({FormatSpec{}});
    ctx.OnlyReadsDataRoot = true;
    int16_t slot = 0;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    EXPECT_EQ(ctx.Format.Defaults().CheckBoxStyle, 1);
    EXPECT_FALSE(fs::exists(DefaultsPath("TEST")));
    WriteLines(DefaultsPath("TEST"), {"1", "2"});
    ASSERT_TRUE(ctx.LoadFormatDefaults());
    EXPECT_EQ(ReadLines(DefaultsPath("TEST")), (std::vector<std::string>{"1", "2"}));
    EXPECT_FALSE(fs::exists(dir / "datasys" / "TEST.dat.bad"));
    ctx.Format.EditDefaults().SavedZoom = 3;
    ASSERT_TRUE(ctx.ApplyFormatDefaults(true));
    EXPECT_EQ(ReadLines(DefaultsPath("TEST")), (std::vector<std::string>{"1", "2"}));
}

TEST_F(ContextTest, FontNamesAreWrittenInQuotesInEveryBlock) {
    Build({FormatSpec{}});
    // Layout files may hold the font name bare.
    for (int page = 1; page <= 4; ++page) {
        fs::path layout = dir / "data" / ("test" + std::to_string(page) + ".dat");
        auto lines = ReadLines(layout);
        lines[10] = "Arial Narrow"; // header line 9 after the comment line
        WriteLines(layout, lines);
    }
    int16_t slot = 0;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    auto fontLines = [&] {
        auto lines = ReadLines(DefaultsPath("TEST"));
        return std::vector<std::string>{lines[18], lines[26], lines[34], lines[42]};
    };
    const std::vector<std::string> quoted(4, "\"Arial Narrow\"");
    EXPECT_EQ(fontLines(), quoted);
    EXPECT_EQ(ctx.Format.Defaults().BasicFont, "Arial Narrow");

    // A file written bare by an older version comes out quoted throughout when saved.
    auto lines = ReadLines(DefaultsPath("TEST"));
    for (size_t i : {18u, 26u, 34u, 42u})
        lines[i] = "Arial Narrow";
    WriteLines(DefaultsPath("TEST"), lines);
    ASSERT_TRUE(ctx.LoadFormatDefaults());
    ctx.Format.EditDefaults().SavedZoom = 1;
    ASSERT_TRUE(ctx.ApplyFormatDefaults(true));
    EXPECT_EQ(fontLines(), quoted);
}

TEST_F(ContextTest, SavedSettingsReachTheFileAndTheSavedZoomTheView) {
    Build({FormatSpec{}});
    int16_t slot = 0;
    ctx.SetupCardFormat(slot, view);
    ctx.Format.EditDefaults().SavedZoom = 2;
    ctx.Format.EditDefaults().BasicFont = "Times New Roman";
    ASSERT_TRUE(ctx.ApplyFormatDefaults(true));
    auto lines = ReadLines(DefaultsPath("TEST"));
    EXPECT_EQ(lines[10], "2");
    EXPECT_EQ(lines[18], "\"Times New Roman\"");
    EXPECT_FLOAT_EQ(ctx.View.ViewScale(), 1.4f);
    EXPECT_EQ(ctx.View.ZoomFactor(), 2.0f);
    ctx.View.SetUserScale(2.0f);
    ctx.SetupCardFormat(slot, view);
    EXPECT_FLOAT_EQ(ctx.View.ViewScale(), 2.0f); // a user's zoom is kept
}

TEST_F(ContextTest, SpecialNoticeOfAFormatIsCopiedForTheViewer) {
    Build({FormatSpec{}});
    WriteLines(dir / "TEST" / "special.txt", {"Read me"});
    int16_t slot = 0;
    ctx.SetupCardFormat(slot, view);
    EXPECT_EQ(view.steps[5], "notice");
    EXPECT_EQ(ReadLines(dir / "data" / "special.txt"), (std::vector<std::string>{"Read me"}));
}

TEST_F(ContextTest, MissingSettingsFileIsTrappedAndLeavesAnEmptyCatalogue) {
    EXPECT_FALSE(ctx.ReadSystemSettings());
    EXPECT_EQ(ctx.Format.Catalogue().FormatCount, 0);
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].Location, 1001);
    EXPECT_EQ(prompter.BeepCount(), 1);
}

TEST_F(ContextTest, SnapshotDescribesTheOpenCard) {
    Build({FormatSpec{}});
    int16_t slot = 0;
    ctx.SetupCardFormat(slot, view);
    ctx.Card.SetCardName("MYCARD");
    auto snapshot = ctx.Snapshot();
    EXPECT_EQ(snapshot.CurrentCardName, "MYCARD");
    EXPECT_EQ(snapshot.FormatDisplayName, std::optional<std::string>("Test Card"));
    ctx.Format.MakeCurrent(40);
    EXPECT_FALSE(ctx.Snapshot().FormatDisplayName.has_value());
}

TEST_F(ContextTest, ABaseLayerIsReadOnceAndAgainOnlyWhenItsFileChanges) {
    Build({FormatSpec{}});
    int16_t slot = 0;
    ASSERT_TRUE(ctx.SetupCardFormat(slot, view));
    const BaseLayer first = ctx.BaseLayerOf(false, false);
    ASSERT_TRUE(fs::exists(first.path));
    EXPECT_EQ(ctx.BaseLayerOf(false, false).file, first.file);

    // Another program writes the file: the next drawing reads it again.
    fs::last_write_time(first.path, fs::last_write_time(first.path) + std::chrono::hours(1));
    const BaseLayer rewritten = ctx.BaseLayerOf(false, false);
    EXPECT_NE(rewritten.stamp, first.stamp);
    EXPECT_NE(rewritten.file, first.file);
    EXPECT_TRUE(presenter.shown.empty());

    // A layer that has gone is reported and drawn without records; what was kept of it is not
    // drawn in its place.
    fs::remove(first.path);
    const BaseLayer gone = ctx.BaseLayerOf(false, false);
    ASSERT_TRUE(gone.file);
    EXPECT_TRUE(gone.file->records.empty());
    EXPECT_EQ(presenter.shown.size(), 1u);
}
