#include "NotesText.h"

#include "BasicNumbers.h"

#include <algorithm>
#include <array>

namespace cw {

NotesText::NotesText(const std::string& bytes) : utf8_(LooksLikeUtf8(bytes)) {
    size_t pos = 0;
    std::array<int, 4> counts{};
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            lines_.push_back(bytes.substr(pos));
            endings_.push_back(Ending::None);
            break;
        }
        lines_.push_back(bytes.substr(pos, end - pos));
        Ending ending = Ending::Lf;
        if (bytes[end] == '\r')
            ending = end + 1 < bytes.size() && bytes[end + 1] == '\n' ? Ending::CrLf : Ending::Cr;
        endings_.push_back(ending);
        ++counts[size_t(ending)];
        pos = end + (ending == Ending::CrLf ? 2 : 1);
    }
    // Ties go to CR LF, the line end of the program's own files.
    for (Ending ending : {Ending::Lf, Ending::Cr})
        if (counts[size_t(ending)] > counts[size_t(usualEnding_)])
            usualEnding_ = ending;
}

void NotesText::Append(std::string& out, const std::string& line, Ending ending) {
    out += line;
    switch (ending) {
    case Ending::CrLf:
        out += "\r\n";
        break;
    case Ending::Lf:
        out += '\n';
        break;
    case Ending::Cr:
        out += '\r';
        break;
    case Ending::None:
        break;
    }
}

std::string NotesText::ReplacedBytes(int first, int end,
                                     const std::vector<std::string>& lines) const {
    const int count = LineCount();
    first = std::clamp(first, 0, count);
    end = std::clamp(end, first, count);
    std::string out;
    for (int i = 0; i < first; ++i) {
        Ending ending = endings_[size_t(i)];
        // Lines added behind a last line without an end must not run into it.
        if (ending == Ending::None && (!lines.empty() || end < count))
            ending = Ending::CrLf;
        Append(out, lines_[size_t(i)], ending);
    }
    for (const std::string& line : lines)
        Append(out, line, Ending::CrLf);
    for (int i = end; i < count; ++i)
        Append(out, lines_[size_t(i)], endings_[size_t(i)]);
    return out;
}

