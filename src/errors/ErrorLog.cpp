#include "ErrorLog.h"

#include "BasicNumbers.h"
#include "ErrorTrap.h"
#include "FileOps.h"
#include "LineReader.h"
#include "RuntimeError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cw {

namespace {

constexpr size_t kLabelWidth = 20;
constexpr std::string_view kIndent = "    ";
constexpr std::string_view kItemIndent = "        ";

std::string TwoDigits(int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

RuntimeError AppendError(const fs::path& path, int error) {
    int number = (error == ENOSPC || error == EDQUOT) ? RuntimeError::DiskFull
                                                      : RuntimeError::PathFileAccess;
    return {number, "Cannot append to " + path.string() + ": " + std::strerror(error)};
}

std::string AdditionalDataLine() {
    return std::string(kIndent) + "Additional data:";
}

std::string AdditionalItemLine(size_t number, const ErrValue& value) {
    return std::string(kItemIndent) + std::to_string(number) + ")  " + value.Text();
}

} // namespace

std::tm SystemLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string LogLine(std::string_view label, std::string_view value) {
    std::string line(label);
    if (line.size() < kLabelWidth)
        line.append(kLabelWidth - line.size(), ' ');
    line.append(value);
    return line;
}

std::string FormatLogDate(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", time.tm_mon + 1, time.tm_mday,
                  time.tm_year + 1900);
    return text;
}

std::string FormatLogTime(const std::tm& time) {
    return TwoDigits(time.tm_hour) + ":" + TwoDigits(time.tm_min) + ":" + TwoDigits(time.tm_sec);
}

std::string LocationText(const ErrorState& state) {
    return std::to_string(state.Location) + " - " + std::to_string(state.ErrLine) + " ";
}

std::vector<std::string> ErrorDialogLines(const ErrorState& state,
                                          const ErrorContextSnapshot& context) {
    std::string indent(kIndent);
    std::vector<std::string> lines;
    lines.emplace_back();
    lines.push_back(indent + LogLine("Error:", state.ErrDescription));
    lines.push_back(indent + LogLine("Location:", LocationText(state)));
    lines.push_back(indent + LogLine("Path:", context.ProgramFolder));
    lines.push_back(indent + LogLine("Current Card:", context.CurrentCardName));
    if (context.FormatDisplayName)
        lines.push_back(indent + LogLine("Card Format:", *context.FormatDisplayName));
    if (!state.AdditionalData.empty()) {
        lines.push_back(AdditionalDataLine());
        for (size_t i = 0; i < state.AdditionalData.size(); ++i)
            lines.push_back(AdditionalItemLine(i + 1, state.AdditionalData[i]));
    }
    return lines;
}

ErrorLog::ErrorLog(std::filesystem::path programFolder, std::string appVersion, SystemInfo info,
                   LocalClock clock)
    : folder_(std::move(programFolder)), appVersion_(std::move(appVersion)), info_(std::move(info)),
      clock_(std::move(clock)) {}

fs::path ErrorLog::LogPath() const {
    fs::path built = folder_ / FileName;
    return ResolveExisting(built).value_or(built);
}

void ErrorLog::CheckErrorLog() {
    if (trap_)
        trap_->Guard(CheckLocation, [this] { CheckLog(); });
    else
        CheckLog();
}

void ErrorLog::CreateErrorLog() {
    if (trap_)
        trap_->Guard(CreateLocation, [this] { CreateLog(); });
    else
        CreateLog();
}

void ErrorLog::CheckLog() {
    fs::path path = LogPath();
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        CreateErrorLog();
        return;
    }
    std::uintmax_t size = fs::file_size(path, ec);
    if (ec)
        throw RuntimeError(RuntimeError::PathFileAccess,
                           "Cannot read " + path.string() + ": " + ec.message());
    if (size > MaxBytes) {
        CreateErrorLog();
        return;
    }
    // An empty file is no log of ours either.
    LineReader reader(ReadFileBytes(path));
    if (reader.AtEnd() || reader.ReadLine() != FirstLine)
        CreateErrorLog();
}

