#include "DesktopMailer.h"

#include "MailSettings.h"
#include "MailTransport.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace cw {

namespace {

std::string ExitMeaning(int code) {
    switch (code) {
    case 1:
        return "the mail program did not understand the request";
    case 2:
        return "an attached file does not exist";
    case 3:
        return "no mail program was found";
    case 4:
        return "the mail program could not be opened";
    case 5:
        return "an attached file cannot be read";
    default:
        return "xdg-email ended with code " + std::to_string(code);
    }
}

} // namespace

std::vector<std::string> DesktopMailer::Arguments(const MailMessage& message) {
    std::vector<std::string> args = {"--utf8", "--subject", message.Subject, "--body",
                                     message.Text};
    for (const MailAttachment& attachment : message.Attachments) {
        args.push_back("--attach");
        args.push_back(std::filesystem::absolute(attachment.Path).string());
    }
    // Without an address the mail program leaves the recipient for the user to fill in.
    if (!message.To.empty())
        args.push_back(message.To);
    return args;
}

void DesktopMailer::Compose(const MailMessage& message) const {
    if (!message.To.empty() && !IsPlainMailAddress(message.To))
        throw MailError(MailError::Kind::Settings, "the address " + message.To + " is not usable");
    std::vector<std::string> args = Arguments(message);
    args.insert(args.begin(), "xdg-email");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t child = 0;
    int spawned = posix_spawnp(&child, "xdg-email", nullptr, nullptr, argv.data(), environ);
    if (spawned != 0)
        throw MailError(MailError::Kind::MailProgram,
                        spawned == ENOENT
                            ? "xdg-email was not found (it comes with the xdg-utils package)"
                            : std::string("xdg-email could not be started: ") +
                                  std::strerror(spawned));

    const auto deadline = std::chrono::steady_clock::now() + answerWait;
    int status = 0;
    while (true) {
        pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0 && errno != EINTR)
            return; // reaped elsewhere: nothing more to learn
        if (std::chrono::steady_clock::now() >= deadline) {
            // Some mail programs keep xdg-email waiting until they close; the message is in
            // front of the user by now. The child is reaped when it ends.
            std::thread([child] {
                int ignored = 0;
                waitpid(child, &ignored, 0);
            }).detach();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return;
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    throw MailError(MailError::Kind::MailProgram, ExitMeaning(code));
}

} // namespace cw