namespace {

// Pairs of (old index, new index) of a longest run of equal lines common to both, in order.
// Beyond a size where the table would grow large only the common head and tail are paired.
std::vector<std::pair<int, int>> CommonLines(const std::vector<const std::string*>& before,
                                             const std::vector<std::string>& after) {
    const int n = int(before.size());
    const int m = int(after.size());
    std::vector<std::pair<int, int>> pairs;
    int head = 0;
    while (head < n && head < m && *before[size_t(head)] == after[size_t(head)])
        ++head;
    int tail = 0;
    while (tail < n - head && tail < m - head &&
           *before[size_t(n - 1 - tail)] == after[size_t(m - 1 - tail)])
        ++tail;
    for (int i = 0; i < head; ++i)
        pairs.emplace_back(i, i);
    const int rows = n - head - tail;
    const int columns = m - head - tail;
    constexpr long kMaxCells = 4'000'000;
    if (rows > 0 && columns > 0 && long(rows + 1) * long(columns + 1) <= kMaxCells) {
        // length[i][j]: the longest common run of before[head+i..] and after[head+j..].
        std::vector<int> length(size_t(rows + 1) * size_t(columns + 1), 0);
        auto at = [&](int i, int j) -> int& {
            return length[size_t(i) * size_t(columns + 1) + size_t(j)];
        };
        for (int i = rows - 1; i >= 0; --i)
            for (int j = columns - 1; j >= 0; --j)
                at(i, j) = *before[size_t(head + i)] == after[size_t(head + j)]
                               ? at(i + 1, j + 1) + 1
                               : std::max(at(i + 1, j), at(i, j + 1));
        int i = 0, j = 0;
        while (i < rows && j < columns) {
            if (*before[size_t(head + i)] == after[size_t(head + j)]) {
                pairs.emplace_back(head + i, head + j);
                ++i;
                ++j;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    }
    for (int k = tail; k > 0; --k)
        pairs.emplace_back(n - k, m - k);
    return pairs;
}

} // namespace

std::string NotesText::EditedBytes(int first, int end,
                                   const std::vector<std::string>& edited) const {
    const int count = LineCount();
    first = std::clamp(first, 0, count);
    end = std::clamp(end, first, count);
    std::vector<const std::string*> replaced;
    for (int i = first; i < end; ++i)
        replaced.push_back(&lines_[size_t(i)]);

    std::vector<std::pair<const std::string*, Ending>> out;
    out.reserve(size_t(count - (end - first)) + edited.size());
    for (int i = 0; i < first; ++i)
        out.emplace_back(&lines_[size_t(i)], endings_[size_t(i)]);
    int oldAt = 0, newAt = 0;
    auto changed = [&](int oldEnd, int newEnd) {
        // A changed line keeps the end of the line it takes the place of.
        for (int k = 0; newAt + k < newEnd; ++k) {
            Ending ending = oldAt + k < oldEnd ? endings_[size_t(first + oldAt + k)] : usualEnding_;
            out.emplace_back(&edited[size_t(newAt + k)], ending);
        }
        oldAt = oldEnd;
        newAt = newEnd;
    };
    for (auto [oldIndex, newIndex] : CommonLines(replaced, edited)) {
        changed(oldIndex, newIndex);
        out.emplace_back(&lines_[size_t(first + oldIndex)], endings_[size_t(first + oldIndex)]);
        ++oldAt;
        ++newAt;
    }
    changed(int(replaced.size()), int(edited.size()));
    for (int i = end; i < count; ++i)
        out.emplace_back(&lines_[size_t(i)], endings_[size_t(i)]);

    std::string bytes;
    for (size_t i = 0; i < out.size(); ++i) {
        Ending ending = out[i].second;
        // Only the file's last line may go without an end: lines after it must not run into
        // it. A file that ended without one still does.
        if (ending == Ending::None && i + 1 < out.size())
            ending = usualEnding_;
        if (i + 1 == out.size() && count > 0 && endings_.back() == Ending::None)
            ending = Ending::None;
        Append(bytes, *out[i].first, ending);
    }
    return bytes;
}

bool LooksLikeUtf8(const std::string& bytes) {
    bool beyondAscii = false;
    const size_t size = bytes.size();
    for (size_t i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        beyondAscii = true;
        int follow = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1;
            code = lead & 0x1Fu;
            least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            code = lead & 0x0Fu;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            code = lead & 0x07u;
            least = 0x10000;
        } else {
            return false;
        }
        if (i + size_t(follow) >= size)
            return false;
        for (int k = 1; k <= follow; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + size_t(k)]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += size_t(follow) + 1;
    }
    return beyondAscii;
}

namespace {

// The positive whole number between the first "[" of text and the next "]"; 0 otherwise.
int BracketNumber(const std::string& text) {
    size_t open = text.find('[');
    if (open == std::string::npos)
        return 0;
    size_t close = text.find(']', open + 1);
    if (close == std::string::npos)
        return 0;
    double value = Val(std::string_view(text).substr(open + 1, close - open - 1));
    if (!(value >= 1 && value < 1e9))
        return 0;
    return int(value);
}

} // namespace

int NoteReference(const std::string& fieldText) {
    return BracketNumber(fieldText);
}

bool HasNoteMarker(const std::string& line, int number) {
    return line.find("[" + std::to_string(number) + "]") != std::string::npos;
}

int MarkerNumber(const std::string& line) {
    return BracketNumber(line);
}

std::vector<std::string> SplitEditedText(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    size_t pos = 0;
    for (;;) {
        size_t end = text.find('\n', pos);
        std::string line =
            text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos)
            break;
        pos = end + 1;
    }
    return lines;
}

} // namespace cw
