#pragma once

#include "FileOps.h"

#include <string>

namespace cw {

// The address older versions wrote into mail.ini when the user named none. It reaches
// nobody, so it counts as no address at all.
inline constexpr const char* kPlaceholderMaintainer = "errors@cardwright.invalid";

// How the program sends mail: the SMTP server, the user's own address, the maintainer's
// address and the user name to log in with. A password is never part of it; it is asked for
// when the server wants one.
struct MailSettings {
    // "smtp://host:587" (STARTTLS when the server offers it, and always when logging in) or
    // "smtps://host:465" (TLS from the start). A bare host name is taken as smtp://.
    std::string ServerUrl;
    std::string Sender;
    // Empty until the user names the address reports go to.
    std::string Maintainer;
    std::string User;
    // A PEM file of certificates to trust besides the system's, for a server whose
    // certificate comes from an authority of its own.
    std::string Certificates;

    bool HasServer() const;
    // Whether EffectiveUrl is an SMTP server the program may hand a report to: smtp:// or
    // smtps://, a host, and nothing that could start another command (blanks, control
    // characters).
    bool ServerUsable() const;
    // The server URL with its scheme: a bare "host" or "host:port" gets smtp://, except that
    // port 465 is the implicit-TLS port and gets smtps://.
    std::string EffectiveUrl() const;
};

// A mail address the program can put into a message header or hand to a command:
// something@something, with no blanks, line breaks or angle brackets that could break out of
// the header, and no leading hyphen.
bool IsPlainMailAddress(const std::string& address);

// mail.ini in the program folder, lines of key=value under a [mail] section.
class MailSettingsFile {
public:
    static constexpr const char* FileName = "mail.ini";

    explicit MailSettingsFile(fs::path programFolder,
                              FileSystem& fileSystem = FileSystem::Default());

    fs::path Path() const;
    bool Exists() const;
    // The settings in the file; the defaults when there is no file. Unknown keys (and any
    // password someone wrote in by hand) are ignored. Throws RuntimeError when the file
    // exists but cannot be read.
    MailSettings Read() const;
    // Replaces the file in one step. Throws RuntimeError on failure (the old file stays).
    void Write(const MailSettings& settings) const;

private:
    fs::path folder_;
    FileSystem& fileSystem_;
};

} // namespace cw
