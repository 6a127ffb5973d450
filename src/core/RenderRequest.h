#pragma once

#include "CardPage.h"
#include "FormatProfile.h"

#include <cstdint>

namespace cw {

// Where a drawing goes: what the screen shows differs from paper and exported pictures
// (tinted fields, the lines over text bars, the field lifted by the layout editor).
enum class RenderTarget { Screen, Paper, Picture };

// How card twips map onto the device.
struct PageMapping {
    // The zoom of the screen picture (1 on paper).
    float viewScale = 1;
    int twipsPerPixel = 15;
    // Twips the page is moved right: its left margin on paper.
    int32_t pageOffsetX = 0;
};

struct DrawingOptions {
    RenderTarget target = RenderTarget::Screen;
    // "Print Black only".
    bool blackOnly = false;
    // The user's own card (true) or the partner's copy, names swapped.
    bool ownCard = true;
    // Twips added to the y of the card's own text on paper.
    int32_t userTextPrintOffset = 0;
};

// Everything one drawing of a card page needs, as values: the renderer draws this and looks
// at nothing else. The page outlives the drawing.
struct RenderRequest {
    const CardPage* page = nullptr;
    // Its defaults hold the side's font block for card fields in force.
    FormatProfile profile;
    BaseLayer baseLayer;
    bool backSide = false;
    PageMapping mapping;
    DrawingOptions options;

    bool Printing() const { return options.target == RenderTarget::Paper; }
};

} // namespace cw
