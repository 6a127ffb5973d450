#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// The lines of a notes file as bytes, each with the line end it had (CR LF, LF or none for a
// last line without one), so that the lines around an edited block are written back exactly
// as they were read.
class NotesText {
public:
    NotesText() = default;
    explicit NotesText(const std::string& bytes);

    int LineCount() const { return int(lines_.size()); }
    const std::string& Line(int index) const { return lines_.at(size_t(index)); }
    const std::vector<std::string>& Lines() const { return lines_; }

    // The file's bytes with lines first..end-1 replaced by lines, each ended with CR LF. A
    // last line without a line end gets one when lines are added behind it.
    std::string ReplacedBytes(int first, int end, const std::vector<std::string>& lines) const;

private:
    enum class Ending : uint8_t { None, Lf, CrLf };
    static void Append(std::string& out, const std::string& line, Ending ending);

    std::vector<std::string> lines_;
    std::vector<Ending> endings_;
};

// The note a field's text refers to: the number between its first "[" and the next "]"
// after it; 0 when there is no such pair or no positive number between them.
int NoteReference(const std::string& fieldText);

// Whether line holds the marker of note number ("[" number "]").
bool HasNoteMarker(const std::string& line, int number);

// The number of the first marker of line, read like a reference; 0 when it has none.
int MarkerNumber(const std::string& line);

// The edit box's text (lines separated by "\n", a "\r" before it ignored) as lines. An empty
// text has no lines.
std::vector<std::string> SplitEditedText(const std::string& text);

} // namespace cw
