#pragma once

#include "FileOps.h"

#include <optional>
#include <string>
#include <vector>

namespace cw {

// One of the reference texts of the data folder (notices, special notice, abbreviations,
// conventions, tips): its lines as bytes, the caption of its window, the prefix put before
// each of its lines and whether its suit markup is drawn as symbols. The file is known by its
// name in any letter case.
class ReferenceText {
public:
    // Lines on one page of the window.
    static constexpr int PageLines = 31;

    ReferenceText() = default;
    // Reads file (any letter case). Throws RuntimeError when it is missing or unreadable.
    static ReferenceText Load(const fs::path& file);
    // A text held in memory, known by its file name.
    ReferenceText(const std::string& fileName, const std::string& bytes);

    const std::string& Caption() const { return caption_; }
    const std::string& Prefix() const { return prefix_; }
    // false: the markup is shown as typed (the tips speak about typing it).
    bool SuitMarkup() const { return suitMarkup_; }
    int LineCount() const { return int(lines_.size()); }
    const std::string& Line(int index) const { return lines_.at(size_t(index)); }
    // A line as shown and printed: the prefix and the line.
    std::string ShownLine(int index) const { return prefix_ + Line(index); }

    // The last first line of a page: the count less 30, so that the last page ends with the
    // file's last line; 0 when the whole text fits on one page.
    int ScrollMax() const;
    // The shown lines of the page that starts at line first (up to PageLines of them).
    std::vector<std::string> Page(int first) const;

    // The first line after from (before it, when backwards) that holds query, letters
    // compared without regard to case, going round past the end. from may be -1 (before the
    // first line) or LineCount(). nullopt when no line holds it.
    std::optional<int> Find(const std::string& query, int from, bool forward) const;

private:
    std::vector<std::string> lines_;
    std::string caption_ = "Special Notices";
    std::string prefix_;
    bool suitMarkup_ = true;
};

// Whether text holds query, comparing letters of windows-1252 without regard to case.
bool ContainsIgnoreCase(const std::string& text, const std::string& query);

} // namespace cw
