#pragma once

#include <string>
#include <string_view>

namespace cw {

// text without the blanks before and after it (only the space character: a tab is text).
inline std::string TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

} // namespace cw
