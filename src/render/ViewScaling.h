#pragma once

#include "ViewState.h"

#include <QSize>
#include <cstdint>

class QPainter;

namespace cw {

class Prompter;

// One scroll bar's range and steps (twips).
struct ScrollBarSettings {
    int32_t Max = 0;
    int32_t SmallChange = 200;
    int32_t LargeChange = 0;
};

struct ScrollBars {
    ScrollBarSettings Horizontal;
    ScrollBarSettings Vertical;
};

// The scroll bars of the zoomed card in a window whose inner size is given in twips.
ScrollBars ScrollBarsFor(const ViewState& view, double innerWidth, double innerHeight);

// Zooming in steps of 0.2 of scale.
class ZoomControl {
public:
    static constexpr float Step = 0.2f;
    // Zooming in stops once the scale has reached this.
    static constexpr float Limit = 2.5f;
    // Zooming out stops here: below it a card is no longer readable.
    static constexpr float Lowest = 0.4f;
    // The largest range the scroll bars accept.
    static constexpr double ScrollLimit = 32000;

    enum class Outcome {
        Zoomed,   // the scale changed: redraw
        AtLimit,  // "Can not zoom in any farther."
        TooLarge, // the scroll range would overflow: undone with a beep
        AtLowest, // zooming out refused with a beep
    };

    // One step in or out of the card of natural size in a window of inner size (twips).
    static Outcome Zoom(ViewState& view, bool in, double naturalWidth, double naturalHeight,
                        double innerWidth, double innerHeight, Prompter& prompter);
};

// The part of the card (card twips) that the window shows, with a margin of 20 pixels.
struct VisibleCardArea {
    int32_t VisibleWidth = 0;
    int32_t VisibleHeight = 0;
    int32_t VisibleLeft = 0;
    int32_t VisibleRight = 0;
    int32_t VisibleTop = 0;
    int32_t VisibleBottom = 0;
};

// screenWidth in twips; client the size of the card's window in pixels; pictureLeft and
// pictureTop the picture's position in that window (screen twips, zero or negative).
VisibleCardArea VisibleAreaFor(double viewScale, int twipsPerPixel, int32_t screenWidth,
                               QSize client, double pictureLeft, double pictureTop);

// The picture's position for the scroll bars' values; the horizontal one adds the format's
// offset (catalogue column 19) and, at the far right, its extra right offset (column 20).
double PictureLeftFor(int32_t value, int32_t max, double horizontalOffset, double rightOffset);
double PictureTopFor(int32_t value);

// The colour gradient behind several windows: scheme 0 blue to black, 1 cyan to blue,
// 2 blue to violet, in 256 bands from top to bottom.
void PaintGradient(QPainter& painter, QSize size, int scheme);

} // namespace cw
