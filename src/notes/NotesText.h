#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// The lines of a notes file as bytes, each with the line end it had (CR LF, LF, a bare CR as
// files from old Macs have, or none for a last line without one), so that every line the
// user did not change is written back exactly as it was read.
class NotesText {
public:
    enum class Ending : uint8_t { None, Lf, CrLf, Cr };

    NotesText() = default;
    explicit NotesText(const std::string& bytes);

    int LineCount() const { return int(lines_.size()); }
    const std::string& Line(int index) const { return lines_.at(size_t(index)); }
    const std::vector<std::string>& Lines() const { return lines_; }
    Ending LineEnding(int index) const { return endings_.at(size_t(index)); }
    // The line end most lines of the file have; CR LF for a file without any.
    Ending UsualEnding() const { return usualEnding_; }
    // The file's text is UTF-8: it holds letters beyond ASCII, all of them valid UTF-8.
    bool IsUtf8() const { return utf8_; }

    // The file's bytes with lines first..end-1 replaced by lines, each ended with CR LF. A
    // last line without a line end gets one when lines are added behind it.
    std::string ReplacedBytes(int first, int end, const std::vector<std::string>& lines) const;

    // The file's bytes with lines first..end-1 replaced by the edited lines. An edited line
    // that is one of the replaced lines unchanged keeps that line's bytes and line end; a
    // changed line takes the end of the line it replaces, a new one the file's usual end.
    // Lines outside first..end-1 stay as they are.
    std::string EditedBytes(int first, int end, const std::vector<std::string>& edited) const;

private:
    static void Append(std::string& out, const std::string& line, Ending ending);

    std::vector<std::string> lines_;
    std::vector<Ending> endings_;
    Ending usualEnding_ = Ending::CrLf;
    bool utf8_ = false;
};

// Whether bytes hold at least one letter beyond ASCII and are valid UTF-8 throughout.
bool LooksLikeUtf8(const std::string& bytes);

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
