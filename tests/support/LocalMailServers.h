#pragma once

#include "TestFiles.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace cw::test {

// A real SMTP server on 127.0.0.1 for the length of a test (aiosmtpd under the system's
// Python), writing what it receives into a folder of its own.
class LocalSmtpServer {
public:
    enum class Encryption { None, StartTls };
    // login "user:password": the server wants that login before it takes mail. With StartTls
    // it offers STARTTLS with a certificate for 127.0.0.1 (TestCertificates()) and wants it
    // before a login.
    explicit LocalSmtpServer(const std::string& login = {},
                             Encryption encryption = Encryption::None);
    static std::string TestCertificates();
    ~LocalSmtpServer();
    LocalSmtpServer(const LocalSmtpServer&) = delete;
    LocalSmtpServer& operator=(const LocalSmtpServer&) = delete;

    // Empty when the server could not be started; Problem() says why.
    bool Running() const { return port_ != 0; }
    const std::string& Problem() const { return problem_; }
    int Port() const { return port_; }
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }

    struct Received {
        std::string mailFrom;
        std::vector<std::string> recipients;
        std::string subject, to, from, text, login;
        std::vector<std::string> attachmentNames;
        fs::path attachments; // the folder holding each attachment under its name
    };
    // The n-th message (from 1) once it is complete, waiting up to wait for it.
    std::optional<Received> Message(int n, std::chrono::milliseconds wait) const;
    // Messages received so far.
    int MessageCount() const;
    // The AUTH commands received so far, each "tls" or "plain" by the connection it came on.
    std::vector<std::string> AuthAttempts() const;

private:
    TempDir out_;
    int pid_ = 0;
    int port_ = 0;
    std::string problem_;
};

// A server that takes connections and never says a word.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }

private:
    int socket_ = -1;
    int port_ = 0;
};

// A port of 127.0.0.1 that is taken but where nothing listens: connections are refused.
class RefusingServer {
public:
    RefusingServer();
    ~RefusingServer();
    RefusingServer(const RefusingServer&) = delete;
    RefusingServer& operator=(const RefusingServer&) = delete;
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }

private:
    int socket_ = -1;
    int port_ = 0;
};

} // namespace cw::test
