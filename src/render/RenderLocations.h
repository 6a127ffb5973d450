#pragma once

#include "LocationCodes.h"

// Location codes of the drawing procedures, for the error trap: 1100s the shared text
// drawing, 2100s the card renderer of the main window.
namespace cw::loc {

inline constexpr int DrawFieldText = 1101;
inline constexpr int DrawSuitText = 1102;
inline constexpr int DrawSuitSymbol = 1103;
inline constexpr int AlignTextX = 1104;
inline constexpr int ApplyFieldFont = 1105;
inline constexpr int DrawVerticalText = 1106;
inline constexpr int DrawRotatedText = 1107;
inline constexpr int ResolveColour = 1108;
inline constexpr int CalibratePrinterFont = 1109;

inline constexpr int RenderCard = 2101;
inline constexpr int SelectSurface = 2103;
inline constexpr int DrawRectangle = 2104;
inline constexpr int DrawLineField = 2105;
inline constexpr int DrawThickLine = 2106;
inline constexpr int DrawTickMark = 2107;
inline constexpr int DrawCheckBox = 2108;
inline constexpr int DrawLabelBox = 2109;
inline constexpr int DrawCircledItem = 2110;
inline constexpr int DrawBitmap = 2111;
inline constexpr int DrawNTSMark = 2112;
inline constexpr int RedrawField = 2113;
inline constexpr int DrawCardLayer = 2114;

} // namespace cw::loc
