#include "PagePictures.h"

#include "ViewState.h"

namespace cw {

PagePictures::PagePictures(ErrorTrap& errors) : renderer_(errors) {}

PagePictures::~PagePictures() = default;

QImage PagePictures::Draw(RenderRequest request, double scale) {
    request.mapping.viewScale = float(scale);
    request.mapping.pageOffsetX = 0;
    request.options.target = RenderTarget::Screen;
    ViewState view;
    view.ViewScale = float(scale);
    view.PWIDTH = float(request.profile.defaults.NaturalWidth) * view.ViewScale;
    view.PHEIGHT = float(request.profile.defaults.NaturalHeight) * view.ViewScale;
    canvas_.Fit(view, request.mapping.twipsPerPixel);
    renderer_.Render(request, canvas_.Surface());
    return canvas_.Picture().copy();
}

} // namespace cw
