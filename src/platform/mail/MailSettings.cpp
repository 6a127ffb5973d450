#include "MailSettings.h"

#include "LineReader.h"

#include <algorithm>

namespace cw {

namespace {

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
    return text;
}

// A value goes into the file on one line: line breaks would start a new key.
std::string OneLine(const std::string& value) {
    std::string line = Trimmed(value);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

} // namespace

bool MailSettings::HasServer() const {
    return !Trimmed(ServerUrl).empty();
}

std::string MailSettings::EffectiveUrl() const {
    std::string url = Trimmed(ServerUrl);
    if (url.empty() || url.find("://") != std::string::npos)
        return url;
    size_t colon = url.rfind(':');
    bool implicitTls = colon != std::string::npos && url.substr(colon + 1) == "465";
    return (implicitTls ? "smtps://" : "smtp://") + url;
}

bool MailSettings::ServerUsable() const {
    const std::string url = EffectiveUrl();
    std::string rest;
    for (const char* scheme : {"smtp://", "smtps://"})
        if (LowerAscii(url.substr(0, std::string(scheme).size())) == scheme)
            rest = url.substr(std::string(scheme).size());
    if (rest.empty() || rest.front() == '/' || rest.front() == ':' || rest.front() == '@')
        return false;
    return std::none_of(rest.begin(), rest.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == 0x7F || c == '\\';
    });
}

bool IsPlainMailAddress(const std::string& address) {
    size_t at = address.find('@');
    // A leading hyphen would read as an option to the desktop's mail command.
    if (at == std::string::npos || at == 0 || at + 1 >= address.size() || address[0] == '-')
        return false;
    return address.find_first_of(" \t\r\n<>,;\"") == std::string::npos &&
           address.find('@', at + 1) == std::string::npos;
}

MailSettingsFile::MailSettingsFile(fs::path programFolder, FileSystem& fileSystem)
    : folder_(std::move(programFolder)), fileSystem_(fileSystem) {}

fs::path MailSettingsFile::Path() const {
    return ResolveExisting(folder_ / FileName).value_or(folder_ / FileName);
}

bool MailSettingsFile::Exists() const {
    return ExistsAnyCase(folder_ / FileName);
}

MailSettings MailSettingsFile::Read() const {
    MailSettings settings;
    if (!Exists())
        return settings;
    LineReader reader(ReadExistingFile(folder_ / FileName));
    while (!reader.AtEnd()) {
        std::string line = Trimmed(reader.ReadLine());
        size_t equals = line.find('=');
        if (line.empty() || line[0] == ';' || line[0] == '#' || line[0] == '[' ||
            equals == std::string::npos)
            continue;
        std::string key = LowerAscii(Trimmed(line.substr(0, equals)));
        std::string value = Trimmed(line.substr(equals + 1));
        if (key == "server")
            settings.ServerUrl = value;
        else if (key == "sender")
            settings.Sender = value;
        else if (key == "maintainer")
            settings.Maintainer = value == kPlaceholderMaintainer ? std::string() : value;
        else if (key == "certificates")
            settings.Certificates = value;
        else if (key == "user")
            settings.User = value;
    }
    return settings;
}

void MailSettingsFile::Write(const MailSettings& settings) const {
    std::string out;
    AppendLine(out, "; How Cardwright sends error reports. No password is ever kept here:");
    AppendLine(out, "; the program asks for it when the server wants one.");
    AppendLine(out, "[mail]");
    AppendLine(out, "server=" + OneLine(settings.ServerUrl));
    AppendLine(out, "sender=" + OneLine(settings.Sender));
    AppendLine(out, "maintainer=" + OneLine(settings.Maintainer));
    AppendLine(out, "user=" + OneLine(settings.User));
    if (!settings.Certificates.empty())
        AppendLine(out, "certificates=" + OneLine(settings.Certificates));
    fs::path target = Path();
    AtomicReplace(fileSystem_, target, out, target.string() + ".new");
}

} // namespace cw
