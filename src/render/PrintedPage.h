#pragma once

#include <cstdint>

namespace cw {

class AppContext;

// How a page of the current format lands on paper with the format's print settings: how much
// of the card (twips) the paper holds, the left margin and the shift of the card's own text.
struct PrintedPage {
    static constexpr double TwipsPerMillimetre = 56.7;
    // Nothing prints in the last twips of the page (the printer's bottom margin).
    static constexpr int32_t BottomReserve = 205;

    double width = 0;
    double height = 0;
    int32_t marginX = 0;     // twips added to every x (the page's left margin)
    int32_t textOffsetY = 0; // twips added to the y of the card's own text

    // The printed page of the front or back side of the current format.
    static PrintedPage ForFormat(const AppContext& ctx, bool backSide);

    // The extent of the page along one side: twice the format's default less the entered
    // value, in millimetres; natural when the format has no print size.
    static double Extent(double defaultMillimetres, double enteredMillimetres, double natural);
};

} // namespace cw
