#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cw {

// Reads the lines of an 8-bit text held in memory. Lines end in CR LF or LF; a final line
// without an end still counts.
class LineReader {
public:
    explicit LineReader(std::string text) : text_(std::move(text)) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The next line without its end. Throws RuntimeError (input past end of file) at the end.
    std::string ReadLine();

private:
    std::string text_;
    size_t pos_ = 0;
};

// Every line of text, without their ends.
std::vector<std::string> SplitLines(std::string text);

// Appends line and CR LF to out.
inline void AppendLine(std::string& out, std::string_view line) {
    out.append(line);
    out.append("\r\n");
}

} // namespace cw
