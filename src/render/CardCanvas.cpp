#include "CardCanvas.h"

#include <cmath>

namespace cw {

CardCanvas::CardCanvas() : picture_(1, 1, QImage::Format_RGB32) {
    picture_.fill(Qt::white);
    surface_ = std::make_unique<PainterSurface>(picture_, DeviceMapping::Screen(1.0, 15), fonts_);
}

QSize CardCanvas::PictureSize(const ViewState& view, int twipsPerPixel) {
    double p = twipsPerPixel > 0 ? twipsPerPixel : 15;
    int width = int(std::lround(view.ZoomedWidth() / p));
    int height = int(std::lround(view.ZoomedHeight() / p));
    return QSize(std::max(width, 1), std::max(height, 1));
}

void CardCanvas::Fit(const ViewState& view, int twipsPerPixel) {
    QSize size = PictureSize(view, twipsPerPixel);
    if (size != picture_.size()) {
        // The surface paints on the picture; it lets go of it before the picture changes.
        surface_->End();
        picture_ = QImage(size, QImage::Format_RGB32);
        picture_.fill(Qt::white);
    }
    surface_->FollowView(view.ViewScale(), twipsPerPixel);
}

} // namespace cw
