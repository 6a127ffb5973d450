#pragma once

#include "CardPage.h"
#include "FileOps.h"

#include <optional>
#include <string>
#include <vector>

namespace cw {

// Where the open page lives: the format's card folder, the page's base name (the card's name,
// followed by "_" for a back page) and the format's extension with its dot.
struct CardLocation {
    fs::path CardDir;
    std::string CurrentCardName;
    std::string CardExt;

    fs::path PagePath() const { return CardDir / (CurrentCardName + CardExt); }
    fs::path ScratchPath() const { return CardDir / "temp"; }
};

struct LoadOptions {
    bool backSide = false;
    // A blank back page copied in when the page file is missing (formats whose cards may
    // lack their back page).
    std::optional<fs::path> backTemplate;
    // Whether that copy is written into the card's folder; otherwise the template is only
    // read, as the blank back page, and nothing is created.
    bool copyTemplate = true;
    // What that copy is written through (the default file system when null).
    FileSystem* fileSystem = nullptr;
};

// What a load could not read from a page file, one line each, in words for the user.
struct LoadReport {
    std::vector<std::string> notRead;
    bool Complete() const { return notRead.empty(); }
};

// Reading and writing a card page file.
class CardFile {
public:
    static constexpr int HeaderLineCount = 31;

    // Loads the page into page. What cannot be read (header lines the file lacks, records
    // that are malformed, records beyond a kind's capacity) is left out and listed in the
    // report, and the page is marked as read incompletely; everything else is read. A
    // missing or unreadable file raises RuntimeError.
    static LoadReport LoadCard(CardPage& page, const CardLocation& location,
                               const LoadOptions& options);

    // Reads a page held in memory (the bytes of a page file).
    static LoadReport ParsePage(CardPage& page, const std::string& bytes, bool backSide);

    // Writes the page back through a scratch file renamed over the old one. The old file's
    // comment lines and header lines 5..30 are kept, line 16 becomes appVersion. A missing
    // page file or one with fewer than 31 header lines raises RuntimeError and changes
    // nothing on disk, unless the page was read incompletely: then the old file is first kept
    // as NAME.EXT.bak (replaced atomically) and the header lines it lacks are written empty.
    // Kind-8 texts lose their double quotes (to apostrophes) in memory too.
    static void SaveCard(CardPage& page, const CardLocation& location,
                         const std::string& appVersion, FileSystem& fileSystem);

    // The bytes of a page file for page: original's comment lines and header lines 5..30
    // (line 16 becomes appVersion), then the page's names and records. Throws RuntimeError
    // when original lacks its header, unless the page was read incompletely (the lines it
    // lacks are written empty).
    static std::string ComposePage(CardPage& page, const std::string& original,
                                   const std::string& appVersion);

    // A text is written between double quotes and cannot hold one: kind-8 texts get an
    // apostrophe in its place, every other text two apostrophes (as the editors store it).
    static void QuotesOutOfTexts(CardPage& page);

    // The record part of a page, one line per record, in the kinds' write order.
    static std::string FormatRecords(const CardPage& page);
    static std::string FormatRecord(int kind, const CardField& field);
};

} // namespace cw
