#include "PagePictures.h"

#include "AppContext.h"

namespace cw {

namespace {

// Lends the context another page and scale while it lives.
class LentPage {
public:
    // page is a copy of its own: it may be the open page itself.
    LentPage(AppContext& ctx, CardPage page, double scale)
        : ctx_(ctx), view_(ctx.View), page_(std::move(ctx.Page)),
          drawingBaseText_(ctx.DrawingBaseText), pageOffsetX_(ctx.PageOffsetX) {
        ctx_.Page = std::move(page);
        ctx_.View.ViewScale = float(scale);
        ctx_.View.ZoomSetByUser = true;
        ctx_.PageOffsetX = 0;
        ctx_.SetUpViewScale();
    }
    ~LentPage() {
        ctx_.Page = std::move(page_);
        ctx_.View = view_;
        ctx_.DrawingBaseText = drawingBaseText_;
        ctx_.PageOffsetX = pageOffsetX_;
    }
    LentPage(const LentPage&) = delete;
    LentPage& operator=(const LentPage&) = delete;

private:
    AppContext& ctx_;
    ViewState view_;
    CardPage page_;
    bool drawingBaseText_;
    int32_t pageOffsetX_;
};

} // namespace

PagePictures::PagePictures(AppContext& ctx)
    : ctx_(ctx), view_(ctx, canvas_), renderer_(ctx, view_) {}

PagePictures::~PagePictures() = default;

QImage PagePictures::Draw(const CardPage& page, double scale) {
    LentPage lent(ctx_, page, scale);
    renderer_.State.PrintMode = 0;
    renderer_.SelectSurface(canvas_.Surface());
    renderer_.RenderCard();
    return canvas_.Picture().copy();
}

} // namespace cw
