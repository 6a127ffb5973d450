#include "SystemSettings.h"

#include "HeaderLines.h"
#include "LineReader.h"
#include "RuntimeError.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void WriteSys(const std::vector<std::string>& lines) { WriteLines(dir / "cwr.sys", lines); }
    void Layouts(const std::string& base, bool withSecond = true) {
        WriteLines(dir / "data" / (base + "1.dat"), {"x"});
        if (withSecond)
            WriteLines(dir / "data" / (base + "2.dat"), {"x"});
    }
    void Read() { SystemSettingsFile(dir.Path(), FileSystem::Default()).Read(settings, catalogue); }

    TempDir dir;
    SystemSettings settings;
    FormatCatalogue catalogue;
};

} // namespace

TEST_F(SettingsFileTest, ReadsSettingsAndIgnoresShortLinesAndTheSeparatorCharacter) {
    WriteSys({"|c1", "free", "s01", "s01x3", "s02 2", "s03 anything", "w01"});
    Read();
    EXPECT_EQ(settings.SystemFlags, 3);
    EXPECT_EQ(settings.DefaultFormat, 2);
    EXPECT_EQ(catalogue.FormatCount, 0);
}

TEST_F(SettingsFileTest, BuildsCatalogueColumnsFromFormatRecords) {
    Layouts("abcdefg");
    WriteSys({"free", "s01 0", "s02 0", "s03 0", "w01 list", "w02 acbl", "w03 abcdefghij",
              "w04 acb", "w05 ACBL Card", "w09 1", "w10 abc", "w12 5.0", "w13  07", "w17 acbl.bmp",
              "w08 9", "w98 end", "w99 end"});
    Read();
    ASSERT_EQ(catalogue.FormatCount, 1);
    EXPECT_EQ(catalogue.Column(0, ColFolder), "/acbl"); // lower case kept
    EXPECT_EQ(catalogue.Codes.FmtACBL, 0);              // recognised in upper case
    EXPECT_EQ(catalogue.Column(0, ColFrontTemplate), "/data/abcdefg1.dat");
    EXPECT_EQ(catalogue.Column(0, ColBackBase), "/data/abcdefg4.dat");
    EXPECT_EQ(catalogue.Column(0, ColExtension), ".acb");
    EXPECT_EQ(catalogue.Column(0, ColDisplayName), "ACBL Card");
    EXPECT_EQ(catalogue.Column(0, ColColourScheme), "0");
    EXPECT_EQ(catalogue.Column(0, ColFrontMargin), "5");
    EXPECT_EQ(catalogue.Column(0, ColFieldTint), "7");
    EXPECT_EQ(catalogue.Column(0, ColPicture), "acbl.bmp");
    EXPECT_EQ(catalogue.Column(0, 7), ""); // w08 is ignored
    EXPECT_EQ(catalogue.Codes.FmtSAYC, -1);
}

TEST_F(SettingsFileTest, FormatWithoutLayoutFilesIsOverwrittenAndRecordsAfterW99DoNotExist) {
    Layouts("first", false);
    Layouts("second");
    Layouts("third");
    WriteSys({"free", "s01 0", "s02 0", "s03 0", "w01 list", "w02 ACBL", "w03 first", "w98 end",
              "w02 SAYC", "w03 second", "w05 Second", "w98 end", "w99 end", "w02 WBFB", "w03 third",
              "w98 end"});
    Read();
    EXPECT_EQ(catalogue.FormatCount, 1);
    EXPECT_EQ(catalogue.Column(0, ColDisplayName), "Second");
    EXPECT_EQ(catalogue.Codes.FmtACBL, 0); // stays at the slot it was read in
    EXPECT_EQ(catalogue.Codes.FmtSAYC, 0);
    EXPECT_EQ(catalogue.Codes.FmtWBFB, -1);
}

TEST_F(SettingsFileTest, MissingFileAndTooManyCommentLinesFail) {
    EXPECT_THROW(Read(), RuntimeError);
    std::vector<std::string> lines(12, "|comment");
    lines.push_back("free");
    WriteSys(lines);
    EXPECT_THROW(Read(), RuntimeError);
}

TEST_F(SettingsFileTest, SaveRewritesOnlyTheThreeSettingsLines) {
    WriteSys(
        {"|one", "|two", "free line", "s01 2", "s02 1", "s03 7", "w01 list", "w02 X", "w99 end"});
    settings.SystemFlags = 0;
    settings.DefaultFormat = 4;
    SystemSettingsFile(dir.Path(), FileSystem::Default()).Save(settings);
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), CrLf({"|one", "|two", "free line", "s01 0", "s02 4",
                                               "s03 0", "w01 list", "w02 X", "w99 end"}));
    EXPECT_FALSE(fs::exists(dir / "temp"));
}

TEST_F(SettingsFileTest, SaveOfATruncatedFileFailsAndKeepsIt) {
    WriteSys({"free", "s01 2"});
    std::string before = ReadFile(dir / "cwr.sys");
    EXPECT_THROW(SystemSettingsFile(dir.Path(), FileSystem::Default()).Save(settings),
                 RuntimeError);
    EXPECT_EQ(ReadFile(dir / "cwr.sys"), before);
}

TEST_F(SettingsFileTest, PatchReplacesEveryS02Line) {
    WriteSys({"|s02 comment", "free", "s01 0", "s02 0", "s03 0", "s02x", "w99 end"});
    SystemSettingsFile(dir.Path(), FileSystem::Default()).PatchDefaultFormat(3);
    EXPECT_EQ(ReadLines(dir / "cwr.sys"),
              (std::vector<std::string>{"|s02 comment", "free", "s01 0", "s02 3", "s03 0", "s02 3",
                                        "w99 end"}));
}

TEST(HeaderLinesTest, ElevenCommentLinesFitAndAreWrittenBack) {
    std::vector<std::string> lines(11, "|c");
    lines[3] = "|different";
    lines.push_back("first");
    LineReader reader(CrLf(lines));
    HeaderLines header;
    EXPECT_EQ(header.Read(reader), "first");
    EXPECT_EQ(header.Count(), 11);
    std::string out;
    header.Write(out);
    lines.pop_back();
    EXPECT_EQ(out, CrLf(lines));
}
