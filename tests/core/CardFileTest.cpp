#include "CardFile.h"

#include "RuntimeError.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace cw;
using namespace cw::test;

namespace {

class FailingRename : public FileSystem {
public:
    void RenameOver(const fs::path&, const fs::path&) override {
        throw RuntimeError(RuntimeError::PathFileAccess, "rename refused");
    }
};

std::vector<std::string> CardLines(const std::vector<std::string>& records) {
    std::vector<std::string> header{
        "Ann Smith & Bob Jones", "12345", "notes1.not", "Bob & Ann", "67890", "line five"};
    for (int i = 6; i <= 30; ++i)
        header.push_back(i == 16 ? "6.0.1" : "h" + std::to_string(i));
    std::vector<std::string> lines{"| card comment"};
    lines.insert(lines.end(), header.begin(), header.end());
    lines.insert(lines.end(), records.begin(), records.end());
    return lines;
}

class CardFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        location.CardDir = dir.Path();
        location.CurrentCardName = "mycard";
        location.CardExt = ".acb";
    }
    void WritePage(const std::vector<std::string>& records) {
        WriteLines(location.PagePath(), CardLines(records));
    }
    void Load(bool backSide = false) { CardFile::LoadCard(page, location, {backSide, {}}); }
    void Save(FileSystem& fileSystem = FileSystem::Default()) {
        CardFile::SaveCard(page, location, "6.3.19", fileSystem);
    }

    TempDir dir;
    CardLocation location;
    CardPage page;
};

const std::vector<std::string> kEveryKind = {
    "24,100,200,1,2,9,\"AKx\",255",
    "2,10,20,300,240,1,\"1NT <h>\",2",
    "3,50,60,0,0,1,\"\",8",
    "1,0,0,500,500,0,\"\",0",
    "4,70,80,0,1,120,\"\",255",
    "5,1,2,3,4,1,\"\",0",
    "6,1,2,3,4,2,255,0",
    "8,1,2,3,4,5,\"k8\",6",
    "12,10,500,20,20,1,\"\",0",
    "16,5,5,60,3,0,\"\",0",
    "17,1,2,3,4,5,\"k17\",6",
    "22,1,2,3,4,5,\"k22\",6",
    "18,5,6,1,0,0,\"\",0",
    "20,1,2,3,0,0,\"\",0",
    "23,1,2,3,4,2,\"\",0",
    "9,1,2,3,4,5,\"k9\",6",
    "15,1,2,3,4,0,\"pic.bmp\",0",
    "7,1,2,3,4,5,\"Label\",6",
};

} // namespace

TEST_F(CardFileTest, LoadsEveryKindIntoItsTable) {
    WritePage(kEveryKind);
    Load();
    EXPECT_EQ(page.CardHeader[0], "Ann Smith & Bob Jones");
    EXPECT_EQ(page.CardHeader[4], "67890");
    EXPECT_EQ(page.CardHeader[5], "line five");
    EXPECT_EQ(page.Count(TextField), 1);
    EXPECT_EQ(page.Field(TextField, 0).text, "1NT <h>");
    EXPECT_EQ(page.Field(TextField, 0).a[5], 2);
    EXPECT_EQ(page.Field(Rectangle, 0).a[5], 255); // colour from the text position
    EXPECT_EQ(page.Field(Bitmap, 0).text, "pic.bmp");
    EXPECT_EQ(page.Field(CircledItem, 0).a[5], 255);
    EXPECT_EQ(page.Field(PlainCircle, 0).a, (std::array<int32_t, 6>{1, 2, 3, 0, 0, 0}));
    EXPECT_TRUE(page.UseAltBaseLayer); // the circle record was read after the circled item
}

