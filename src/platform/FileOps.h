#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cw {

namespace fs = std::filesystem;

// The two steps of a file replacement that can fail on a real disk. Production code uses the
// default implementation; tests substitute failures (a full disk, a rename that fails).
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Writes bytes to path, flushed to disk. Throws RuntimeError on failure.
    virtual void WriteFlushed(const fs::path& path, const std::string& bytes);
    // Renames from over to in one step. Throws RuntimeError on failure.
    virtual void RenameOver(const fs::path& from, const fs::path& to);

    static FileSystem& Default();
};

// Replaces target by bytes so that a crash at any moment leaves either the old or the new
// file: the bytes go to scratch (beside the target) first and are renamed over it. On failure
// the scratch file is left behind, the target is untouched, and RuntimeError is thrown.
void AtomicReplace(FileSystem& fileSystem, const fs::path& target, const std::string& bytes,
                   const fs::path& scratch);

// Reads a whole file as bytes. Throws RuntimeError (file not found / access error).
std::string ReadFileBytes(const fs::path& path);

// Names built by the program are tried as built first; when no such file exists, each
// component of the path (folders too: "Data", "DATASYS" copied from Windows) is matched
// without regard to letter case in the folder found so far.
std::optional<fs::path> ResolveExisting(const fs::path& path);
bool ExistsAnyCase(const fs::path& path);

// Where to create or write path: the file itself when it exists in any letter case,
// otherwise its name in the folder that exists in any case (the longest such folder, with
// the missing folders below it as given).
fs::path ResolveForWriting(const fs::path& path);

// Like ReadFileBytes, with the case-insensitive fallback.
std::string ReadExistingFile(const fs::path& path);

// File names (not paths) of the regular files in folder (found in any letter case) whose
// names match pattern, a wildcard pattern with "*" and "?" compared case-insensitively. The
// names come sorted case-insensitively (ties by byte order), so lists built from them are
// stable.
std::vector<std::string> ListFolder(const fs::path& folder, const std::string& pattern);

bool WildcardMatch(const std::string& pattern, const std::string& name);

// Creates folder (and parents) unless it exists in any letter case; every error is ignored.
void CreateFolderQuietly(const fs::path& folder);

std::string ToUpperAscii(std::string text);
// Equal without regard to letter case; names with non-ASCII letters are compared by their
// Unicode upper case (a windows-1252 name matches its UTF-8 spelling).
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

} // namespace cw
