#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cw {

// The numeric value of a text, read the lenient way the program's files have always been
// read: blanks, tabs and line feeds are skipped anywhere, then an optional sign, digits, an
// optional fraction and exponent are read up to the first character that does not belong to
// a number; "&H" and "&O" introduce hexadecimal and octal. 0 when there is no number.
double Val(std::string_view text);

// True when the whole text (blanks around it allowed) is one number of the form Val reads.
bool IsWholeNumber(std::string_view text);

// Shortest decimal form of a value: no leading blank, no trailing zeros, "-" when negative,
// at most 15 significant digits.
std::string FormatNumber(double value);

// Same, for single-precision values (at most 7 significant digits).
std::string FormatSingle(float value);

// Conversions that round half to even and raise an overflow run-time error out of range.
int16_t ToInt16(double value);
int32_t ToInt32(double value);

} // namespace cw
