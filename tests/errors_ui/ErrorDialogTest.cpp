#include "ErrorDialog.h"

#include "ErrorLinesView.h"
#include "ErrorLog.h"
#include "LocalMailServers.h"
#include "MailSettings.h"
#include "ScriptedPrompter.h"
#include "SmtpTransport.h"
#include "TestFiles.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
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

TEST(ErrorLinesViewTest, ALongPathGoesOnInTheNextLineWholeAndIndented) {
    ErrorLinesView view;
    const QString path = "    Description: Cannot write /home/ann/Cardwright/data/acbl/"
                         "Smith and Jones for the club championship.acb: No space left";
    view.SetMaximumTextWidth(view.fontMetrics().horizontalAdvance(QString(40, 'M')));
    view.SetLines({"Short line", path});
    const QStringList shown = view.ShownLines();
    ASSERT_GT(shown.size(), 2);
    EXPECT_EQ(shown[0], "Short line");
    QString joined;
    for (qsizetype i = 1; i < shown.size(); ++i) {
        EXPECT_LE(view.fontMetrics().horizontalAdvance(shown[i]),
                  view.fontMetrics().horizontalAdvance(QString(40, 'M')));
        EXPECT_TRUE(shown[i].startsWith("    ")) << shown[i].toStdString();
        joined += i == 1 ? shown[i] : shown[i].mid(4);
    }
    // Nothing of the text is lost to an ellipsis, and a word is not cut in the middle.
    EXPECT_EQ(joined, path);
    EXPECT_TRUE(shown[1].endsWith(' ') || shown[1].endsWith('/')) << shown[1].toStdString();
    EXPECT_EQ(view.sizeHint().height() - ErrorLinesView().sizeHint().height(),
              int(shown.size()) * view.LineStep());
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

// ---- "Send Now"

using namespace std::chrono_literals;

class SendNowTest : public ErrorDialogTest {
protected:
    void SetUp() override {
        ErrorDialogTest::SetUp();
        test::WriteFile(folder_ / "cwr.sys", "s01 0\r\ns02 1\r\nw99 end\r\n");
        dialog_->SetMailTransport(&transport_);
    }

    void UseServer(const std::string& url) {
        MailSettings settings;
        settings.ServerUrl = url;
        settings.Sender = "player@club.example";
        settings.Maintainer = "maintainer@cards.example";
        MailSettingsFile(folder_).Write(settings);
    }

    // Shows an error; steps run inside the open dialog, which is then closed with "OK".
    void WithDialog(const std::function<void()>& steps) {
        QTimer::singleShot(0, dialog_.get(), [&] {
            steps();
            auto* ok = dialog_->findChild<QPushButton*>("okButton_");
            if (dialog_->isVisible() && ok->isEnabled()) {
                ok->click();
            } else if (dialog_->isVisible()) {
                ADD_FAILURE() << "\"OK\" is still disabled";
                dialog_->done(QDialog::Rejected);
            }
        });
        dialog_->ShowError(SampleError(1));
    }

    void FillAndSend(const std::array<QString, 4>& answers) {
        dialog_->sendNowButton()->click();
        for (int i = 0; i < 4; ++i)
            dialog_->answerBox(i)->setPlainText(answers[size_t(i)]);
        dialog_->sendButton()->click();
    }

    // Each attachment received is the file as it is now, byte for byte.
    void ExpectAttachments(const test::LocalSmtpServer::Received& received,
                           const std::vector<fs::path>& files) {
        std::vector<std::string> names;
        for (const fs::path& file : files)
            names.push_back(file.filename().string());
        EXPECT_EQ(received.attachmentNames, names);
        for (const fs::path& file : files)
            EXPECT_EQ(test::ReadFile(received.attachments / file.filename()), test::ReadFile(file))
                << file;
    }

    SmtpTransport transport_{5s};
};

TEST_F(SendNowTest, CancelInTheQuestionnaireSendsNothingAndWritesNothing) {
    test::LocalSmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Url());
    std::string logAfterOpening;
    WithDialog([&] {
        logAfterOpening = ReadAll(folder_ / "cwrerror.log");
        dialog_->sendNowButton()->click();
        EXPECT_TRUE(dialog_->questionnaire()->isVisible());
        EXPECT_FALSE(dialog_->sendNowButton()->isEnabled());
        dialog_->answerBox(0)->setPlainText("Printing");
        dialog_->cancelSendButton()->click();
        EXPECT_FALSE(dialog_->questionnaire()->isVisible());
        EXPECT_TRUE(dialog_->sendNowButton()->isEnabled());
    });
    EXPECT_EQ(ReadAll(folder_ / "cwrerror.log"), logAfterOpening);
    EXPECT_EQ(server.MessageCount(), 0);
    EXPECT_TRUE(prompter_.MessageTexts().empty());
}