void ErrorLog::CreateLog() {
    std::tm now = clock_();
    std::string text;
    AppendLine(text, FirstLine);
    AppendLine(text, Separator);
    AppendLine(text, LogLine("File Created:", FormatLogDate(now) + "  " + FormatLogTime(now)));
    AppendLine(text, LogLine("CWR Version:", appVersion_ + "-2"));
    AppendLine(text, LogLine("Platform:", info_.Platform));
    WriteSystemInfo(text, info_);
    fs::path path = LogPath();
    AtomicReplace(FileSystem::Default(), path, text, path.parent_path() / "cwrerror.tmp");
}

void ErrorLog::WriteSystemInfo(std::string& out, const SystemInfo& info) {
    AppendLine(out, LogLine("Screen Resolution:", std::to_string(info.ScreenWidth) + " x " +
                                                      std::to_string(info.ScreenHeight)));
    if (info.TwipsPerPixel == 15)
        AppendLine(out, LogLine("Font:", "Small Fonts"));
    else if (info.TwipsPerPixel == 12)
        AppendLine(out, LogLine("Font:", "Large Fonts"));
    else
        AppendLine(out, LogLine("Font Size:", std::to_string(info.TwipsPerPixel)));
    for (const ComponentFile& component : info.Components)
        AppendLine(out, component.Name + "\t  " + component.LastModified + "\t " +
                            std::to_string(component.Size) + " \t" + component.Version);
    AppendLine(out, Separator);
}

std::string ErrorLog::FormatErrorRecord(const ErrorState& state,
                                        const ErrorContextSnapshot& context,
                                        const std::tm& now) const {
    std::string text;
    AppendLine(
        text, LogLine("Date - Time:", FormatLogDate(now) + "  " + FormatLogTime(now).substr(0, 5)));
    AppendLine(text, LogLine("Error:", state.ErrDescription));
    AppendLine(text, LogLine("Location:", LocationText(state)));
    AppendLine(text, LogLine("Path:", context.ProgramFolder));
    AppendLine(text, LogLine("Current Card:", context.CurrentCardName));
    if (context.FormatDisplayName)
        AppendLine(text, LogLine("Card Format:", *context.FormatDisplayName));
    if (!state.AdditionalData.empty()) {
        AppendLine(text, AdditionalDataLine());
        for (size_t i = 0; i < state.AdditionalData.size(); ++i)
            AppendLine(text, AdditionalItemLine(i + 1, state.AdditionalData[i]));
    }
    if (context.MainWindowLoaded)
        AppendLine(text, LogLine("Scalemode:", std::to_string(context.CardPictureScaleMode)));
    AppendLine(text, LogLine("PWIDTH:", FormatSingle(context.PWIDTH)));
    AppendLine(text, LogLine("PHEIGHT:", FormatSingle(context.PHEIGHT)));
    AppendLine(text, LogLine("BasicFont:", context.BasicFont));
    AppendLine(text, LogLine("BasicFontSize:", context.BasicFontSize));
    AppendLine(text, LogLine("Zoom Factor:", FormatSingle(context.ZoomFactor)));
    AppendLine(text, Separator);
    return text;
}

bool ErrorLog::WriteErrorRecord(const ErrorState& state,
                                const ErrorContextSnapshot& context) noexcept {
    try {
        Append(FormatErrorRecord(state, context, clock_()));
        return true;
    } catch (...) {
        return false;
    }
}

void ErrorLog::Append(const std::string& text) const {
    fs::path path = LogPath();
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw AppendError(path, errno);
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            throw AppendError(path, error);
        }
        written += size_t(n);
    }
    if (::close(fd) != 0)
        throw AppendError(path, errno);
}

} // namespace cw