TEST_F(CardFileTest, UnchangedPageSavesBackWithOnlyTheAllowedDifferences) {
    WritePage(kEveryKind);
    std::string before = ReadFile(location.PagePath());
    Load();
    Save();
    std::vector<std::string> expected = CardLines({});
    expected[17] = "6.3.19"; // comment line + header line 16
    std::vector<std::string> records = {
        "15,1,2,3,4,0,\"pic.bmp\",0", "7,1,2,3,4,5,\"Label\",6", "2,10,20,300,240,1,\"1NT <h>\",2",
        "3,50,60,0,0,1,\"\",8",       "1,0,0,500,500,0,\"\",0",  "4,70,80,0,1,120,\"\",255",
        "5,1,2,3,4,1,\"\",0",         "6,1,2,3,4,2,255,0",       "8,1,2,3,4,5,\"k8\",6",
        "12,10,500,20,20,1,\"\",0",   "16,5,5,60,3,0,\"\",0",    "17,1,2,3,4,5,\"k17\",6",
        "22,1,2,3,4,5,\"k22\",6",     "18,5,6,1,0,0,\"\",0",     "20,1,2,3,0,0,\"\",0",
        "23,1,2,3,4,2,\"\",0",        "9,1,2,3,4,5,\"k9\",6",    "24,100,200,1,2,9,\"AKx\",255"};
    expected.insert(expected.end(), records.begin(), records.end());
    EXPECT_EQ(ReadLines(location.PagePath()), expected);
    EXPECT_FALSE(fs::exists(location.ScratchPath()));
    // A second round changes nothing more.
    std::string once = ReadFile(location.PagePath());
    Load();
    Save();
    EXPECT_EQ(ReadFile(location.PagePath()), once);
    EXPECT_NE(before, once);
}

TEST_F(CardFileTest, EightBitTextSurvivesByteForByte) {
    // windows-1252: e acute, euro sign, curly quotes.
    std::string text = "Caf\xE9 \x80 \x93x\x94";
    WritePage({"2,1,2,3,4,0,\"" + text + "\",0"});
    Load();
    EXPECT_EQ(page.Field(TextField, 0).text, text);
    Save();
    EXPECT_NE(ReadFile(location.PagePath()).find(text), std::string::npos);
}

TEST_F(CardFileTest, MalformedRecordsAreLeftOutAndTheRestIsRead) {
    WritePage({"2,1,2,3,4,0,\"first\",0", "10,1,2,3,4,0,\"\",0", "25,0,0,0,0,0,\"\",0",
               "3,1,1,0,0,0,\"\",8", "2,1,2,3,4,0,\"say \"hi\"\",0", "", "2,1,2,3,4,0,\"kept\",0"});
    LoadReport report = CardFile::LoadCard(page, location, {});
    EXPECT_EQ(page.Count(TextField), 2);
    EXPECT_EQ(page.Field(TextField, 1).text, "kept");
    EXPECT_EQ(page.Count(CheckBox), 1); // kinds 10 and 25 were skipped, not reported
    // Comment line, 31 header lines, then the records: the fifth record is line 37; the
    // blank line is nothing to read.
    EXPECT_EQ(report.notRead, std::vector<std::string>{"line 37: not a field record"});
    EXPECT_TRUE(page.ReadIncompletely);
    for (const char* bad :
         {"2,1,2,3", "2,a,2,3,4,0,\"x\",0", "2,1,2,3,4,0,\"open,0", "2,1,2,3,4,0,\"x\",0,9"}) {
        WritePage({"3,1,1,0,0,0,\"\",8", bad, "3,1,1,0,0,0,\"\",8"});
        report = CardFile::LoadCard(page, location, {});
        EXPECT_EQ(page.Count(CheckBox), 2) << bad; // a stray quote takes nothing along
        EXPECT_EQ(page.Count(TextField), 0) << bad;
        EXPECT_EQ(report.notRead.size(), 1u) << bad;
    }
    WritePage(std::vector<std::string>(7, "x"));
    report = CardFile::LoadCard(page, location, {});
    EXPECT_EQ(report.notRead.size(), 6u);
    EXPECT_EQ(report.notRead.back(), "2 more lines that are not field records");
}

