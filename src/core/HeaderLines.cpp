#include "HeaderLines.h"

#include "LineReader.h"
#include "RuntimeError.h"

namespace cw {

std::string HeaderLines::Read(LineReader& reader) {
    lines_.fill(" ");
    count_ = 0;
    for (;;) {
        std::string line = reader.ReadLine();
        if (line.empty() || line[0] != '|')
            return line;
        if (count_ == Capacity)
            throw RuntimeError(RuntimeError::SubscriptOutOfRange,
                               "Subscript out of range: more than 11 comment lines");
        lines_[size_t(count_++)] = std::move(line);
    }
}

void HeaderLines::Write(std::string& out) const {
    for (int i = 0; i < count_; ++i)
        AppendLine(out, lines_[size_t(i)]);
}

} // namespace cw
