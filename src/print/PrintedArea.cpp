#include "PrintedArea.h"

#include "AppContext.h"
#include "PrintLayout.h"
#include "PrintOptionsModel.h"

namespace cw {

PrintedPage PrintedPageOf(AppContext& ctx, bool backSide) {
    PrintedPage page;
    if (!ctx.HasFormat())
        return page;
    QSizeF paper = FormatPaperMillimetres(ctx);
    if (paper.isEmpty())
        return page;
    PrintOptionsModel model(ctx);
    // A page printed beside the other on one sheet is the same page as printed alone.
    model.Choices().oneSheet = false;
    const PrintLayout layout = PrintLayoutFor(ctx, model, false);
    if (layout.orientation == QPageLayout::Landscape)
        paper.transpose();
    page.width = paper.width() * kTwipsPerMillimetre / layout.scaleX;
    page.height = paper.height() * kTwipsPerMillimetre / layout.scaleY;
    page.marginX = backSide ? layout.BackPageLeftMargin : layout.FrontPageLeftMargin;
    page.textOffsetY = layout.UserTextPrintOffset;
    return page;
}

} // namespace cw
