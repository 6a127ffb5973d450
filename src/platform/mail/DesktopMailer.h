#pragma once

#include "MailMessage.h"

#include <chrono>
#include <string>
#include <vector>

namespace cw {

// Hands a message to the desktop's own mail program (xdg-email), which opens it ready to
// send: for users without mail settings of their own.
class DesktopMailer {
public:
    // xdg-email's arguments for the message, after the program name.
    static std::vector<std::string> Arguments(const MailMessage& message);

    // Starts xdg-email and waits a little for its answer. A mail program that stays open
    // counts as success. Throws MailError (kind MailProgram) when xdg-email is missing or
    // reports a failure.
    void Compose(const MailMessage& message) const;

    // How long to wait for xdg-email before taking a still-running one as success.
    std::chrono::milliseconds answerWait{std::chrono::seconds(10)};
};

} // namespace cw
