#include "ErrorDialog.h"

#include "DesktopMailer.h"
#include "ErrorLinesView.h"
#include "ErrorLog.h"
#include "MailSettingsDialog.h"
#include "Prompter.h"
#include "SmtpTransport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

namespace cw {

namespace {

// Texts of an error come from everywhere: messages and paths in UTF-8, card names as the
// bytes of their files. What is not valid UTF-8 is read as windows-1252.
QString DisplayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
    QStringDecoder codepage("windows-1252");
    if (!codepage.isValid())
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return codepage.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

void EndProcessNow() {
    std::fflush(nullptr);
    std::_Exit(1);
}

constexpr const char* kTitle = "An Error Occurred";

} // namespace

ErrorDialog::ErrorDialog(Prompter& prompter, ErrorLog& log, const ErrorContextSource& context,
                         QWidget* parent)
    : QDialog(parent), prompter_(prompter), log_(log), context_(context),
      endSession_(EndProcessNow), ownTransport_(std::make_unique<SmtpTransport>()),
      transport_(ownTransport_.get()) {
    setObjectName(QStringLiteral("ErrorDialog"));
    chooseFolder_ = [this]() -> std::optional<std::filesystem::path> {
        QString folder =
            QFileDialog::getExistingDirectory(this, tr("Save Report As"), QDir::homePath());
        if (folder.isEmpty())
            return std::nullopt;
        return std::filesystem::path(folder.toStdString());
    };
    editSettings_ = [this] {
        return MailSettingsDialog::Edit(prompter_, log_.ProgramFolder(), this);
    };
    setWindowTitle(QStringLiteral("An Error Occurred"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    lines_ = new ErrorLinesView(this);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton_"));
    okButton_->setDefault(true);
    okButton_->setMinimumWidth(110);
    endSessionButton_ = new QPushButton(QStringLiteral("End This Session"), this);
    endSessionButton_->setObjectName(QStringLiteral("endSessionButton_"));
    endSessionButton_->setAutoDefault(false);
    endSessionButton_->setMinimumWidth(110);
    // Two lines, so that the button stands apart from the two that close the dialog.
    sendNowButton_ = new QPushButton(QStringLiteral("Send\nNow"), this);
    sendNowButton_->setObjectName(QStringLiteral("sendNowButton_"));
    sendNowButton_->setAutoDefault(false);
    sendNowButton_->setToolTip(
        tr("Send the error log to the maintainer with a few words from you"));
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(endSessionButton_, &QPushButton::clicked, this, &ErrorDialog::EndSession);
    connect(sendNowButton_, &QPushButton::clicked, this, &ErrorDialog::SendNow);
    BuildQuestionnaire();

    // While a report goes out: what is happening, and a way to stop waiting for a server
    // that does not answer.
    sendingNote_ = new QLabel(this);
    sendingNote_->setObjectName(QStringLiteral("sendingNote"));
    sendingNote_->hide();
    stopSendingButton_ = new QPushButton(tr("Cancel Sending"), this);
    stopSendingButton_->setObjectName(QStringLiteral("stopSendingButton"));
    stopSendingButton_->setAutoDefault(false);
    stopSendingButton_->hide();
    connect(stopSendingButton_, &QPushButton::clicked, this, [this] {
        stopSendingButton_->setEnabled(false);
        transport_->Cancel();
    });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 10, 16, 12);
    buttons->setSpacing(10);
    buttons->addWidget(sendNowButton_);
    buttons->addWidget(sendingNote_);
    buttons->addWidget(stopSendingButton_);
    buttons->addStretch(1);
    buttons->addWidget(endSessionButton_);
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lines_);
    auto* questions = new QVBoxLayout;
    questions->setContentsMargins(16, 10, 16, 10);
    questions->addWidget(questionnaire_);
    layout->addLayout(questions);
    layout->addWidget(rule);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QStringList ErrorDialog::Lines() const {
    return lines_->Lines();
}

void ErrorDialog::BuildQuestionnaire() {
    questionnaire_ = new QGroupBox(QStringLiteral("Additional Error Information"), this);
    questionnaire_->setObjectName(QStringLiteral("questionnaire_"));
    auto* grid = new QGridLayout(questionnaire_);
    grid->setContentsMargins(14, 12, 14, 10);
    grid->setVerticalSpacing(4);
    int row = 0;
    for (size_t i = 0; i < answerBoxes_.size(); ++i) {
        auto* question =
            new QLabel(QString::fromStdString(ErrorReport::Questions()[i]), questionnaire_);
        question->setWordWrap(true);
        auto* box = new QPlainTextEdit(questionnaire_);
        box->setObjectName(QStringLiteral("answerBox(%1)").arg(i));
        box->setTabChangesFocus(true);
        box->setFixedHeight(box->fontMetrics().lineSpacing() * 3 + 12);
        question->setBuddy(box);
        answerBoxes_[i] = box;
        grid->addWidget(question, row++, 0, 1, 3);
        grid->addWidget(box, row++, 0, 1, 3);
        grid->setRowMinimumHeight(row++, 6);
    }
    sendButton_ = new QPushButton(QStringLiteral("Send"), questionnaire_);
    sendButton_->setObjectName(QStringLiteral("sendButton_"));
    sendButton_->setAutoDefault(false);
    cancelSendButton_ = new QPushButton(QStringLiteral("Cancel"), questionnaire_);
    cancelSendButton_->setObjectName(QStringLiteral("cancelSendButton_"));
    cancelSendButton_->setAutoDefault(false);
    grid->addWidget(sendButton_, row, 1);
    grid->addWidget(cancelSendButton_, row, 2);
    grid->setColumnStretch(0, 1);
    connect(sendButton_, &QPushButton::clicked, this, &ErrorDialog::SendReport);
    connect(cancelSendButton_, &QPushButton::clicked, this, &ErrorDialog::CancelQuestionnaire);
    questionnaire_->hide();
}

std::vector<std::string> ErrorDialog::DeliveryChoices() {
    return {"Open in my mail program", "Save Report As...", "Mail Settings..."};
}

void ErrorDialog::ShowError(const ErrorState& state) {
    keepAnswers_ = false;
    loggedAnswers_.reset();
    password_.reset();
    questionnaire_->hide();
    sendNowButton_->setEnabled(true);
    Open(state);
    // Shown before it is centred, so that the window frame counts in its size.
    show();
    Centre();
    prompter_.Beep();
    okButton_->setFocus();
    exec();
}

ErrorContextSnapshot ErrorDialog::TakeSnapshot() const {
    try {
        return context_.Snapshot();
    } catch (...) {
        // Reporting an error must not raise another one: go on with what is known here.
        ErrorContextSnapshot known;
        known.ProgramFolder = log_.ProgramFolder().string();
        return known;
    }
}

void ErrorDialog::Open(const ErrorState& state) {
    prompter_.Beep();
    snapshot_ = TakeSnapshot();
    QStringList shown;
    for (const std::string& line : ErrorDialogLines(state, snapshot_))
        shown << DisplayText(line);
    lines_->SetLines(shown);
    log_.WriteErrorRecord(state, snapshot_);
    Fit();
}

void ErrorDialog::SendNow() {
    sendNowButton_->setEnabled(false);
    if (!keepAnswers_)
        for (QPlainTextEdit* box : answerBoxes_)
            box->clear();
    questionnaire_->show();
    Fit();
    Centre();
    answerBoxes_[0]->setFocus();
}

void ErrorDialog::CancelQuestionnaire() {
    prompter_.ResetBusy();
    questionnaire_->hide();
    sendNowButton_->setEnabled(true);
    Fit();
    Centre();
    sendNowButton_->setFocus();
}

MailSettings ErrorDialog::ReadMailSettings() const {
    try {
        return MailSettingsFile(log_.ProgramFolder()).Read();
    } catch (...) {
        // An unreadable mail.ini is as good as none: the other ways of sending remain.
        return MailSettings();
    }
}

void ErrorDialog::SendReport() {
    questionnaire_->hide();
    Fit();
    Centre();
    ErrorReport::Answers answers;
    for (size_t i = 0; i < answers.size(); ++i)
        answers[i] = answerBoxes_[i]->toPlainText().toStdString();
    // Another try with the same answers sends the log as it already stands.
    if (answers != loggedAnswers_) {
        try {
            ErrorReport::AppendAnswers(log_, answers);
            loggedAnswers_ = answers;
        } catch (...) {
            // The report still goes out with the log as it is.
        }
    }
    MailSettings settings = ReadMailSettings();
    if (settings.HasServer() && settings.Maintainer.empty() && !AskForMaintainer(settings)) {
        keepAnswers_ = true;
        sendNowButton_->setEnabled(true);
        return;
    }
    MailMessage message = ErrorReport::Compose(log_, snapshot_, settings.Maintainer);
    bool delivered =
        settings.HasServer() ? SendByMail(message, settings) : DeliverWithoutServer(message);
    // A report that went out is sent once; otherwise the user may try again with his answers.
    keepAnswers_ = !delivered;
    sendNowButton_->setEnabled(!delivered);
    okButton_->setFocus();
}

bool ErrorDialog::SendByMail(const MailMessage& message, const MailSettings& settings) {
    if (!settings.User.empty() && !password_) {
        password_ = prompter_.Password("Password of " + settings.User + " for " +
                                           settings.EffectiveUrl() + ":",
                                       "Mail Settings");
        if (!password_)
            return false;
    }
    std::optional<std::string> password = password_;
    std::string why;
    try {
        sendingNote_->setText(
            tr("Sending the report to %1...").arg(QString::fromStdString(settings.EffectiveUrl())));
        RunResponsive([&] { transport_->Send(message, settings, password); });
        prompter_.Message(ErrorReport::SentMessage, kTitle, Buttons::Ok, Icon::Information);
        return true;
    } catch (const MailError& error) {
        if (error.WhatFailed() == MailError::Kind::Cancelled)
            return false;
        if (error.WhatFailed() == MailError::Kind::Login)
            password_.reset();
        why = error.what();
    } catch (const std::exception& error) {
        why = error.what();
    }
    prompter_.Message(std::string(ErrorReport::FailureMessage) +
                          (why.empty() ? std::string() : "\n\n" + why),
                      kTitle, Buttons::Ok, Icon::Warning);
    return false;
}

bool ErrorDialog::AskForMaintainer(MailSettings& settings) {
    std::string prompt =
        "Which address should the report go to? Reports usually go to whoever looks after "
        "your copy of Cardwright: the club, the teacher or the web page you had it from.";
    for (;;) {
        std::optional<std::string> address = prompter_.Input(prompt, kTitle, {});
        if (!address)
            return false;
        std::string trimmed = QString::fromStdString(*address).trimmed().toStdString();
        if (IsPlainMailAddress(trimmed)) {
            settings.Maintainer = trimmed;
            break;
        }
        prompt = "\"" + trimmed +
                 "\" is not a mail address such as name@example.org. Which "
                 "address should the report go to?";
    }
    try {
        MailSettingsFile(log_.ProgramFolder()).Write(settings);
    } catch (...) {
        // The report still goes to the address given; it is asked for again next time.
    }
    return true;
}

bool ErrorDialog::DeliverWithoutServer(const MailMessage& message) {
    auto choice = prompter_.Choose(
        "No mail server is set up for sending the report. You can hand it to your own mail "
        "program, save it in a folder and send it yourself, or set up a mail server.",
        kTitle, DeliveryChoices());
    if (!choice)
        return false;
    switch (Delivery(*choice)) {
    case Delivery::MailProgram:
        return HandToMailProgram(message);
    case Delivery::SaveToFolder:
        SaveReportToFolder(message);
        return false;
    case Delivery::MailSettings: {
        if (!editSettings_ || !editSettings_())
            return false;
        MailSettings settings = ReadMailSettings();
        if (settings.HasServer() && settings.Maintainer.empty() && !AskForMaintainer(settings))
            return false;
        MailMessage again = message;
        again.To = settings.Maintainer;
        return settings.HasServer() ? SendByMail(again, settings) : DeliverWithoutServer(again);
    }
    }
    return false;
}

bool ErrorDialog::HandToMailProgram(const MailMessage& message) {
    try {
        RunResponsive([&] { DesktopMailer().Compose(message); });
    } catch (const std::exception& error) {
        prompter_.Message(std::string("Your mail program could not be opened: ") + error.what() +
                              ".\n\nUse \"Save Report As...\" to keep the report in a folder "
                              "and send it yourself.",
                          kTitle, Buttons::Ok, Icon::Warning);
        return false;
    }
    prompter_.Message("Your mail program now holds the report with its files. Please check it "
                      "and press its Send button.",
                      kTitle, Buttons::Ok, Icon::Information);
    return true;
}

void ErrorDialog::SaveReportToFolder(const MailMessage& message) {
    std::optional<std::filesystem::path> folder = chooseFolder_ ? chooseFolder_() : std::nullopt;
    if (!folder)
        return;
    try {
        BusyScope busy(prompter_);
        std::filesystem::path written = ErrorReport::SaveTo(message, *folder);
        prompter_.Message("The error report was saved in " + written.string() +
                              ".\n\nPlease send the files of that folder to " +
                              ErrorReport::RecipientWords(message.To) + ".",
                          kTitle, Buttons::Ok, Icon::Information);
    } catch (const std::exception& error) {
        prompter_.Message(std::string("The error report could not be saved: ") + error.what(),
                          kTitle, Buttons::Ok, Icon::Warning);
    }
}

void ErrorDialog::SetSending(bool sending) {
    sending_ = sending;
    sendingNote_->setVisible(sending);
    stopSendingButton_->setVisible(sending);
    stopSendingButton_->setEnabled(sending);
    // The dialog keeps painting and "End This Session" stays at hand; closing it must wait
    // until the report is on its way or has failed.
    okButton_->setEnabled(!sending);
}

void ErrorDialog::RunResponsive(const std::function<void()>& work) {
    BusyScope busy(prompter_);
    SetSending(true);
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
    });
    // The window keeps painting while the work runs; the loop looks every few milliseconds
    // whether it is over, so that nothing of Qt's is handed from one thread to the other.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done.load(std::memory_order_acquire))
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    worker.join();
    SetSending(false);
    if (failure)
        std::rethrow_exception(failure);
}

void ErrorDialog::reject() {
    if (sending_)
        return;
    QDialog::reject();
}

QRect ErrorDialog::AvailableScreen() const {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void ErrorDialog::Fit() {
    lines_->SetMaximumTextWidth(AvailableScreen().width() * 9 / 10 - 60);
    // The layout fixes the dialog's size to what its lines need; apply it now, not when the
    // event loop gets round to it, so that the dialog is centred at its final size.
    layout()->invalidate();
    layout()->activate();
}

void ErrorDialog::Centre() {
    QRect available = AvailableScreen();
    QSize size = frameGeometry().size();
    move(available.left() + (available.width() - size.width()) / 2,
         available.top() + (available.height() - size.height()) / 2);
}

void ErrorDialog::EndSession() {
    endSession_();
    reject();
}

void ErrorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QStringList text;
        for (const QString& line : lines_->Lines())
            text << line.trimmed();
        QApplication::clipboard()->setText(text.join(QLatin1Char('\n')).trimmed());
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace cw
