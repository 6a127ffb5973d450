#pragma once

#include "Colour.h"

#include <cstdint>

namespace cw {

// The drawing state that the renderer, printing and image export share.
struct RenderState {
    // 0 on screen, 1 while printing.
    int PrintMode = 0;
    // "Print Black only".
    bool PrintBlackWhite = false;
    // Twips added to the y of the card's own text on paper.
    int32_t UserTextPrintOffset = 0;
    // The tint with which card text fields are cleared on screen.
    Rgb FieldBackColour = colour::White;
    // The user's own card (true) or the partner's.
    bool ShowOwnCard = true;
    // An item did not fit on the printed page.
    bool FieldTooFarDown = false;
    // An image export is drawing.
    bool ExportingImage = false;
    // Points taken off card text on paper so that it is no wider than on screen.
    float PrintFontReduction = 0;
    // Pen unit in device pixels: 1 on screen, more on fine printers.
    int LineWidth = 1;
    // Small shifts of the rings of circles on some printers.
    int CircleNudgeX = 0;
    int CircleNudgeY = 0;
    // The shape colour resolved last.
    Rgb ShapeColour = colour::Black;

    bool Printing() const { return PrintMode == 1; }
};

} // namespace cw
