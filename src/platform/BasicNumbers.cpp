#include "BasicNumbers.h"

#include "RuntimeError.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cw {

namespace {

bool IsSkippable(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Copies the characters Val reads into plain, dropping blanks; returns how far the number
// reached in text.
size_t ScanNumber(std::string_view text, std::string& plain, int& radix) {
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && IsSkippable(text[i]))
            ++i;
    };
    skip();
    radix = 10;
    if (i + 1 < text.size() && text[i] == '&') {
        char kind = text[i + 1];
        if (kind == 'H' || kind == 'h' || kind == 'O' || kind == 'o') {
            radix = (kind == 'H' || kind == 'h') ? 16 : 8;
            i += 2;
            for (;; ++i) {
                skip();
                if (i >= text.size())
                    break;
                char c = text[i];
                bool digit = radix == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                         : (c >= '0' && c <= '7');
                if (!digit)
                    break;
                plain += c;
            }
            return i;
        }
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain += text[i++];
    bool seenPoint = false, seenDigit = false;
    for (;; ++i) {
        skip();
        if (i >= text.size())
            break;
        char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            plain += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (seenDigit && i < text.size() &&
        (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::string exponent = "e";
        size_t j = i + 1;
        while (j < text.size() && IsSkippable(text[j]))
            ++j;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        bool expDigit = false;
        for (;; ++j) {
            while (j < text.size() && IsSkippable(text[j]))
                ++j;
            if (j >= text.size() || text[j] < '0' || text[j] > '9')
                break;
            exponent += text[j];
            expDigit = true;
        }
        if (expDigit) {
            plain += exponent;
            i = j;
        }
    }
    return i;
}

double PlainToDouble(const std::string& plain, int radix) {
    if (radix != 10) {
        if (plain.empty())
            return 0;
        unsigned long long raw = std::strtoull(plain.c_str(), nullptr, radix);
        // Hexadecimal and octal constants of up to 16 bits are signed 16-bit values, longer
        // ones signed 32-bit values.
        if (raw <= 0xFFFF && plain.size() <= (radix == 16 ? 4u : 6u))
            return static_cast<int16_t>(static_cast<uint16_t>(raw));
        return static_cast<int32_t>(static_cast<uint32_t>(raw));
    }
    bool hasDigit = plain.find_first_of("0123456789") != std::string::npos;
    if (!hasDigit)
        return 0;
    return std::strtod(plain.c_str(), nullptr);
}

std::string TrimNumberText(std::string text) {
    // "1.2300000E+05" style cleanup: strip trailing zeros of the mantissa.
    size_t e = text.find_first_of("eE");
    std::string mantissa = e == std::string::npos ? text : text.substr(0, e);
    std::string exponent = e == std::string::npos ? "" : text.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0')
            mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (!exponent.empty()) {
        // E+05 -> E+5
        char sign = exponent.size() > 1 ? exponent[1] : '+';
        std::string digits = exponent.substr(2);
        while (digits.size() > 1 && digits.front() == '0')
            digits.erase(digits.begin());
        exponent = std::string("E") + sign + digits;
    }
    return mantissa + exponent;
}

std::string FormatWithDigits(double value, int digits) {
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    return TrimNumberText(buffer);
}

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

} // namespace

double Val(std::string_view text) {
    std::string plain;
    int radix = 10;
    ScanNumber(text, plain, radix);
    return PlainToDouble(plain, radix);
}

bool IsWholeNumber(std::string_view text) {
    std::string plain;
    int radix = 10;
    size_t end = ScanNumber(text, plain, radix);
    if (plain.find_first_of("0123456789abcdefABCDEF") == std::string::npos)
        return false;
    while (end < text.size() && IsSkippable(text[end]))
        ++end;
    return end == text.size();
}

std::string FormatNumber(double value) {
    return FormatWithDigits(value, 15);
}

std::string FormatSingle(float value) {
    return FormatWithDigits(value, 7);
}

int16_t ToInt16(double value) {
    double rounded = RoundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw RuntimeError(6, "Overflow");
    return static_cast<int16_t>(rounded);
}

int32_t ToInt32(double value) {
    double rounded = RoundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw RuntimeError(6, "Overflow");
    return static_cast<int32_t>(rounded);
}

} // namespace cw
