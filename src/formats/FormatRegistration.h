#pragma once

#include "FileOps.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cw {

// The settings-file record of a card format: the lines from w02 to w98.
struct FormatRecordLines {
    std::string code;      // the folder of the format's cards and its catalogue code
    std::string base;      // layout base name, at most 7 characters
    std::string extension; // of its card files, without the dot
    std::string name;      // shown in the format chooser
    bool backPage = true;
    std::string picture; // file name in the bmps folder; empty for none
    // The printed card's size in millimetres; 0 for none.
    int32_t printWidth = 0, printHeight = 0;
    // The record's lines as another data root had them (a format brought in from a file),
    // written instead of lines made from the values above, so that no setting is lost.
    std::vector<std::string> kept;

    std::vector<std::string> Lines() const;
    // The record of lines w02 .. w98 as the settings file holds them, its values read and
    // the lines kept; nullopt when they are not one such record with a code, base, extension
    // and name.
    static std::optional<FormatRecordLines> Parse(const std::vector<std::string>& lines);
};

// The codes and extensions of the formats the settings file lists (before its end line),
// in upper case, to refuse a new format that would take one of them.
struct InstalledFormats {
    std::vector<std::string> codes;
    std::vector<std::string> extensions;

    static InstalledFormats Read(const fs::path& settingsFile);
    bool HasCode(const std::string& code) const;
    bool HasExtension(const std::string& extension) const;
};

// Adds a format's record to the settings file of root just before its end line (w99), or at
// its end when it has none, keeping every other line as it was. The file is replaced through
// a scratch file renamed over it, so a failure leaves it untouched; throws RuntimeError then.
// The lines of a format's record in the settings file of root, w02 to w98 as they are, found
// by its code in any letter case; empty when it has none.
std::vector<std::string> RecordOfFormat(const fs::path& root, const std::string& code);

void RegisterFormat(const fs::path& root, const FormatRecordLines& record,
                    FileSystem& fileSystem = FileSystem::Default());

} // namespace cw
