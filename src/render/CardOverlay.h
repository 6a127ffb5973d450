#pragma once

#include "FontBook.h"
#include "PainterSurface.h"

#include <QImage>
#include <QRect>
#include <memory>

namespace cw {

// The editor's marks over the card picture: a red corner on each field whose text is cut
// off, coloured outlines around the fields that differ from a partner's card. They are drawn
// after the card on a transparent picture of their own, shown over the card's picture, so that
// they never reach paper, an export or the card's own picture.
class CardOverlay {
public:
    CardOverlay();

    // Starts again on a clear picture of the card picture's size, at the view's scale.
    void Begin(QSize pictureSize, double viewScale, int twipsPerPixel);
    // A small red triangle in the top right corner of a field (card twips).
    void MarkCutOffText(const QRect& field);
    // An outline around a field; the chosen one stands out.
    void OutlineField(const QRect& field, bool chosen);
    // The marks are complete: the picture may be shown.
    void End();

    const QImage& Picture() const { return picture_; }

    static constexpr int MarkPixels = 8;

private:
    double Pixel() const { return twipsPerPixel_ / viewScale_; }

    FontBook fonts_;
    QImage picture_;
    std::unique_ptr<PainterSurface> surface_;
    double viewScale_ = 1;
    int twipsPerPixel_ = 15;
};

} // namespace cw
