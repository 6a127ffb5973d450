#include "ErrorDialog.h"

#include "ErrorLinesView.h"
#include "ErrorLog.h"
#include "ScriptedPrompter.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace cw {
namespace {

namespace fs = std::filesystem;

class FixedContext : public ErrorContextSource {
public:
    ErrorContextSnapshot Snapshot() const override {
        if (fail)
            throw std::runtime_error("card page not loaded");
        return snapshot;
    }
    ErrorContextSnapshot snapshot;
    bool fail = false;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class ErrorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("cw_errorfrm_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        log_ = std::make_unique<ErrorLog>(folder_, "6.3.19", SystemInfo{});
        context_.snapshot.ProgramFolder = folder_.string();
        context_.snapshot.CurrentCardName = "MYCARD";
        context_.snapshot.FormatDisplayName = "SAYC";
        context_.snapshot.BasicFont = "Arial";
        context_.snapshot.BasicFontSize = "10";
        dialog_ = std::make_unique<ErrorDialog>(prompter_, *log_, context_);
    }
    void TearDown() override {
        dialog_.reset();
        fs::remove_all(folder_);
    }

    // Shows the error and presses button as soon as the dialog runs; returns whether the
    // dialog was visible then.
    bool ShowAndPress(const ErrorState& state, const char* button) {
        bool visible = false;
        QTimer::singleShot(0, dialog_.get(), [&] {
            visible = dialog_->isVisible();
            dialog_->findChild<QPushButton*>(button)->click();
        });
        dialog_->ShowError(state);
        return visible;
    }

    static ErrorState SampleError(int values) {
        ErrorState state;
        state.ErrDescription = "File not found";
        state.Location = 2031;
        for (int i = 1; i <= values; ++i)
            state.AdditionalData.push_back("value " + std::to_string(i));
        return state;
    }

    fs::path folder_;
    ScriptedPrompter prompter_;
    std::unique_ptr<ErrorLog> log_;
    FixedContext context_;
    std::unique_ptr<ErrorDialog> dialog_;
};

TEST_F(ErrorDialogTest, OkWritesOneRecordAndReturns) {
    EXPECT_TRUE(ShowAndPress(SampleError(2), "okButton_"));
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(dialog_->windowTitle(), "An Error Occurred");

    std::string log = ReadAll(folder_ / "cwrerror.log");
    EXPECT_EQ(Count(log, "Date - Time:"), 1u);
    EXPECT_NE(log.find("Location:           2031 - 0 \r\n"), std::string::npos);
    EXPECT_NE(log.find("        2)  value 2\r\n"), std::string::npos);
    EXPECT_EQ(prompter_.BeepCount(), 2);

    QStringList lines = dialog_->Lines();
    EXPECT_TRUE(lines.contains("    Location:           2031 - 0 "))
        << lines.join('|').toStdString();
    EXPECT_TRUE(lines.contains("    Card Format:        SAYC"));
    EXPECT_TRUE(lines.contains("        2)  value 2"));
}

TEST_F(ErrorDialogTest, EachErrorIsShownAndRecordedAnew) {
    ShowAndPress(SampleError(3), "okButton_");
    ErrorState second = SampleError(0);
    second.ErrDescription = "Overflow";
    context_.snapshot.FormatDisplayName.reset();
    ShowAndPress(second, "okButton_");

    EXPECT_EQ(Count(ReadAll(folder_ / "cwrerror.log"), "Date - Time:"), 2u);
    QStringList lines = dialog_->Lines();
    EXPECT_TRUE(lines.contains("    Error:              Overflow"));
    EXPECT_FALSE(lines.join('\n').contains("Additional data:"));
    EXPECT_FALSE(lines.join('\n').contains("Card Format:"));
}

TEST_F(ErrorDialogTest, DialogGrowsByOneLineStepPerAdditionalLine) {
    ShowAndPress(SampleError(0), "okButton_");
    int bare = dialog_->height();
    ShowAndPress(SampleError(3), "okButton_");
    int step = dialog_->findChild<ErrorLinesView*>()->LineStep();
    EXPECT_GT(step, 0);
    // "Additional data:" and three values.
    EXPECT_EQ(dialog_->height() - bare, 4 * step);
}

TEST_F(ErrorDialogTest, DialogIsCentredOnTheScreen) {
    ShowAndPress(SampleError(1), "okButton_");
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect frame = dialog_->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
}

TEST_F(ErrorDialogTest, EndThisSessionRunsTheEndFunction) {
    int ended = 0;
    dialog_->SetEndSession([&] { ++ended; });
    EXPECT_TRUE(ShowAndPress(SampleError(1), "endSessionButton_"));
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(dialog_->isVisible());
    // The record was written when the dialog opened.
    EXPECT_EQ(Count(ReadAll(folder_ / "cwrerror.log"), "Date - Time:"), 1u);
}

TEST_F(ErrorDialogTest, FailingContextAndLogStillShowTheError) {
    context_.fail = true;
    ErrorLog unwritable(folder_ / "no" / "such" / "folder", "6.3.19", SystemInfo{});
    ErrorDialog dialog(prompter_, unwritable, context_);
    QTimer::singleShot(0, &dialog, [&] { dialog.findChild<QPushButton*>("okButton_")->click(); });
    dialog.ShowError(SampleError(1));

    QStringList lines = dialog.Lines();
    EXPECT_TRUE(lines.contains("    Error:              File not found"));
    EXPECT_TRUE(lines.contains("    Location:           2031 - 0 "));
    EXPECT_TRUE(lines.contains("    Path:               " +
                               QString::fromStdString((folder_ / "no/such/folder").string())));
    EXPECT_TRUE(lines.contains("        1)  value 1"));
}

TEST_F(ErrorDialogTest, CardNamesInTheCodepageAreReadable) {
    ErrorState state = SampleError(1);
    state.AdditionalData = {std::string("M\xd8LLER")}; // windows-1252 "MØLLER"
    ShowAndPress(state, "okButton_");
    EXPECT_TRUE(dialog_->Lines().contains(QString::fromUtf8("        1)  M\u00d8LLER")));
}

} // namespace
} // namespace cw
