#include "MailSettingsDialog.h"

#include "Prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Trimmed(const QLineEdit* box) {
    return box->text().trimmed().toStdString();
}

} // namespace

MailSettingsDialog::MailSettingsDialog(Prompter& prompter,
                                       const std::filesystem::path& programFolder, QWidget* parent,
                                       FileSystem& fileSystem)
    : QDialog(parent), prompter_(prompter), file_(programFolder, fileSystem) {
    setObjectName(QStringLiteral("MailSettingsDialog"));
    setWindowTitle(tr("Mail Settings"));

    auto* intro = new QLabel(
        tr("Error reports are sent through your own mail server. Leave the server empty to "
           "hand reports to your mail program instead.\nCardwright never keeps your password: "
           "it asks for it when the server wants one."),
        this);
    intro->setWordWrap(true);

    server_ = new QLineEdit(this);
    server_->setObjectName(QStringLiteral("serverBox"));
    server_->setPlaceholderText(QStringLiteral("smtp://mail.example.org:587"));
    server_->setToolTip(tr("smtp://host:587 sends with STARTTLS when the server offers it; "
                           "smtps://host:465 uses TLS from the start."));
    sender_ = new QLineEdit(this);
    sender_->setObjectName(QStringLiteral("senderBox"));
    sender_->setPlaceholderText(QStringLiteral("you@example.org"));
    maintainer_ = new QLineEdit(this);
    maintainer_->setObjectName(QStringLiteral("maintainerBox"));
    user_ = new QLineEdit(this);
    user_->setObjectName(QStringLiteral("userBox"));
    user_->setPlaceholderText(tr("only when the server wants a login"));

    auto* form = new QFormLayout;
    form->addRow(tr("Mail &server:"), server_);
    form->addRow(tr("&Your address:"), sender_);
    form->addRow(tr("Send reports &to:"), maintainer_);
    form->addRow(tr("User &name:"), user_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MailSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(460);

    MailSettings settings;
    try {
        settings = file_.Read();
    } catch (const std::exception& error) {
        prompter_.Message(std::string("The mail settings could not be read: ") + error.what(),
                          "Mail Settings", Buttons::Ok, Icon::Warning);
    }
    server_->setText(FromUtf8(settings.ServerUrl));
    sender_->setText(FromUtf8(settings.Sender));
    maintainer_->setText(FromUtf8(settings.Maintainer));
    user_->setText(FromUtf8(settings.User));
}

bool MailSettingsDialog::Edit(Prompter& prompter, const std::filesystem::path& programFolder,
                              QWidget* parent, FileSystem& fileSystem) {
    MailSettingsDialog dialog(prompter, programFolder, parent, fileSystem);
    return dialog.exec() == QDialog::Accepted;
}

MailSettings MailSettingsDialog::Settings() const {
    MailSettings settings;
    settings.ServerUrl = Trimmed(server_);
    settings.Sender = Trimmed(sender_);
    settings.Maintainer = Trimmed(maintainer_);
    settings.User = Trimmed(user_);
    return settings;
}

void MailSettingsDialog::accept() {
    MailSettings settings = Settings();
    auto refuse = [&](const std::string& text, QLineEdit* box) {
        prompter_.Message(text, "Mail Settings", Buttons::Ok, Icon::Warning);
        box->setFocus();
        box->selectAll();
    };
    if (settings.HasServer() && !settings.ServerUsable())
        return refuse("Please enter the mail server as smtp://host:port (or smtps://host:465), "
                      "such as smtp://mail.example.org:587.",
                      server_);
    // Left empty, the address is asked for when a report is sent.
    if (!settings.Maintainer.empty() && !IsPlainMailAddress(settings.Maintainer))
        return refuse("Please enter the address the reports go to, such as "
                      "name@example.org.",
                      maintainer_);
    if (settings.HasServer() && !IsPlainMailAddress(settings.Sender))
        return refuse("Please enter your own mail address, such as name@example.org: the "
                      "server sends the report from it.",
                      sender_);
    if (!settings.Sender.empty() && !IsPlainMailAddress(settings.Sender))
        return refuse("Your address is not a mail address such as name@example.org.", sender_);
    try {
        file_.Write(settings);
    } catch (const std::exception& error) {
        prompter_.Message(std::string("The mail settings could not be saved: ") + error.what(),
                          "Mail Settings", Buttons::Ok, Icon::Warning);
        return;
    }
    QDialog::accept();
}

} // namespace cw
