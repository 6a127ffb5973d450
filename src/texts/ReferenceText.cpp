#include "ReferenceText.h"

#include "LineReader.h"

#include <algorithm>

namespace cw {

namespace {

struct TextKind {
    const char* fileName;
    const char* caption;
    const char* prefix;
    bool suitMarkup;
};

constexpr TextKind kKinds[] = {
    {"notices.txt", "Special Notices", "  ", true},
    {"abbr.dat", "Bridge Abbreviations", "", true},
    {"convent.txt", "Bridge Conventions", "", true},
    {"tips.txt", "Tips for Using this Program", "", false},
};

// Lower case of a windows-1252 byte: ASCII letters, the accented capitals and the four
// capitals among 0x8A..0x9F.
unsigned char Fold(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    switch (c) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return c + 0x10;
    case 0x9F: // Y diaeresis
        return 0xFF;
    default:
        return c;
    }
}

} // namespace

bool ContainsIgnoreCase(const std::string& text, const std::string& query) {
    if (query.empty())
        return false;
    auto found =
        std::search(text.begin(), text.end(), query.begin(), query.end(), [](char a, char b) {
            return Fold(static_cast<unsigned char>(a)) == Fold(static_cast<unsigned char>(b));
        });
    return found != text.end();
}

ReferenceText ReferenceText::Load(const fs::path& file) {
    return ReferenceText(file.filename().string(), ReadExistingFile(file));
}

ReferenceText::ReferenceText(const std::string& fileName, const std::string& bytes) {
    for (const TextKind& kind : kKinds)
        if (EqualsIgnoreCase(fileName, kind.fileName)) {
            caption_ = kind.caption;
            prefix_ = kind.prefix;
            suitMarkup_ = kind.suitMarkup;
        }
    LineReader reader(bytes);
    while (!reader.AtEnd())
        lines_.push_back(reader.ReadLine());
}

int ReferenceText::ScrollMax() const {
    return std::max(0, LineCount() - (PageLines - 1));
}

std::vector<std::string> ReferenceText::Page(int first) const {
    std::vector<std::string> page;
    first = std::max(0, first);
    for (int i = first; i < LineCount() && i < first + PageLines; ++i)
        page.push_back(ShownLine(i));
    return page;
}

std::optional<int> ReferenceText::Find(const std::string& query, int from, bool forward) const {
    const int count = LineCount();
    if (count == 0 || query.empty())
        return std::nullopt;
    int line = from;
    for (int step = 0; step < count; ++step) {
        line = forward ? line + 1 : line - 1;
        if (line >= count)
            line = 0;
        if (line < 0)
            line = count - 1;
        if (ContainsIgnoreCase(lines_[size_t(line)], query))
            return line;
    }
    return std::nullopt;
}

} // namespace cw
