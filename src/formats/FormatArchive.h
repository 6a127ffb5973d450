#pragma once

#include "FileOps.h"
#include "FormatRegistration.h"

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

namespace cw {

// A format cannot be written to or read from a format file; the message says why in the
// user's words. Nothing was changed.
class FormatArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A card format as one file carries: its settings record and its files by their path inside
// a data root (data/... and bmps/...).
struct FormatPackage {
    FormatRecordLines record;
    std::map<fs::path, std::string> files;
};

// What a format file may hold, so that a hostile one cannot fill the memory or the disk.
struct FormatArchiveLimits {
    uint64_t entryBytes = 60ull << 20;
    uint64_t totalBytes = 200ull << 20;
    size_t entries = 500;
};

// The format of code in root with every file its layouts draw on: the templates and base
// layers, the blank card they name, the form bindings, other data files of its base name and
// its picture. Never the cards. Throws FormatArchiveError when it has no such format or a
// file it names is missing.
FormatPackage CollectFormat(const fs::path& root, const std::string& code);

// A zip file of the package: the record as format.txt beside its files.
std::string ComposeFormatArchive(const FormatPackage& package);

// The package a format file holds, refused unless every entry is a plain file in data or bmps
// (or format.txt) within the limits, format.txt is one settings record, and the files are
// those of its base name, layouts and picture.
FormatPackage ReadFormatArchive(const std::string& bytes, const FormatArchiveLimits& limits = {});

// Writes the format file of code in root to file, through a scratch file renamed over it.
FormatRecordLines ExportFormat(const fs::path& root, const std::string& code, const fs::path& file,
                               FileSystem& fileSystem = FileSystem::Default());

// Installs the format a format file holds in root, all or nothing; refuses a code or extension
// in use there or a file that exists already.
FormatRecordLines ImportFormat(const fs::path& root, const fs::path& file,
                               FileSystem& fileSystem = FileSystem::Default(),
                               const FormatArchiveLimits& limits = {});

} // namespace cw
