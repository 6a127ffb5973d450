#pragma once

#include "ErrorContext.h"
#include "ErrorState.h"
#include "SystemInfo.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class ErrorTrap;

// The local date and time; tests substitute a fixed one.
using LocalClock = std::function<std::tm()>;
std::tm SystemLocalTime();

// A log line: label padded with blanks to 20 characters, then value.
std::string LogLine(std::string_view label, std::string_view value);
// "mm-dd-yyyy" and "hh:mm:ss" (24-hour clock).
std::string FormatLogDate(const std::tm& time);
std::string FormatLogTime(const std::tm& time);

// The value of the "Location:" line: the location code, " -", and the failing line with a
// blank before and after it ("2010 - 0 ").
std::string LocationText(const ErrorState& state);

// The lines the error dialog prints, in order: an empty line, the error, the location, the
// path, the current card, the card format (when known) and the additional data, each
// indented as the log's record indents them.
std::vector<std::string> ErrorDialogLines(const ErrorState& state,
                                          const ErrorContextSnapshot& context);

// The error log "cwrerror.log" in the program folder: a header describing the machine,
// then one record per error shown. It is what the user sends to the maintainer, so its
// layout never changes.
class ErrorLog {
public:
    static constexpr const char* FileName = "cwrerror.log";
    static constexpr const char* FirstLine = "CWR Error Log.  DO NOT MODIFY THIS FILE";
    static constexpr const char* Separator = "=======================================";
    // A longer log is started anew at the next start-up.
    static constexpr std::uintmax_t MaxBytes = 25000;
    // Location codes of CheckErrorLog and CreateErrorLog.
    static constexpr int CheckLocation = 1019;
    static constexpr int CreateLocation = 1025;

    ErrorLog(std::filesystem::path programFolder, std::string appVersion, SystemInfo info,
             LocalClock clock = SystemLocalTime);

    // With a trap, failures of CheckErrorLog and CreateErrorLog are trapped there under
    // their location codes; without one they are thrown as RuntimeError.
    void ReportErrorsTo(ErrorTrap* trap) { trap_ = trap; }

    // The log's path (an existing file of the same name in another letter case is used).
    std::filesystem::path LogPath() const;

    // Run once at start-up: creates the log when it is missing, longer than MaxBytes, or
    // does not begin with FirstLine (letter case counts).
    void CheckErrorLog();
    // Writes a new log holding only the header; any old log is lost.
    void CreateErrorLog();

    // The screen, font setting and component lines of the header and the separator after
    // them. Also part of the report the user sends.
    static void WriteSystemInfo(std::string& out, const SystemInfo& info);

    // The record of one error as appended to the log.
    std::string FormatErrorRecord(const ErrorState& state, const ErrorContextSnapshot& context,
                                  const std::tm& now) const;

    // Appends the record of the error in one write. Recording an error never raises another
    // one: any failure loses the record and returns false.
    bool WriteErrorRecord(const ErrorState& state, const ErrorContextSnapshot& context) noexcept;

    // Appends text to the log. Throws RuntimeError on failure.
    void Append(const std::string& text) const;

    const std::filesystem::path& ProgramFolder() const { return folder_; }
    const SystemInfo& Info() const { return info_; }

private:
    void CheckLog();
    void CreateLog();

    std::filesystem::path folder_;
    std::string appVersion_;
    SystemInfo info_;
    LocalClock clock_;
    ErrorTrap* trap_ = nullptr;
};

} // namespace cw
