#pragma once

#include "FileOps.h"
#include "FormatCatalogue.h"

#include <cstdint>

namespace cw {

// The three system settings of cwr.sys.
struct SystemSettings {
    int32_t SystemFlags = 0;
    int16_t DefaultFormat = 0;

    static constexpr int32_t NoticeFlag = 2;
};

// Reads and writes the settings file cwr.sys in the program folder: its settings lines and
// its list of installed card formats, which it turns into the catalogue.
class SystemSettingsFile {
public:
    SystemSettingsFile(fs::path programFolder, FileSystem& fileSystem);

    fs::path Path() const { return programFolder_ / "cwr.sys"; }
    fs::path ScratchPath() const { return programFolder_ / "temp"; }

    // Rebuilds settings and catalogue from the file. Throws RuntimeError on a missing or
    // unreadable file or too many comment lines; what was read until then stays.
    void Read(SystemSettings& settings, FormatCatalogue& catalogue) const;
    // The same from the file's bytes.
    void ReadText(const std::string& bytes, SystemSettings& settings,
                  FormatCatalogue& catalogue) const;

    // Rewrites the s01, s02 and s03 lines, which are expected right after the free line;
    // everything else is copied unchanged. Throws RuntimeError; the old file then stays.
    void Save(const SystemSettings& settings) const;

    // Replaces every line beginning with "s02" by "s02 " + currentFormat.
    void PatchDefaultFormat(int currentFormat) const;

private:
    void ReadFormatLine(const std::string& key, const std::string& value, int16_t& slot,
                        FormatCatalogue& catalogue) const;
    bool LayoutFilesExist(const FormatCatalogue& catalogue, int slot) const;

    fs::path programFolder_;
    FileSystem& fileSystem_;
};

} // namespace cw
