#pragma once

#include "FileOps.h"

#include <cstdint>
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

    std::vector<std::string> Lines() const;
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
void RegisterFormat(const fs::path& root, const FormatRecordLines& record,
                    FileSystem& fileSystem = FileSystem::Default());

} // namespace cw
