#pragma once

#include <QColor>
#include <cstdint>

namespace cw {

// A colour as the card files and settings hold it: a Windows RGB value with red in the low
// byte, green in the second and blue in the third (&H0000FF is red).
using Rgb = int32_t;

namespace colour {
inline constexpr Rgb Black = 0x000000;
inline constexpr Rgb White = 0xFFFFFF;
inline constexpr Rgb Red = 0x0000FF;
inline constexpr Rgb Green = 0x00FF00;
inline constexpr Rgb Blue = 0xFF0000;
inline constexpr Rgb Cyan = 0xFFFF00;
inline constexpr Rgb Yellow = 0x00FFFF;
inline constexpr Rgb Brown = 0x004080;
inline constexpr Rgb LightGrey = 0xDFDFDF;
inline constexpr Rgb DarkGreen = 0x008000;
} // namespace colour

// The run time's RGB(r, g, b).
constexpr Rgb MakeRgb(int red, int green, int blue) {
    return Rgb((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

inline QColor ToQColor(Rgb value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline Rgb FromQColor(const QColor& value) {
    return MakeRgb(value.red(), value.green(), value.blue());
}

} // namespace cw
