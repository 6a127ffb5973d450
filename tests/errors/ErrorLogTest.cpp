#include "ErrorLog.h"

#include "ErrorTrap.h"
#include "RuntimeError.h"
#include "ScriptedPrompter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace cw {
namespace {

namespace fs = std::filesystem;

std::tm FixedTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

SystemInfo SampleSystem() {
    SystemInfo info;
    info.Platform = "Linux, 6.1.0-18-amd64, Build #1 SMP, x86_64";
    info.ScreenWidth = 1024;
    info.ScreenHeight = 768;
    info.TwipsPerPixel = 15;
    info.Components = {{"libQt6Core.so.6", "01-02-2023 10:11:12", 6123456, "6.4.2"},
                       {"libstdc++.so.6", "12-31-2022 23:59:59", 2190440, "6.0.30"}};
    return info;
}

ErrorContextSnapshot SampleContext() {
    ErrorContextSnapshot context;
    context.ProgramFolder = "/home/ann/.local/share/cardwright";
    context.CurrentCardName = "MYCARD";
    context.FormatDisplayName = "ACBL Convention Card";
    context.MainWindowLoaded = true;
    context.CardPictureScaleMode = 1;
    context.PWIDTH = 7.5f;
    context.PHEIGHT = 10.1f;
    context.BasicFont = "Arial";
    context.BasicFontSize = "9.75";
    context.ZoomFactor = 1.25f;
    return context;
}

ErrorState SampleError() {
    ErrorState state;
    state.ErrDescription = "Subscript out of range";
    state.Location = 2010;
    state.ErrLine = 0;
    state.AdditionalData = {"CARD1", 42, "Length = 7"};
    return state;
}

class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("cw_errorlog_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    ErrorLog MakeLog(SystemInfo info = SampleSystem()) {
        return ErrorLog(folder_, "6.3.19", std::move(info),
                        [] { return FixedTime(2024, 3, 7, 9, 5, 4); });
    }
    fs::path LogFile() const { return folder_ / "cwrerror.log"; }

    fs::path folder_;
};

const char* const kSampleRecord = "Date - Time:        03-07-2024  09:05\r\n"
                                  "Error:              Subscript out of range\r\n"
                                  "Location:           2010 - 0 \r\n"
                                  "Path:               /home/ann/.local/share/cardwright\r\n"
                                  "Current Card:       MYCARD\r\n"
                                  "Card Format:        ACBL Convention Card\r\n"
                                  "    Additional data:\r\n"
                                  "        1)  CARD1\r\n"
                                  "        2)  42\r\n"
                                  "        3)  Length = 7\r\n"
                                  "Scalemode:          1\r\n"
                                  "PWIDTH:             7.5\r\n"
                                  "PHEIGHT:            10.1\r\n"
                                  "BasicFont:          Arial\r\n"
                                  "BasicFontSize:      9.75\r\n"
                                  "Zoom Factor:        1.25\r\n"
                                  "=======================================\r\n";

const char* const kSampleHeader =
    "CWR Error Log.  DO NOT MODIFY THIS FILE\r\n"
    "=======================================\r\n"
    "File Created:       03-07-2024  09:05:04\r\n"
    "CWR Version:        6.3.19-2\r\n"
    "Platform:           Linux, 6.1.0-18-amd64, Build #1 SMP, x86_64\r\n"
    "Screen Resolution:  1024 x 768\r\n"
    "Font:               Small Fonts\r\n"
    "libQt6Core.so.6\t  01-02-2023 10:11:12\t 6123456 \t6.4.2\r\n"
    "libstdc++.so.6\t  12-31-2022 23:59:59\t 2190440 \t6.0.30\r\n"
    "=======================================\r\n";

TEST_F(ErrorLogTest, RecordWithThreeAdditionalValues) {
    ErrorLog log = MakeLog();
    EXPECT_TRUE(log.WriteErrorRecord(SampleError(), SampleContext()));
    EXPECT_EQ(ReadAll(LogFile()), kSampleRecord);
}

