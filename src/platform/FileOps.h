#pragma once

#include "RuntimeError.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cw {

namespace fs = std::filesystem;

// The file-system calls that write, one virtual function each, so that tests can make any one
// of them fail the way a real disk does (an open refused, an I/O error, a disk that fills up
// part-way, a rename refused). They behave like the system calls they stand for: -1 (or a
// short count for Write) with errno set on failure. Production code uses the default
// implementation, which makes exactly those calls.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens path for writing, created or emptied; a file descriptor or -1.
    virtual int Open(const fs::path& path);
    // Writes up to size bytes; how many were written, or -1.
    virtual long Write(int fd, const char* data, size_t size);
    // Flushes what was written to the disk itself.
    virtual int Sync(int fd);
    // A write the system kept back may fail only here.
    virtual int Close(int fd);
    virtual int Rename(const fs::path& from, const fs::path& to);
    virtual int Remove(const fs::path& path);

    // Writes bytes to path, flushed to disk (open, write until done, fsync, close). Throws
    // FileError on failure.
    virtual void WriteFlushed(const fs::path& path, const std::string& bytes);
    // Renames from over to in one step. Throws FileError on failure.
    virtual void RenameOver(const fs::path& from, const fs::path& to);

    static FileSystem& Default();
};

// A failed file-system call: the run-time error number (61 for a full disk, 75 otherwise) and
// the system's reason in words.
class FileError : public RuntimeError {
public:
    FileError(int number, const std::string& description, std::string reason)
        : RuntimeError(number, description), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// Replaces target by bytes so that a crash at any moment leaves either the old or the new
// file: the bytes go to scratch (beside the target) first and are renamed over it. On failure
// the scratch file is removed, the target is untouched, and RuntimeError is thrown naming the
// target and the reason.
void AtomicReplace(FileSystem& fileSystem, const fs::path& target, const std::string& bytes,
                   const fs::path& scratch);

// Like AtomicReplace, without waiting for the disk: for copies of what is kept safely
// elsewhere (a card's earlier versions), where the user must not wait. A crash leaves the old
// file or the new one; only a power cut may leave the new one empty.
void ReplaceWithoutSync(FileSystem& fileSystem, const fs::path& target, const std::string& bytes,
                        const fs::path& scratch);

// Writes bytes to target the same way, through a scratch file named target + ".new". The file
// takes target's name as given (in the folder that exists in any letter case); a file of that
// name in another letter case is removed once the new one is in place. Returns the file
// written.
fs::path WriteFileOver(FileSystem& fileSystem, const fs::path& target, const std::string& bytes);
// The same with the bytes of source (found in any letter case).
fs::path CopyFileOver(FileSystem& fileSystem, const fs::path& source, const fs::path& target);

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
