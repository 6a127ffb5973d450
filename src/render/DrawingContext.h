#pragma once

#include "CardPage.h"
#include "FormatDefaults.h"
#include "FormatProfile.h"

#include <cstdint>

namespace cw {

// What the text and shape drawers read during one drawing: the renderer fills it from its
// request and switches the font block between the printed base text and the card's fields.
// It belongs to the renderer; nothing outside a drawing sees it change.
struct DrawingContext {
    const CardPage* page = nullptr;
    FormatProfile profile;
    // The font block in force: the side's card fields, or its printed base text.
    FormatDefaults fonts;
    bool backSide = false;
    bool drawingBaseText = false;
    float viewScale = 1;
    int twipsPerPixel = 15;
    int32_t pageOffsetX = 0;

    // Puts the side's font block for the base text (true) or the card's fields in force.
    void UseFontBlock(bool baseText) {
        drawingBaseText = baseText;
        fonts.Apply(backSide, baseText);
    }
};

} // namespace cw
