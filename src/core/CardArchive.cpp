#include "CardArchive.h"

#include "RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace cw {

namespace {

// "YYYYMMDD-HHMMSS-mmm-nnn": the time a version was kept and a count that keeps two versions
// of the same millisecond apart.
constexpr size_t kStampLength = 23;

bool IsStamp(const std::string& name) {
    if (name.size() <= kStampLength + 1 || name[kStampLength] != '_')
        return false;
    for (size_t i = 0; i < kStampLength; ++i) {
        bool dash = i == 8 || i == 15 || i == 19;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9'))
            return false;
    }
    return true;
}

std::string FormatTime(std::chrono::system_clock::time_point time) {
    auto since = time.time_since_epoch();
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    int millis =
        int(std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds).count());
    std::time_t t = std::time_t(seconds.count());
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  std::clamp(millis, 0, 999));
    return text;
}

std::string ForPeople(const std::string& stamp) {
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
}

RuntimeError HistoryError(const std::string& what, const fs::path& path, int error) {
    return {error == ENOSPC || error == EDQUOT ? RuntimeError::DiskFull
                                               : RuntimeError::PathFileAccess,
            what + " " + path.string() + ": " + std::strerror(error)};
}

// Writes a version beside its final name and renames it there, so that a version file is
// either whole or absent. Versions are not forced to disk: a save must stay fast, and the
// page itself is.
void WriteVersion(FileSystem& fileSystem, const fs::path& target, const std::string& bytes) {
    fs::path part = target;
    part += ".part";
    ReplaceWithoutSync(fileSystem, target, bytes, part);
}

fs::path Resolved(const fs::path& path) {
    return ResolveExisting(path).value_or(path);
}

} // namespace

CardArchive::CardArchive(fs::path root, FileSystem& fileSystem)
    : root_(std::move(root)), fileSystem_(fileSystem),
      clock_([] { return std::chrono::system_clock::now(); }) {}

fs::path CardArchive::CardFolder(const std::string& format, const std::string& card) const {
    return Resolved(Resolved(root_ / format) / card);
}

std::string CardArchive::NextStamp(const fs::path& folder, const std::string& pageFile) const {
    std::string stamp = FormatTime(clock_()) + "-000";
    // A version is always newer than those kept before it, whatever the clock says.
    std::string newest;
    for (const std::string& name : ListFolder(folder, "*"))
        if (IsStamp(name))
            newest = std::max(newest, name.substr(0, kStampLength));
    if (stamp <= newest) {
        int count = std::stoi(newest.substr(20, 3));
        if (count < 999) {
            char next[16];
            std::snprintf(next, sizeof next, "%03d", count + 1);
            stamp = newest.substr(0, 20) + next;
        } else {
            stamp = newest.substr(0, 20) + "999";
        }
    }
    return stamp;
}

std::vector<ArchivedVersion> CardArchive::Versions(const std::string& format,
                                                   const std::string& card,
                                                   const std::string& pageFile) const {
    std::vector<ArchivedVersion> versions;
    fs::path folder = CardFolder(format, card);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return versions;
    for (const std::string& name : ListFolder(folder, "*")) {
        if (!IsStamp(name))
            continue;
        std::string page = name.substr(kStampLength + 1);
        if (!pageFile.empty() && !EqualsIgnoreCase(page, pageFile))
            continue;
        if (page.size() > 5 && page.compare(page.size() - 5, 5, ".part") == 0)
            continue;
        std::string stamp = name.substr(0, kStampLength);
        versions.push_back({folder / name, page, stamp, ForPeople(stamp)});
    }
    std::sort(versions.begin(), versions.end(),
              [](const ArchivedVersion& a, const ArchivedVersion& b) { return a.stamp > b.stamp; });
    return versions;
}

void CardArchive::Keep(const std::string& format, const std::string& card,
                       const std::string& pageFile, const std::string& bytes) {
    fs::path folder = CardFolder(format, card);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw HistoryError("Cannot create", folder, ec.value());
    auto kept = Versions(format, card, pageFile);
    if (!kept.empty() && fs::file_size(kept.front().file, ec) == bytes.size() && !ec &&
        ReadFileBytes(kept.front().file) == bytes)
        return;
    WriteVersion(fileSystem_, folder / (NextStamp(folder, pageFile) + "_" + pageFile), bytes);
    Prune(format, card, pageFile);
}

fs::path CardArchive::MoveIn(const std::string& format, const std::string& card,
                             const fs::path& pageFile) {
    fs::path folder = CardFolder(format, card);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw HistoryError("Cannot create", folder, ec.value());
    // Always a version of its own, so that the newest version of a deleted card tells when it
    // was deleted.
    const std::string name = pageFile.filename().string();
    fs::path target = folder / (NextStamp(folder, name) + "_" + name);
    if (fileSystem_.Rename(pageFile, target) != 0) {
        // Another file system: a copy, then the card's file goes.
        WriteVersion(fileSystem_, target, ReadFileBytes(pageFile));
        if (fileSystem_.Remove(pageFile) != 0)
            throw HistoryError("Cannot delete", pageFile, errno);
    }
    Prune(format, card, name);
    return target;
}

void CardArchive::Prune(const std::string& format, const std::string& card,
                        const std::string& pageFile) const {
    auto versions = Versions(format, card, pageFile);
    std::error_code ec;
    for (size_t i = KeptPerPage; i < versions.size(); ++i)
        fs::remove(versions[i].file, ec);
}

std::vector<DeletedCard> CardArchive::DeletedCards(const std::string& format,
                                                   const fs::path& cardFolder,
                                                   const std::string& frontExtension) const {
    std::vector<DeletedCard> cards;
    fs::path formatFolder = Resolved(root_ / format);
    std::error_code ec;
    if (!fs::is_directory(formatFolder, ec))
        return cards;
    for (const auto& entry : fs::directory_iterator(formatFolder, ec)) {
        if (!entry.is_directory(ec))
            continue;
        std::string card = entry.path().filename().string();
        if (ExistsAnyCase(cardFolder / (card + frontExtension)))
            continue;
        auto front = Versions(format, card, card + frontExtension);
        if (!front.empty())
            cards.push_back({card, front.front().when});
    }
    std::sort(cards.begin(), cards.end(), [](const DeletedCard& a, const DeletedCard& b) {
        return ToUpperAscii(a.name) < ToUpperAscii(b.name);
    });
    return cards;
}

} // namespace cw
