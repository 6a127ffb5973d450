#pragma once

#include <array>
#include <string>

namespace cw {

class LineReader;

// The "|" comment lines at the top of a program text file, read so that they can be written
// back unchanged when the file is rewritten.
class HeaderLines {
public:
    static constexpr int Capacity = 11;

    // Reads comment lines until a line that does not begin with "|" and returns that line.
    // More than 11 comment lines raise a subscript run-time error; reading past the end of
    // the file raises an input-past-end error.
    std::string Read(LineReader& reader);

    // Appends the remembered comment lines, each with CR LF.
    void Write(std::string& out) const;

    int Count() const { return count_; }
    const std::string& Line(int index) const { return lines_.at(size_t(index)); }

private:
    std::array<std::string, Capacity> lines_{};
    int count_ = 0;
};

} // namespace cw
