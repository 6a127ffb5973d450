#include "FileOps.h"

#include "FileNameText.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace cw {

namespace {

FileError WriteError(const fs::path& path, int error) {
    int number = (error == ENOSPC || error == EDQUOT) ? RuntimeError::DiskFull
                                                      : RuntimeError::PathFileAccess;
    std::string reason = std::strerror(error);
    return {number, "Cannot write " + path.string() + ": " + reason, reason};
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool LessIgnoreCase(const std::string& a, const std::string& b) {
    auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                  [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
    if (mismatch.first == a.end())
        return mismatch.second != b.end() || a < b;
    if (mismatch.second == b.end())
        return false;
    return static_cast<unsigned char>(LowerAscii(*mismatch.first)) <
           static_cast<unsigned char>(LowerAscii(*mismatch.second));
}

} // namespace

int FileSystem::Open(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

long FileSystem::Write(int fd, const char* data, size_t size) {
    return long(::write(fd, data, size));
}

int FileSystem::Sync(int fd) {
    return ::fsync(fd);
}

int FileSystem::Close(int fd) {
    return ::close(fd);
}

int FileSystem::Rename(const fs::path& from, const fs::path& to) {
    return std::rename(from.c_str(), to.c_str());
}

int FileSystem::Remove(const fs::path& path) {
    return ::unlink(path.c_str());
}

namespace {

// Open, write until done, fsync when asked, close: every call through the seam.
void WriteAll(FileSystem& fileSystem, const fs::path& path, const std::string& bytes, bool sync) {
    int fd = fileSystem.Open(path);
    if (fd < 0)
        throw WriteError(path, errno);
    auto fail = [&](int error) {
        fileSystem.Close(fd);
        return WriteError(path, error);
    };
    size_t written = 0;
    while (written < bytes.size()) {
        long n = fileSystem.Write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw fail(errno);
        }
        if (n == 0) // nothing written and no reason given: the disk takes no more
            throw fail(ENOSPC);
        written += size_t(n);
    }
    // A file system that cannot sync (EINVAL) has nothing more to flush.
    if (sync && fileSystem.Sync(fd) != 0 && errno != EINVAL)
        throw fail(errno);
    if (fileSystem.Close(fd) != 0)
        throw WriteError(path, errno);
}

// The steps of a replacement; on failure the scratch file goes and the message names the
// file the user knows.
template <class Write>
void ReplaceThrough(FileSystem& fileSystem, const fs::path& target, const fs::path& scratch,
                    Write&& write) {
    try {
        write();
        fileSystem.RenameOver(scratch, target);
    } catch (const RuntimeError& error) {
        fileSystem.Remove(scratch);
        auto* fileError = dynamic_cast<const FileError*>(&error);
        std::string reason = fileError ? fileError->Reason() : std::string(error.what());
        std::string text = "Cannot write " + target.string() + ": " + reason + ".";
        std::error_code ec;
        if (fs::exists(target, ec))
            text += " The file is as it was before.";
        throw FileError(error.ErrorNumber(), text, reason);
    }
}

} // namespace

void FileSystem::WriteFlushed(const fs::path& path, const std::string& bytes) {
    WriteAll(*this, path, bytes, true);
}

void FileSystem::RenameOver(const fs::path& from, const fs::path& to) {
    if (Rename(from, to) != 0) {
        std::string reason = std::strerror(errno);
        throw FileError(RuntimeError::PathFileAccess,
                        "Cannot rename " + from.string() + " to " + to.string() + ": " + reason,
                        reason);
    }
}

FileSystem& FileSystem::Default() {
    static FileSystem instance;
    return instance;
}

void AtomicReplace(FileSystem& fileSystem, const fs::path& target, const std::string& bytes,
                   const fs::path& scratch) {
    ReplaceThrough(fileSystem, target, scratch, [&] { fileSystem.WriteFlushed(scratch, bytes); });
}

void ReplaceWithoutSync(FileSystem& fileSystem, const fs::path& target, const std::string& bytes,
                        const fs::path& scratch) {
    ReplaceThrough(fileSystem, target, scratch,
                   [&] { WriteAll(fileSystem, scratch, bytes, false); });
}

fs::path WriteFileOver(FileSystem& fileSystem, const fs::path& target, const std::string& bytes) {
    fs::path written = ResolveForWriting(target.parent_path()) / target.filename();
    auto existing = ResolveExisting(written);
    AtomicReplace(fileSystem, written, bytes, written.string() + ".new");
    // The same name in another letter case goes only once the new file is in place.
    if (existing && *existing != written)
        fileSystem.Remove(*existing);
    return written;
}

fs::path CopyFileOver(FileSystem& fileSystem, const fs::path& source, const fs::path& target) {
    return WriteFileOver(fileSystem, target, ReadExistingFile(source));
}

std::string ReadFileBytes(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw RuntimeError::FileNotFoundError(path.string());
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw RuntimeError(RuntimeError::PathFileAccess, "Cannot read " + path.string());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw RuntimeError(RuntimeError::PathFileAccess, "Cannot read " + path.string());
    return bytes;
}

namespace {

// The entry of folder whose name equals name without regard to case (the first in byte
// order when several do).
std::optional<fs::path> MatchInFolder(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
    std::optional<std::string> found;
    for (; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (EqualsIgnoreCase(entry, name) && (!found || entry < *found))
            found = std::move(entry);
    }
    if (!found)
        return std::nullopt;
    return folder / *found;
}

} // namespace

std::optional<fs::path> ResolveExisting(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    if (path.filename().empty() && !path.has_parent_path())
        return std::nullopt;
    fs::path resolved;
    for (const fs::path& component : path) {
        fs::path next = resolved / component;
        const std::string name = component.string();
        if (name.empty() || name == "." || name == ".." || fs::exists(next, ec)) {
            resolved = std::move(next);
            continue;
        }
        auto match = MatchInFolder(resolved, name);
        if (!match)
            return std::nullopt;
        resolved = std::move(*match);
    }
    return resolved;
}

fs::path ResolveForWriting(const fs::path& path) {
    if (auto existing = ResolveExisting(path))
        return *existing;
    fs::path parent = path.parent_path();
    if (parent.empty() || parent == path)
        return path;
    return ResolveForWriting(parent) / path.filename();
}

bool ExistsAnyCase(const fs::path& path) {
    return ResolveExisting(path).has_value();
}

std::string ReadExistingFile(const fs::path& path) {
    auto resolved = ResolveExisting(path);
    if (!resolved)
        throw RuntimeError::FileNotFoundError(path.string());
    return ReadFileBytes(*resolved);
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    // Iterative matcher with back-tracking to the last "*".
    size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> ListFolder(const fs::path& folder, const std::string& pattern) {
    std::vector<std::string> names;
    auto found = ResolveExisting(folder);
    if (!found)
        return names;
    std::error_code ec;
    fs::directory_iterator it(*found, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (WildcardMatch(pattern, name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), LessIgnoreCase);
    return names;
}

void CreateFolderQuietly(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(ResolveForWriting(folder), ec);
}

std::string ToUpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    auto isAscii = [](const std::string& text) {
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (isAscii(a) || isAscii(b))
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
    return UpperCaseFileName(a) == UpperCaseFileName(b);
}

} // namespace cw
