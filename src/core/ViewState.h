#pragma once

#include <cstdint>

namespace cw {

// The zoomed view of the card: its scale, the zoom step count and the zoomed size.
struct ViewState {
    float ViewScale = 1.0f;
    float ZoomFactor = 0.0f;
    bool ZoomSetByUser = false;
    // ViewScale times the card's natural width and height, in screen twips.
    float PWIDTH = 0.0f;
    float PHEIGHT = 0.0f;

    // After an error the next card shown falls back to the format's default zoom.
    void ResetZoom() {
        ZoomFactor = 0.0f;
        ZoomSetByUser = false;
    }
};

} // namespace cw
