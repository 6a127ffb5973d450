#pragma once

#include "ErrorContext.h"
#include "ErrorReport.h"
#include "ErrorTrap.h"
#include "MailSettings.h"
#include "MailTransport.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace cw {

class ErrorLinesView;
class ErrorLog;
class Prompter;

// The modal error dialog "An Error Occurred". Opening it shows where the error happened,
// appends the error record to the log and waits: "OK" returns to the failing procedure,
// "End This Session" ends the program at once without saving anything, and "Send Now" asks
// four questions and sends the log to the maintainer: through the SMTP server of mail.ini,
// or, without one, through the desktop's mail program or into a folder the user picks.
class ErrorDialog : public QDialog, public ErrorPresenter {
    Q_OBJECT

public:
    ErrorDialog(Prompter& prompter, ErrorLog& log, const ErrorContextSource& context,
                QWidget* parent = nullptr);

    void ShowError(const ErrorState& state) override;

    // What "End This Session" runs. The default ends the process at once; should the
    // function return, the dialog closes as with "OK".
    void SetEndSession(std::function<void()> endSession) { endSession_ = std::move(endSession); }

    // The lines on show, as printed.
    QStringList Lines() const;

    // How reports are sent when mail.ini names a server; by default SMTP with a 30-second
    // limit on a server that stops answering. The dialog does not own it.
    void SetMailTransport(MailTransport* transport) { transport_ = transport; }
    // The folder "Save Report As..." writes into; nullopt when the user cancels.
    void SetReportFolderChooser(std::function<std::optional<std::filesystem::path>()> choose) {
        chooseFolder_ = std::move(choose);
    }
    // Shows the mail settings; true when they were saved.
    void SetMailSettingsEditor(std::function<bool()> edit) { editSettings_ = std::move(edit); }

    // The choices offered when no mail server is set up, in their order.
    enum class Delivery { MailProgram, SaveToFolder, MailSettings };
    static std::vector<std::string> DeliveryChoices();

    // "Send Now" and the questionnaire.
    QPushButton* sendNowButton() const { return sendNowButton_; }
    QGroupBox* questionnaire() const { return questionnaire_; }
    QPlainTextEdit* answerBox(int index) const { return answerBoxes_[size_t(index)]; }
    QPushButton* sendButton() const { return sendButton_; }
    QPushButton* cancelSendButton() const { return cancelSendButton_; }
    // True while a report is on its way.
    bool Sending() const { return sending_; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildQuestionnaire();
    void SendNow();
    void CancelQuestionnaire();
    void SendReport();
    // Sends by SMTP; true when the message went out.
    bool SendByMail(const MailMessage& message, const MailSettings& settings);
    // Asks where reports go when mail.ini names no address, and keeps the answer there.
    // False when the user cancels.
    bool AskForMaintainer(MailSettings& settings);
    // No server: the user picks another way. True when the report was handed on.
    bool DeliverWithoutServer(const MailMessage& message);
    void SaveReportToFolder(const MailMessage& message);
    bool HandToMailProgram(const MailMessage& message);
    // Runs work on a worker thread while this dialog keeps answering; rethrows its failure.
    void RunResponsive(const std::function<void()>& work);
    void SetSending(bool sending);
    MailSettings ReadMailSettings() const;
    void Open(const ErrorState& state);
    ErrorContextSnapshot TakeSnapshot() const;
    void Fit();
    void Centre();
    QRect AvailableScreen() const;
    void EndSession();

    Prompter& prompter_;
    ErrorLog& log_;
    const ErrorContextSource& context_;
    std::function<void()> endSession_;
    std::unique_ptr<MailTransport> ownTransport_;
    MailTransport* transport_ = nullptr;
    std::function<std::optional<std::filesystem::path>()> chooseFolder_;
    std::function<bool()> editSettings_;
    // The state of the program when the error happened: what the report attaches.
    ErrorContextSnapshot snapshot_;
    // Asked for once per error shown and kept only in memory, so that another try does not
    // ask again; forgotten when the server refuses it.
    std::optional<std::string> password_;
    bool sending_ = false;
    // After a report that did not go out, the answers stay for another try.
    bool keepAnswers_ = false;
    // The answers already written to the log for the error on show.
    std::optional<ErrorReport::Answers> loggedAnswers_;

    ErrorLinesView* lines_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QLabel* sendingNote_ = nullptr;
    QPushButton* stopSendingButton_ = nullptr;
    QPushButton* endSessionButton_ = nullptr;
    QPushButton* sendNowButton_ = nullptr;
    QGroupBox* questionnaire_ = nullptr;
    std::array<QPlainTextEdit*, 4> answerBoxes_{};
    QPushButton* sendButton_ = nullptr;
    QPushButton* cancelSendButton_ = nullptr;
};

} // namespace cw