TEST_F(CardFileTest, SpecialReadingRules) {
    WritePage({"16,1,1,50,6,0,\"\",0", "4,1,1,0,0,9,\"\",0", "21,1,2,3,4,5,\"\",6",
               "8,0,0,10,10,0,\"it's\",0"});
    Load();
    EXPECT_EQ(page.Field(ColourDot, 0).a[3], 5); // state 6 reads as 5
    EXPECT_TRUE(page.UseAltBaseLayer);           // the last circle/circled item decides
    EXPECT_EQ(page.Count(PrintDateFooter), 0);
    EXPECT_EQ(page.FooterRecord().a[4], 5);
    page.Field(FixedText, 0).text = "say \"x\"";
    Save();
    EXPECT_EQ(page.Field(FixedText, 0).text, "say 'x'");
    std::string file = ReadFile(location.PagePath());
    EXPECT_EQ(file.find("21,"), std::string::npos); // kind 21 is not written
    Load();
    EXPECT_EQ(page.Field(FixedText, 0).text, "say 'x'");
    EXPECT_EQ(page.FooterRecord().a[2], 0); // cleared by the load
}

TEST_F(CardFileTest, AQuoteInAnyTextCannotBreakTheFile) {
    WritePage({"2,1,2,3,4,0,\"names\",0", "3,1,1,0,0,0,\"\",8"});
    Load();
    page.Field(TextField, 0).text = "Ann \"Bo\" Smith";
    Save();
    Load();
    EXPECT_EQ(page.Field(TextField, 0).text, "Ann ''Bo'' Smith");
    EXPECT_EQ(page.Count(CheckBox), 1);
}

TEST_F(CardFileTest, RecordsBeyondAKindsCapacityAreReportedAndTheOthersRead) {
    std::vector<std::string> records(3, "16,1,1,50,0,0,\"\",0");
    records.push_back("3,1,1,0,0,0,\"\",8");
    WritePage(records);
    LoadReport report = CardFile::LoadCard(page, location, {});
    EXPECT_EQ(page.Count(ColourDot), 2);
    EXPECT_EQ(page.Count(CheckBox), 1);
    EXPECT_EQ(report.notRead,
              std::vector<std::string>{"1 colour dot beyond the 2 a card page can hold"});
}

TEST_F(CardFileTest, APageReadIncompletelyKeepsItsOriginalBeforeTheFirstSave) {
    std::vector<std::string> records(303, "3,1,1,0,0,0,\"\",8");
    records.push_back("2,1,2,3,4,0,\"notes\",0");
    WritePage(records);
    const std::string original = ReadFile(location.PagePath());
    LoadReport report = CardFile::LoadCard(page, location, {});
    EXPECT_EQ(report.notRead,
              std::vector<std::string>{"2 check boxes beyond the 301 a card page can hold"});
    page.Field(TextField, 0).text = "changed";
    Save();
    EXPECT_EQ(ReadFile(dir / "mycard.acb.bak"), original);
    EXPECT_FALSE(fs::exists(dir / "temp"));
    Load();
    EXPECT_EQ(page.Field(TextField, 0).text, "changed");
    EXPECT_FALSE(page.ReadIncompletely);
    // Later saves write what is in memory; the kept original stays as it was.
    Save();
    EXPECT_EQ(ReadFile(dir / "mycard.acb.bak"), original);

    // A file cut inside its header opens with what it has and is saved whole.
    std::vector<std::string> cut = CardLines({});
    cut.resize(9); // the comment line and header lines 0..7
    WriteLines(location.PagePath(), cut);
    report = CardFile::LoadCard(page, location, {});
    EXPECT_EQ(report.notRead,
              std::vector<std::string>{"header lines 8 to 30: the file ends before them"});
    EXPECT_EQ(page.CardHeader[3], "Bob & Ann");
    page.Add(CheckBox, {});
    Save();
    EXPECT_EQ(ReadFile(dir / "mycard.acb.bak"), CrLf(cut));
    auto lines = ReadLines(location.PagePath());
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[6], "line five");
    EXPECT_EQ(lines[17], "6.3.19");
    EXPECT_EQ(lines[32], "3,0,0,0,0,0,\"\",0");
}