TEST_F(SendNowTest, WithNoCardOpenTheLogAndTheSettingsFileGoToTheMaintainer) {
    test::LocalSmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Url());
    context_.snapshot.CurrentCardName = "  ";
    WithDialog([&] {
        FillAndSend({"Printing my card", "Yes", "Two lines\nof detail", "Ann, Norway"});
        EXPECT_FALSE(dialog_->sendNowButton()->isEnabled());
    });
    EXPECT_EQ(prompter_.MessageTexts(),
              std::vector<std::string>{"The message and error log have been sent."});
    std::string log = ReadAll(folder_ / "cwrerror.log");
    EXPECT_NE(log.find("=======================================\r\n0. Printing my card\r\n"
                       "1. Yes\r\n2. Two lines\r\nof detail\r\n3. Ann, Norway\r\n"
                       "=======================================\r\n"),
              std::string::npos)
        << log;

    auto received = server.Message(1, 10s);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->subject, "Cardwright - Error Log Automation");
    EXPECT_EQ(received->text, "<<< cwrerror.log Automated Email>>>");
    EXPECT_EQ(received->recipients, std::vector<std::string>{"maintainer@cards.example"});
    EXPECT_EQ(received->to, "maintainer@cards.example");
    ExpectAttachments(*received, {folder_ / "cwrerror.log", folder_ / "cwr.sys"});
}

TEST_F(SendNowTest, AnOpenCardOfATwoPageFormatSendsBothPages) {
    test::LocalSmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Problem();
    UseServer(server.Url());
    fs::path cards = folder_ / "acbl";
    test::WriteFile(cards / "MYCARD.acb", "front page\r\n\x93quoted\x94\r\n");
    test::WriteFile(cards / "MYCARD_.acb", "back page\r\n");
    context_.snapshot.CardDir = cards.string();
    context_.snapshot.CardExt = ".acb";
    context_.snapshot.FormatHasBackPage = true;
    context_.snapshot.CurrentCardName = "MYCARD";
    WithDialog([&] { FillAndSend({"Saving", "", "", ""}); });
    context_.snapshot.CurrentCardName = "MYCARD_"; // the back page is open
    WithDialog([&] { FillAndSend({"Saving", "", "", ""}); });

    auto front = server.Message(1, 10s);
    ASSERT_TRUE(front);
    EXPECT_EQ(front->attachmentNames,
              (std::vector<std::string>{"cwrerror.log", "cwr.sys", "MYCARD.acb", "MYCARD_.acb"}));
    auto back = server.Message(2, 10s);
    ASSERT_TRUE(back);
    ExpectAttachments(*back, {folder_ / "cwrerror.log", folder_ / "cwr.sys", cards / "MYCARD_.acb",
                              cards / "MYCARD.acb"});
}

// The failure message, then the transport's own reason.
bool IsFailureMessage(const std::string& text) {
    const std::string start = ErrorReport::FailureMessage + std::string("\n\n");
    return text.rfind(start, 0) == 0 && text.size() > start.size();
}

TEST_F(SendNowTest, ARefusedConnectionSaysWhyLeavesTheDialogUsableAndLogsTheAnswersOnce) {
    test::RefusingServer nobody;
    UseServer(nobody.Url());
    WithDialog([&] {
        FillAndSend({"Opening a card", "", "", ""});
        EXPECT_TRUE(dialog_->isVisible());
        EXPECT_TRUE(dialog_->findChild<QPushButton*>("okButton_")->isEnabled());
        // Another try starts from the answers already given.
        ASSERT_TRUE(dialog_->sendNowButton()->isEnabled());
        dialog_->sendNowButton()->click();
        EXPECT_EQ(dialog_->answerBox(0)->toPlainText(), "Opening a card");
        dialog_->sendButton()->click();
    });
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    ASSERT_EQ(prompter_.MessageTexts().size(), 2u);
    EXPECT_TRUE(IsFailureMessage(prompter_.MessageTexts()[0])) << prompter_.MessageTexts()[0];
    const std::string log = ReadAll(folder_ / "cwrerror.log");
    const std::string answer = "0. Opening a card";
    ASSERT_NE(log.find(answer), std::string::npos);
    EXPECT_EQ(log.find(answer), log.rfind(answer)) << "the answers were logged twice";
}

TEST_F(SendNowTest, WithoutAnAddressForReportsTheUserIsAskedOnceAndItIsKept) {
    test::LocalSmtpServer server;
    ASSERT_TRUE(server.Running()) << server.Problem();
    MailSettings settings;
    settings.ServerUrl = server.Url();
    settings.Sender = "player@club.example";
    MailSettingsFile(folder_).Write(settings);

    prompter_.QueueInput(std::string("not an address"));
    prompter_.QueueInput(std::string(" keeper@club.example "));
    WithDialog([&] { FillAndSend({"Printing", "", "", ""}); });
    auto received = server.Message(1, 10s);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->recipients, std::vector<std::string>{"keeper@club.example"});
    EXPECT_EQ(MailSettingsFile(folder_).Read().Maintainer, "keeper@club.example");

    // Cancelling the question sends nothing and leaves the answers for another try.
    settings.Maintainer.clear();
    MailSettingsFile(folder_).Write(settings);
    prompter_.QueueInput(std::nullopt);
    WithDialog([&] {
        FillAndSend({"Again", "", "", ""});
        EXPECT_TRUE(dialog_->sendNowButton()->isEnabled());
    });
    EXPECT_EQ(server.MessageCount(), 1);
}

