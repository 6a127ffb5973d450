#pragma once

#include "MailMessage.h"
#include "MailSettings.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace cw {

// Sending failed. Kind says why, so that callers can react (ask for the password again after
// a refused login); what() carries the detail.
class MailError : public std::runtime_error {
public:
    enum class Kind {
        Settings,
        Connection,
        Login,
        TimedOut,
        Rejected,
        Attachment,
        MailProgram,
        // The server offers no encryption, and a password is never sent in the clear.
        NotEncrypted,
        Cancelled
    };

    MailError(Kind kind, const std::string& detail) : std::runtime_error(detail), kind_(kind) {}
    Kind WhatFailed() const { return kind_; }

private:
    Kind kind_;
};

// Sends one message without showing it: open a session, send, close. Blocks until the server
// has taken the message or the attempt has failed; safe to run on a worker thread.
class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Throws MailError.
    virtual void Send(const MailMessage& message, const MailSettings& settings,
                      const std::optional<std::string>& password) = 0;
    // May be called from another thread while Send runs: Send gives up soon after with
    // MailError::Kind::Cancelled. The next Send starts afresh.
    virtual void Cancel() {}
};

} // namespace cw
