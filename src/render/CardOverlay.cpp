#include "CardOverlay.h"

namespace cw {

namespace {

constexpr Rgb kMarkColour = MakeRgb(230, 0, 0);
constexpr Rgb kOutlineColour = MakeRgb(255, 128, 0);
constexpr Rgb kChosenColour = MakeRgb(0, 110, 220);

} // namespace

CardOverlay::CardOverlay() : picture_(1, 1, QImage::Format_ARGB32_Premultiplied) {
    picture_.fill(Qt::transparent);
}

void CardOverlay::Begin(QSize pictureSize, double viewScale, int twipsPerPixel) {
    if (surface_)
        surface_->End();
    viewScale_ = viewScale > 0 ? viewScale : 1;
    twipsPerPixel_ = twipsPerPixel > 0 ? twipsPerPixel : 15;
    if (picture_.size() != pictureSize)
        picture_ = QImage(pictureSize.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    picture_.fill(Qt::transparent);
    surface_ = std::make_unique<PainterSurface>(
        picture_, DeviceMapping::Screen(viewScale_, twipsPerPixel_), fonts_);
}

void CardOverlay::MarkCutOffText(const QRect& field) {
    if (!surface_)
        return;
    // Row by row, a right-angled triangle whose right angle sits in the field's corner.
    const double p = Pixel();
    const double right = field.left() + field.width();
    surface_->SetDrawWidth(1);
    for (int row = 0; row < MarkPixels; ++row) {
        const double y = field.top() + row * p;
        surface_->Line(right - (MarkPixels - row) * p, y, right - p, y, kMarkColour);
    }
}

void CardOverlay::OutlineField(const QRect& field, bool chosen) {
    if (!surface_)
        return;
    const double margin = 3 * Pixel();
    surface_->SetDrawWidth(chosen ? 3 : 2);
    surface_->Line(field.left() - margin, field.top() - margin,
                   field.left() + field.width() + margin, field.top() + field.height() + margin,
                   chosen ? kChosenColour : kOutlineColour, LineMode::Box);
}

void CardOverlay::End() {
    if (surface_)
        surface_->End();
}

} // namespace cw
