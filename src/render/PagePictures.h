#pragma once

#include "CardCanvas.h"
#include "CardRenderer.h"
#include "RenderRequest.h"

#include <QImage>

namespace cw {

class ErrorTrap;

// Pictures of pages other than the one the screen shows (an earlier version, a small picture
// for a list), drawn by the card renderer as the screen shows them. The printed base layer
// drawn for the first picture is kept for the next ones of the same size.
class PagePictures {
public:
    explicit PagePictures(ErrorTrap& errors);
    ~PagePictures();

    // The request's page at scale (1: the card at its natural size on this screen).
    QImage Draw(RenderRequest request, double scale);

private:
    CardCanvas canvas_;
    CardRenderer renderer_;
};

} // namespace cw
