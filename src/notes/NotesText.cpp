#include "NotesText.h"

#include "BasicNumbers.h"

#include <algorithm>

namespace cw {

NotesText::NotesText(const std::string& bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string::npos) {
            lines_.push_back(bytes.substr(pos));
            endings_.push_back(Ending::None);
            break;
        }
        bool crLf = end > pos && bytes[end - 1] == '\r';
        lines_.push_back(bytes.substr(pos, end - pos - (crLf ? 1 : 0)));
        endings_.push_back(crLf ? Ending::CrLf : Ending::Lf);
        pos = end + 1;
    }
}

void NotesText::Append(std::string& out, const std::string& line, Ending ending) {
    out += line;
    if (ending == Ending::CrLf)
        out += "\r\n";
    else if (ending == Ending::Lf)
        out += '\n';
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
