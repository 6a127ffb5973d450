#include "LocalMailServers.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace cw::test {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A socket bound to a free port of 127.0.0.1.
int BoundSocket(int& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

} // namespace

std::string LocalSmtpServer::TestCertificates() {
    return std::string(CW_TEST_SUPPORT_DIR) + "/smtp_test_cert.pem";
}

std::vector<std::string> LocalSmtpServer::AuthAttempts() const {
    std::vector<std::string> attempts;
    std::istringstream lines(ReadFile(out_ / "auth_attempts"));
    for (std::string line; std::getline(lines, line);)
        attempts.push_back(line);
    return attempts;
}

LocalSmtpServer::LocalSmtpServer(const std::string& login, Encryption encryption) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        problem_ = "no pipe";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string python = "/usr/bin/python3";
    std::string script = std::string(CW_TEST_SUPPORT_DIR) + "/smtp_sink.py";
    std::string out = out_.Path().string();
    std::string loginOption = "--login=" + login;
    std::string startTlsOption = "--starttls";
    std::vector<char*> argv = {python.data(), script.data(), out.data()};
    if (!login.empty())
        argv.push_back(loginOption.data());
    if (encryption == Encryption::StartTls)
        argv.push_back(startTlsOption.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int spawned = posix_spawn(&child, python.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        problem_ = std::string("cannot start /usr/bin/python3: ") + std::strerror(spawned);
        return;
    }
    pid_ = child;
    std::string first;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        first += c;
    ::close(pipeFds[0]);
    if (first.rfind("PORT ", 0) == 0)
        port_ = std::stoi(first.substr(5));
    else
        problem_ = "the test SMTP server did not start (is python3-aiosmtpd installed?)";
}

LocalSmtpServer::~LocalSmtpServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

int LocalSmtpServer::MessageCount() const {
    int count = 0;
    while (fs::exists(out_.Path() / ("message" + std::to_string(count + 1) + ".done")))
        ++count;
    return count;
}

std::optional<LocalSmtpServer::Received>
LocalSmtpServer::Message(int n, std::chrono::milliseconds wait) const {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const std::string name = "message" + std::to_string(n);
    while (!fs::exists(out_.Path() / (name + ".done"))) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    fs::path folder = out_.Path() / name;
    Received received;
    received.mailFrom = ReadFile(folder / "mail_from");
    received.recipients = Lines(ReadFile(folder / "rcpt_tos"));
    received.subject = ReadFile(folder / "subject");
    received.to = ReadFile(folder / "to");
    received.from = ReadFile(folder / "from");
    received.text = ReadFile(folder / "text");
    received.login = ReadFile(folder / "login");
    received.attachmentNames = Lines(ReadFile(folder / "attachment_order"));
    received.attachments = folder / "attachments";
    return received;
}

SilentServer::SilentServer() {
    socket_ = BoundSocket(port_);
    ::listen(socket_, 4);
}

SilentServer::~SilentServer() {
    if (socket_ >= 0)
        ::close(socket_);
}

RefusingServer::RefusingServer() {
    // Bound, so that nobody else gets the port, but not listening.
    socket_ = BoundSocket(port_);
}

RefusingServer::~RefusingServer() {
    if (socket_ >= 0)
        ::close(socket_);
}

} // namespace cw::test
