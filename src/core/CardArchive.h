#pragma once

#include "FileOps.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace cw {

// One kept version of a card page.
struct ArchivedVersion {
    fs::path file;
    std::string pageFile; // the page file it was, e.g. "testcrd_.acb"
    std::string stamp;    // when it was replaced: "20240131-142501-123-000", sortable
    std::string when;     // the same for people: "2024-01-31 14:25:01"
};

// A card that was deleted and is kept in the history.
struct DeletedCard {
    std::string name;
    std::string when; // when it was deleted (its newest version was kept)
};

// The earlier versions of card pages, kept below the history folder (datasys/history) in a
// folder per format and card: every save keeps the page it replaces, a deleted card's pages
// are moved there, and the newest versions of each page are kept. A version file is named by
// the date and time it was replaced, followed by the page file's name.
class CardArchive {
public:
    static constexpr int KeptPerPage = 20;
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    explicit CardArchive(fs::path root, FileSystem& fileSystem = FileSystem::Default());

    const fs::path& Root() const { return root_; }
    // For tests: the time versions are stamped with.
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // The folder of a card's versions (as it would be created; an existing folder in another
    // letter case is used instead).
    fs::path CardFolder(const std::string& format, const std::string& card) const;

    // Keeps bytes as the newest version of pageFile; the oldest versions beyond KeptPerPage
    // go. Bytes equal to the newest version already kept are not kept twice. Throws
    // RuntimeError when the history cannot be written.
    void Keep(const std::string& format, const std::string& card, const std::string& pageFile,
              const std::string& bytes);
    // Moves a page file into the history as its newest version (a card being deleted), even
    // when the same bytes are kept already. Returns the version's file.
    fs::path MoveIn(const std::string& format, const std::string& card, const fs::path& pageFile);

    // The versions of a card, newest first; of one page only when pageFile is given.
    std::vector<ArchivedVersion> Versions(const std::string& format, const std::string& card,
                                          const std::string& pageFile = {}) const;

    // Cards of a format that have versions of their front page (frontExtension is the
    // format's card-file extension) but no card file in cardFolder any more.
    std::vector<DeletedCard> DeletedCards(const std::string& format, const fs::path& cardFolder,
                                          const std::string& frontExtension) const;

private:
    std::string NextStamp(const fs::path& folder, const std::string& pageFile) const;
    void Prune(const std::string& format, const std::string& card,
               const std::string& pageFile) const;

    fs::path root_;
    FileSystem& fileSystem_;
    Clock clock_;
};

} // namespace cw
