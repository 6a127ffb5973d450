#include "FontPrefix.h"

namespace cw {

std::string GetFontPrefix(const std::string& text) {
    if (text.rfind("#<", 0) != 0)
        return {};
    size_t end = text.find(">#", 2);
    return end == std::string::npos ? std::string() : text.substr(0, end + 2);
}

std::string StripFontPrefix(const std::string& text) {
    if (text.rfind("#<", 0) != 0)
        return text;
    size_t end = text.find(">#", 2);
    return end == std::string::npos ? std::string() : text.substr(end + 2);
}

} // namespace cw