TEST_F(CardFileTest, HeaderOnlyPageLoadsAndSaves) {
    WritePage({});
    Load();
    EXPECT_EQ(page.Count(TextField), 0);
    Save();
    EXPECT_EQ(ReadLines(location.PagePath()).size(), 32u);
}

TEST_F(CardFileTest, BackPageKeepsTheFrontPagesNotesFile) {
    WritePage({});
    Load();
    location.CurrentCardName = "mycard_";
    auto back = CardLines({});
    back[3] = "back-notes.not";
    WriteLines(location.PagePath(), back);
    page.CardHeader[2] = "  notes1.not ";
    Load(true);
    EXPECT_EQ(page.CardHeader[2], "notes1.not");
    Save();
    EXPECT_EQ(ReadLines(location.PagePath())[3], "notes1.not");
}

TEST_F(CardFileTest, MissingBackPageIsCreatedFromTheTemplateWhenAsked) {
    WriteLines(dir / "template3.dat", CardLines({"3,1,1,0,0,0,\"\",8"}));
    location.CurrentCardName = "mycard_";
    CardFile::LoadCard(page, location, {true, dir / "template3.dat"});
    EXPECT_TRUE(fs::exists(location.PagePath()));
    EXPECT_EQ(page.Count(CheckBox), 1);
    location.CurrentCardName = "other_";
    EXPECT_THROW(CardFile::LoadCard(page, location, {true, std::nullopt}), RuntimeError);
}

TEST_F(CardFileTest, FailedSavesLeaveTheOldFileUntouched) {
    WritePage({"2,1,2,3,4,0,\"keep\",0"});
    std::string before = ReadFile(location.PagePath());
    Load();
    page.Field(TextField, 0).text = "changed";
    FailingRename failingRename;
    EXPECT_THROW(Save(failingRename), RuntimeError);
    EXPECT_EQ(ReadFile(location.PagePath()), before);

    std::vector<std::string> shortHeader = CardLines({});
    shortHeader.resize(20);
    WriteLines(location.PagePath(), shortHeader);
    before = ReadFile(location.PagePath());
    EXPECT_THROW(Save(), RuntimeError);
    EXPECT_EQ(ReadFile(location.PagePath()), before);

    fs::remove(location.PagePath());
    EXPECT_THROW(Save(), RuntimeError);
    EXPECT_FALSE(fs::exists(location.PagePath()));
}

TEST(CardPageTest, CapacitiesAndKind21) {
    CardPage page;
    for (int i = 0; i < 2; ++i)
        page.Add(ColourDot, {});
    EXPECT_THROW(page.Add(ColourDot, {}), RuntimeError);
    EXPECT_THROW(page.Add(10, {}), RuntimeError);
    page.Add(PrintDateFooter, {{1, 2, 3, 4, 5, 6}, ""});
    EXPECT_EQ(page.Count(PrintDateFooter), 0);
    page.ClearCard();
    EXPECT_EQ(page.Count(ColourDot), 0);
    EXPECT_EQ(page.FooterRecord().a, (std::array<int32_t, 6>{1, 2, 0, 0, 5, 6}));
}

TEST_F(CardFileTest, LineBreaksTypedIntoAMultiLineFieldSurviveSaveAndLoad) {
    WritePage({"2,1,2,3,4,0,\"first\",3", "3,1,1,0,0,0,\"\",8"});
    Load();
    page.Field(TextField, 0).text = "one\r\ntwo\r\n\r\nfour";
    Save();
    Load();
    ASSERT_EQ(page.Count(TextField), 1);
    EXPECT_EQ(page.Field(TextField, 0).text, "one\r\ntwo\r\n\r\nfour");
    EXPECT_EQ(page.Count(CheckBox), 1); // the records after it still load
}
