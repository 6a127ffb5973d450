#include "LineReader.h"

#include "RuntimeError.h"

namespace cw {

std::string LineReader::ReadLine() {
    if (AtEnd())
        throw RuntimeError(RuntimeError::InputPastEnd, "Input past end of file");
    size_t end = text_.find('\n', pos_);
    size_t next = end == std::string::npos ? text_.size() : end + 1;
    if (end == std::string::npos)
        end = text_.size();
    if (end > pos_ && text_[end - 1] == '\r')
        --end;
    std::string line = text_.substr(pos_, end - pos_);
    pos_ = next;
    return line;
}

std::vector<std::string> SplitLines(std::string text) {
    LineReader reader(std::move(text));
    std::vector<std::string> lines;
    while (!reader.AtEnd())
        lines.push_back(reader.ReadLine());
    return lines;
}

} // namespace cw
