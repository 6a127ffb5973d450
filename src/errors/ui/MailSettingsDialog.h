#pragma once

#include "MailSettings.h"

#include <QDialog>
#include <filesystem>

class QLineEdit;

namespace cw {

class Prompter;

// "Mail Settings": the SMTP server error reports go through, the user's address, the
// maintainer's address and an optional user name, kept in mail.ini of the program folder.
// No password is asked for or kept here.
class MailSettingsDialog : public QDialog {
    Q_OBJECT

public:
    MailSettingsDialog(Prompter& prompter, const std::filesystem::path& programFolder,
                       QWidget* parent = nullptr);

    // Shows the dialog modally; true when the settings were saved.
    static bool Edit(Prompter& prompter, const std::filesystem::path& programFolder,
                     QWidget* parent);

    QLineEdit* serverBox() const { return server_; }
    QLineEdit* senderBox() const { return sender_; }
    QLineEdit* maintainerBox() const { return maintainer_; }
    QLineEdit* userBox() const { return user_; }

    // What the boxes hold.
    MailSettings Settings() const;

public slots:
    // Checks the addresses and writes mail.ini; the dialog stays open on a problem.
    void accept() override;

private:
    Prompter& prompter_;
    MailSettingsFile file_;
    QLineEdit* server_ = nullptr;
    QLineEdit* sender_ = nullptr;
    QLineEdit* maintainer_ = nullptr;
    QLineEdit* user_ = nullptr;
};

} // namespace cw