TEST_F(ErrorLogTest, RecordsAreAppendedAfterTheHeader) {
    ErrorLog log = MakeLog();
    log.CreateErrorLog();
    ErrorState second = SampleError();
    second.ErrDescription = "Overflow";
    second.Location = 1007;
    second.ErrLine = 12;
    log.WriteErrorRecord(SampleError(), SampleContext());
    log.WriteErrorRecord(second, SampleContext());
    std::string text = ReadAll(LogFile());
    ASSERT_EQ(text.rfind(kSampleHeader, 0), 0u) << text;
    std::string records = text.substr(std::string(kSampleHeader).size());
    EXPECT_EQ(records.rfind(kSampleRecord, 0), 0u);
    std::string last = records.substr(std::string(kSampleRecord).size());
    EXPECT_NE(last.find("Error:              Overflow\r\n"), std::string::npos);
    EXPECT_NE(last.find("Location:           1007 - 12 \r\n"), std::string::npos);
}

TEST_F(ErrorLogTest, OptionalRecordLines) {
    ErrorLog log = MakeLog();
    ErrorState state = SampleError();
    state.AdditionalData.clear();
    ErrorContextSnapshot context = SampleContext();
    context.MainWindowLoaded = false;
    context.FormatDisplayName.reset();
    context.ZoomFactor = 0;
    std::string record = log.FormatErrorRecord(state, context, FixedTime(2023, 12, 25, 17, 0, 59));
    EXPECT_EQ(record, "Date - Time:        12-25-2023  17:00\r\n"
                      "Error:              Subscript out of range\r\n"
                      "Location:           2010 - 0 \r\n"
                      "Path:               /home/ann/.local/share/cardwright\r\n"
                      "Current Card:       MYCARD\r\n"
                      "PWIDTH:             7.5\r\n"
                      "PHEIGHT:            10.1\r\n"
                      "BasicFont:          Arial\r\n"
                      "BasicFontSize:      9.75\r\n"
                      "Zoom Factor:        0\r\n"
                      "=======================================\r\n");
}

TEST_F(ErrorLogTest, HeaderDescribesTheMachine) {
    ErrorLog log = MakeLog();
    log.CreateErrorLog();
    EXPECT_EQ(ReadAll(LogFile()), kSampleHeader);
}

TEST_F(ErrorLogTest, FontLineFollowsTwipsPerPixel) {
    auto fontLine = [](int twipsPerPixel) {
        SystemInfo info;
        info.TwipsPerPixel = twipsPerPixel;
        std::string out;
        ErrorLog::WriteSystemInfo(out, info);
        return out.substr(out.find("\r\n") + 2);
    };
    EXPECT_EQ(fontLine(15), "Font:               Small Fonts\r\n"
                            "=======================================\r\n");
    EXPECT_EQ(fontLine(12), "Font:               Large Fonts\r\n"
                            "=======================================\r\n");
    EXPECT_EQ(fontLine(10), "Font Size:          10\r\n"
                            "=======================================\r\n");
}

TEST_F(ErrorLogTest, CheckCreatesAMissingLog) {
    ErrorLog log = MakeLog();
    log.CheckErrorLog();
    EXPECT_EQ(ReadAll(LogFile()), kSampleHeader);
}

TEST_F(ErrorLogTest, CheckKeepsALogOfExactlyTheLimit) {
    std::string header = "CWR Error Log.  DO NOT MODIFY THIS FILE\r\n";
    std::string old = header + std::string(25000 - header.size(), 'x');
    ASSERT_EQ(old.size(), 25000u);
    WriteAll(LogFile(), old);
    ErrorLog log = MakeLog();
    log.CheckErrorLog();
    EXPECT_EQ(ReadAll(LogFile()), old);
    log.WriteErrorRecord(SampleError(), SampleContext());
    EXPECT_EQ(ReadAll(LogFile()), old + kSampleRecord);
}

TEST_F(ErrorLogTest, CheckReplacesALogOverTheLimit) {
    std::string header = "CWR Error Log.  DO NOT MODIFY THIS FILE\r\n";
    WriteAll(LogFile(), header + std::string(25001 - header.size(), 'x'));
    MakeLog().CheckErrorLog();
    EXPECT_EQ(ReadAll(LogFile()), kSampleHeader);
}

