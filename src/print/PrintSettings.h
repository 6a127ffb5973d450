#pragma once

#include <array>
#include <cstdint>

namespace cw {

// Which sides of the card a job prints.
enum class PrintSide { Front, Back, Both };

// Whose card a job prints: the menu's three print commands, in their order.
enum class PrintCardChoice { Mine = 0, Partner = 1, Both = 2 };

// Bits of a format's saved PrintFlags.
namespace printflag {
inline constexpr int32_t SettingsPresent = 16384;
inline constexpr int32_t Landscape = 2;
inline constexpr int32_t FrontSide = 4;
inline constexpr int32_t BackSide = 8;
inline constexpr int32_t BothSides = 16;
inline constexpr int32_t BlackOnly = 128;
// With BothSides: the two pages side by side on one sheet, as the folded printed card.
inline constexpr int32_t OneSheet = 1024;
} // namespace printflag

// The five number boxes of the print options, in their order: millimetres, except the
// text alignment, which is in screen pixels.
enum PrintBox : int {
    BoxPrintWidth,
    BoxPrintHeight,
    BoxBackMargin,
    BoxFrontMargin,
    BoxTextAlign,
    PrintBoxCount
};

// The caption of a box ("Print Width").
const char* PrintBoxCaption(int box);

// What the user chose in the print options (or what a command takes from the saved ones).
struct PrintChoices {
    PrintSide side = PrintSide::Front;
    bool blackOnly = false;
    bool landscape = false;
    // Both sides side by side on one landscape sheet (with side Both only).
    bool oneSheet = false;
    std::array<double, PrintBoxCount> boxes{};

    bool operator==(const PrintChoices&) const = default;
};

// The PrintFlags word that saves choices.
int32_t PrintFlagsOf(const PrintChoices& choices);

// Millimetres to twips as printing has always converted them.
inline constexpr double kTwipsPerMillimetre = 56.7;

} // namespace cw
