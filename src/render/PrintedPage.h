#pragma once

#include <cstdint>

namespace cw {

// How a page of the card lands on paper: how much of the card (twips) the sheet holds, the
// page's left margin and the shift of the card's own text. Empty (no size) when unknown.
struct PrintedPage {
    // Nothing prints in the last twips of the page (the printer's bottom margin).
    static constexpr int32_t BottomReserve = 205;

    double width = 0;
    double height = 0;
    int32_t marginX = 0;     // twips added to every x (the page's left margin)
    int32_t textOffsetY = 0; // twips added to the y of the card's own text

    bool HasSize() const { return width > 0 && height > 0; }
};

} // namespace cw