TEST_F(ErrorLogTest, CheckReplacesALogWithAnotherFirstLine) {
    ErrorLog log = MakeLog();
    for (const std::string& first : {std::string("CWR Error Log.  Do Not Modify This File\r\n"),
                                     std::string("CWR Error Log. DO NOT MODIFY THIS FILE\r\n"),
                                     std::string("\r\n"), std::string()}) {
        WriteAll(LogFile(),
                 first.empty() ? first : first + "Date - Time:        01-01-2024  10:00\r\n");
        log.CheckErrorLog();
        EXPECT_EQ(ReadAll(LogFile()), kSampleHeader) << first;
    }
}

TEST_F(ErrorLogTest, CheckAcceptsLinesEndedByLineFeedOnly) {
    std::string old = "CWR Error Log.  DO NOT MODIFY THIS FILE\nrest\n";
    WriteAll(LogFile(), old);
    MakeLog().CheckErrorLog();
    EXPECT_EQ(ReadAll(LogFile()), old);
}

TEST_F(ErrorLogTest, LogCopiedInUpperCaseIsUsed) {
    std::string old = "CWR Error Log.  DO NOT MODIFY THIS FILE\r\n";
    WriteAll(folder_ / "CWRERROR.LOG", old);
    ErrorLog log = MakeLog();
    log.CheckErrorLog();
    log.WriteErrorRecord(SampleError(), SampleContext());
    EXPECT_EQ(ReadAll(folder_ / "CWRERROR.LOG"), old + kSampleRecord);
    EXPECT_FALSE(fs::exists(LogFile()));
}

TEST_F(ErrorLogTest, UnwritableLogLosesTheRecordSilently) {
    // A program folder that is a plain file cannot hold the log.
    fs::path notAFolder = folder_ / "plain";
    WriteAll(notAFolder, "x");
    ErrorLog log(notAFolder, "6.3.19", SampleSystem());
    bool written = true;
    EXPECT_NO_THROW(written = log.WriteErrorRecord(SampleError(), SampleContext()));
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(notAFolder), "x");
}

TEST_F(ErrorLogTest, FailingClockLosesTheRecordSilently) {
    ErrorLog log(folder_, "6.3.19", SampleSystem(),
                 []() -> std::tm { throw RuntimeError(6, "Overflow"); });
    EXPECT_FALSE(log.WriteErrorRecord(SampleError(), SampleContext()));
    EXPECT_FALSE(fs::exists(LogFile()));
}

class RecordingPresenter : public ErrorPresenter {
public:
    void ShowError(const ErrorState& state) override { shown.push_back(state); }
    std::vector<ErrorState> shown;
};

TEST_F(ErrorLogTest, FailuresOfTheStartUpCheckAreTrappedWhenATrapIsGiven) {
    ErrorLog log(folder_ / "missing" / "folder", "6.3.19", SampleSystem());
    EXPECT_THROW(log.CheckErrorLog(), RuntimeError);

    ScriptedPrompter prompter;
    RecordingPresenter presenter;
    ErrorTrap trap(prompter, presenter);
    log.ReportErrorsTo(&trap);
    EXPECT_NO_THROW(log.CheckErrorLog());
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].Location, ErrorLog::CreateLocation);
}

TEST(ErrorDialogLinesTest, LinesOfTheOpening) {
    std::vector<std::string> lines = ErrorDialogLines(SampleError(), SampleContext());
    std::vector<std::string> expected = {
        "",
        "    Error:              Subscript out of range",
        "    Location:           2010 - 0 ",
        "    Path:               /home/ann/.local/share/cardwright",
        "    Current Card:       MYCARD",
        "    Card Format:        ACBL Convention Card",
        "    Additional data:",
        "        1)  CARD1",
        "        2)  42",
        "        3)  Length = 7",
    };
    EXPECT_EQ(lines, expected);

    ErrorState bare = SampleError();
    bare.AdditionalData.clear();
    ErrorContextSnapshot noFormat = SampleContext();
    noFormat.FormatDisplayName.reset();
    lines = ErrorDialogLines(bare, noFormat);
    expected.resize(5);
    EXPECT_EQ(lines, expected);
}

} // namespace
} // namespace cw
