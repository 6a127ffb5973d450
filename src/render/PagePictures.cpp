#include "PagePictures.h"

#include "ViewState.h"

namespace cw {

PagePictures::PagePictures(ErrorTrap& errors) : renderer_(errors) {}

PagePictures::~PagePictures() = default;

QImage PagePictures::Draw(RenderRequest request, double scale) {
    request.mapping.viewScale = float(scale);
    request.mapping.pageOffsetX = 0;
    request.options.target = RenderTarget::Screen;
    const ViewState view = ViewState::AtScale(float(scale), request.profile.defaults.NaturalWidth,
                                              request.profile.defaults.NaturalHeight);
    canvas_.Fit(view, request.mapping.twipsPerPixel);
    renderer_.Render(request, canvas_.Surface());
    return canvas_.Picture().copy();
}

} // namespace cw
