#pragma once

#include "CardCanvas.h"
#include "CardPage.h"
#include "CardRenderer.h"

#include <QImage>
#include <memory>

namespace cw {

class AppContext;

// Pictures of other states of the shown page (an earlier version, a small picture for a
// list), drawn by the card renderer as the screen shows them. The open page and the view are
// as they were afterwards; the printed base layer drawn for the first picture is kept for the
// next ones of the same size.
class PagePictures {
public:
    explicit PagePictures(AppContext& ctx);
    ~PagePictures();

    // page drawn on the shown side at scale (1: the card at its natural size on this screen).
    QImage Draw(const CardPage& page, double scale);

private:
    AppContext& ctx_;
    CardCanvas canvas_;
    CanvasCardView view_;
    CardRenderer renderer_;
};

} // namespace cw
