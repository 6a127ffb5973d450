#pragma once

#include "MailTransport.h"

#include <atomic>
#include <chrono>

namespace cw {

// SMTP through libcurl: the text and the attachments as MIME parts (attachments base64),
// STARTTLS on smtp:// (when the server offers it; required before a login), TLS from the
// start on smtps://, a login when the settings name a user.
class SmtpTransport : public MailTransport {
public:
    // A server that stops answering for this long (connecting, between commands or while
    // the message goes out) ends the attempt.
    explicit SmtpTransport(std::chrono::milliseconds stallTimeout = std::chrono::seconds(30));

    void Send(const MailMessage& message, const MailSettings& settings,
              const std::optional<std::string>& password) override;
    void Cancel() override;

private:
    std::chrono::milliseconds stallTimeout_;
    std::atomic<bool> cancelled_{false};
};

} // namespace cw