TEST_F(SendNowTest, TheDialogKeepsAnsweringWhileASilentServerTimesOut) {
    test::SilentServer silent;
    UseServer(silent.Url());
    SmtpTransport quick(1s);
    dialog_->SetMailTransport(&quick);
    bool answeredWhileSending = false;
    bool okBlockedWhileSending = false;
    WithDialog([&] {
        dialog_->sendNowButton()->click();
        QTimer::singleShot(200, dialog_.get(), [&] {
            answeredWhileSending = dialog_->Sending() && dialog_->isVisible();
            okBlockedWhileSending = !dialog_->findChild<QPushButton*>("okButton_")->isEnabled() &&
                                    prompter_.BusyDepth() > 0;
        });
        dialog_->sendButton()->click();
    });
    EXPECT_TRUE(answeredWhileSending);
    EXPECT_TRUE(okBlockedWhileSending);
    EXPECT_EQ(prompter_.BusyDepth(), 0);
    ASSERT_EQ(prompter_.MessageTexts().size(), 1u);
    EXPECT_TRUE(IsFailureMessage(prompter_.MessageTexts()[0])) << prompter_.MessageTexts()[0];
}

TEST_F(SendNowTest, WhileSendingTheDialogSaysSoAndCancelStopsWaitingForTheServer) {
    test::SilentServer silent;
    UseServer(silent.Url());
    SmtpTransport patient(60s);
    dialog_->SetMailTransport(&patient);
    bool noteShown = false;
    WithDialog([&] {
        dialog_->sendNowButton()->click();
        QTimer::singleShot(200, dialog_.get(), [&] {
            auto* note = dialog_->findChild<QLabel*>("sendingNote");
            noteShown = note && note->isVisible() && note->text().startsWith("Sending");
            dialog_->findChild<QPushButton*>("stopSendingButton")->click();
        });
        dialog_->sendButton()->click();
        EXPECT_FALSE(dialog_->Sending());
        EXPECT_TRUE(dialog_->sendNowButton()->isEnabled());
    });
    EXPECT_TRUE(noteShown);
    // Cancelled by the user: no failure to report.
    EXPECT_TRUE(prompter_.MessageTexts().empty());
}

TEST_F(SendNowTest, WithoutAServerTheReportIsSavedToAFolderOrHandedToTheMailProgram) {
    test::TempDir elsewhere;
    // The chosen folder already holds a cwr.sys of its own: it must not be overwritten.
    test::WriteFile(elsewhere / "cwr.sys", "mine");
    dialog_->SetReportFolderChooser([&] { return std::optional<fs::path>(elsewhere.Path()); });
    fs::path bin = elsewhere / "bin";
    test::WriteFile(bin / "xdg-email",
                    "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (elsewhere / "args").string() + "'\n");
    ::chmod((bin / "xdg-email").c_str(), 0755);
    std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);

    prompter_.QueueChoice(size_t(ErrorDialog::Delivery::SaveToFolder));
    prompter_.QueueChoice(size_t(ErrorDialog::Delivery::MailProgram));
    WithDialog([&] {
        FillAndSend({"Saving", "", "", ""});
        // Saving to a folder leaves sending to the user: he may still mail it.
        ASSERT_TRUE(dialog_->sendNowButton()->isEnabled());
        FillAndSend({"Saving", "", "", ""});
    });
    ::setenv("PATH", path.c_str(), 1);

    fs::path saved = elsewhere / "Cardwright error report";
    EXPECT_EQ(test::ReadFile(elsewhere / "cwr.sys"), "mine");
    EXPECT_EQ(test::ReadFile(saved / "cwr.sys"), test::ReadFile(folder_ / "cwr.sys"));
    EXPECT_NE(test::ReadFile(saved / "cwrerror.log").find("0. Saving"), std::string::npos);
    EXPECT_NE(test::ReadFile(saved / "send-to.txt").find("whoever looks after your copy"),
              std::string::npos);

    std::string args = test::ReadFile(elsewhere / "args");
    EXPECT_EQ(args, "--utf8\n--subject\nCardwright - Error Log Automation\n--body\n"
                    "<<< cwrerror.log Automated Email>>>\n--attach\n" +
                        (folder_ / "cwrerror.log").string() + "\n--attach\n" +
                        (folder_ / "cwr.sys").string() + "\n");
    ASSERT_EQ(prompter_.MessageTexts().size(), 2u);
    EXPECT_EQ(
        prompter_.MessageTexts()[0].rfind("The error report was saved in " + saved.string(), 0),
        0u);
}

} // namespace
} // namespace cw
