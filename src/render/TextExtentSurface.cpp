#include "TextExtentSurface.h"

#include <algorithm>

namespace cw {

namespace {

// The screen's mapping at referenceScale, with font pixels scaled back from the view's scale
// the text drawer multiplies point sizes by.
DeviceMapping ReferenceMapping(double referenceScale, double viewScale) {
    if (referenceScale <= 0)
        referenceScale = 1;
    if (viewScale <= 0)
        viewScale = 1;
    DeviceMapping mapping = DeviceMapping::Screen(referenceScale, 15);
    mapping.fontPixelsPerPoint *= referenceScale / viewScale;
    return mapping;
}

} // namespace

TextExtentSurface::TextExtentSurface(FontBook& fonts, double referenceScale, double viewScale)
    : PainterSurface(device, ReferenceMapping(referenceScale, viewScale), fonts) {}

void TextExtentSurface::Forget() {
    extent_ = QRectF();
    lastTop_ = 0;
    pieces_ = 0;
}

void TextExtentSurface::DrawText(const QString& text, double x, double y) {
    const double right = x + TextWidthIn(State(), text);
    const double bottom = y + TextHeightIn(State(), text);
    if (pieces_ == 0) {
        extent_ = QRectF(QPointF(x, y), QPointF(right, bottom));
        lastTop_ = y;
    } else {
        extent_ =
            QRectF(QPointF(std::min(extent_.left(), x), std::min(extent_.top(), y)),
                   QPointF(std::max(extent_.right(), right), std::max(extent_.bottom(), bottom)));
        lastTop_ = std::max(lastTop_, y);
    }
    ++pieces_;
}

} // namespace cw
