#include "FileNameText.h"

#include <array>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <optional>

namespace cw {

namespace {

// windows-1252 bytes 0x80..0x9F; the five bytes the code page leaves free stay the C1
// controls of the same number, as Windows reads them. 0xA0..0xFF are Latin-1.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// The code point of the well-formed UTF-8 sequence at bytes[pos] and its length; nothing
// when the bytes there are not one (overlong forms and surrogates included).
std::optional<std::pair<char32_t, size_t>> DecodeUtf8At(std::string_view bytes, size_t pos) {
    auto byte = [&](size_t i) {
        return static_cast<unsigned char>(bytes[pos + i]);
    };
    unsigned char lead = byte(0);
    if (lead < 0x80)
        return std::pair<char32_t, size_t>{lead, 1};
    size_t length = 0;
    char32_t c = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return std::nullopt;
    }
    if (pos + length > bytes.size())
        return std::nullopt;
    for (size_t i = 1; i < length; ++i) {
        unsigned char next = byte(i);
        unsigned char min = i == 1 ? low : 0x80, max = i == 1 ? high : 0xBF;
        if (next < min || next > max)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    return std::pair<char32_t, size_t>{c, length};
}

// Code points of a UTF-8 text; a byte that starts no well-formed sequence is read as
// windows-1252.
template <class Visit> void ForEachCodePoint(std::string_view bytes, Visit&& visit) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (auto decoded = DecodeUtf8At(bytes, pos)) {
            visit(decoded->first);
            pos += decoded->second;
            continue;
        }
        unsigned char b = static_cast<unsigned char>(bytes[pos++]);
        visit(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char32_t(b));
    }
}

// The C library's Unicode case tables, from its UTF-8 locale (always installed on Debian).
locale_t Utf8Locale() {
    static locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    return locale;
}

char32_t ToUpper(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
    locale_t locale = Utf8Locale();
    return locale ? char32_t(towupper_l(wint_t(c), locale)) : c;
}

} // namespace

std::string FileNameToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    ForEachCodePoint(bytes, [&](char32_t c) { AppendUtf8(out, c); });
    return out;
}

std::string UpperCaseUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    ForEachCodePoint(utf8, [&](char32_t c) { AppendUtf8(out, ToUpper(c)); });
    return out;
}

} // namespace cw
