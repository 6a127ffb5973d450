#pragma once

#include "FontBook.h"
#include "PainterSurface.h"
#include "ViewState.h"

#include <QImage>
#include <QSize>
#include <memory>

namespace cw {

// The picture of the zoomed card that the screen shows (and the headless command saves):
// PWIDTH by PHEIGHT screen twips, drawn through a surface in card twips.
class CardCanvas {
public:
    CardCanvas();

    // Sizes the picture to the view's zoomed card; a new size starts a white picture.
    void Fit(const ViewState& view, int twipsPerPixel);

    static QSize PictureSize(const ViewState& view, int twipsPerPixel);

    QImage& Picture() { return picture_; }
    PainterSurface& Surface() { return *surface_; }
    FontBook& Fonts() { return fonts_; }

private:
    FontBook fonts_;
    QImage picture_;
    std::unique_ptr<PainterSurface> surface_;
};

} // namespace cw
