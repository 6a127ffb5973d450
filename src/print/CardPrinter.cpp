#include "CardPrinter.h"

#include "AppContext.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "PainterSurface.h"
#include "PrintLocations.h"

#include <QPrinter>

namespace cw {

CardPrinter::CardPrinter(AppContext& ctx, QPrinter& printer, const PrintLayout& layout)
    : ctx_(ctx), printer_(printer), layout_(layout), renderer_(ctx, view_) {
    // What the printer can reach of the sheet stands for this much of the card, so that one
    // card twip is the layout's scale of a twip on paper.
    const int dpi = printer.resolution() > 0 ? printer.resolution() : 600;
    const QRectF sheet = printer.pageLayout().paintRectPixels(dpi);
    const double pixelsPerTwip = dpi / 1440.0;
    const QSizeF extent(sheet.width() / (pixelsPerTwip * layout.scaleX),
                        sheet.height() / (pixelsPerTwip * layout.scaleY));
    surface_ = std::make_unique<PainterSurface>(
        printer, DeviceMapping::Paper(dpi, dpi, sheet.size(), extent), fonts_);
    renderer_.SetBaseLayerCacheEnabled(false);
}

CardPrinter::~CardPrinter() = default;

void CardPrinter::PrintPages(CardPages& pages, PrintCardChoice choice) {
    std::vector<bool> cards; // true: the user's own card
    if (choice == PrintCardChoice::Both)
        cards = {true, false};
    else
        cards = {choice == PrintCardChoice::Mine};
    std::vector<bool> sides; // true: the back page
    switch (layout_.side) {
    case PrintSide::Front:
        sides = {false};
        break;
    case PrintSide::Back:
        sides = {true};
        break;
    case PrintSide::Both:
        sides = {false, true};
        break;
    }
    for (bool own : cards)
        for (bool back : sides) {
            if (!pages.ShowPage(back))
                continue;
            PrintShownPage(own);
        }
}

void CardPrinter::PrintShownPage(bool ownCard) {
    ctx_.errorTrap.Guard(loc::PrintPage, [&] {
        if (pagesPrinted_ > 0)
            surface_->NewPage();
        ctx_.PageOffsetX =
            ctx_.BackSideSelected ? layout_.BackPageLeftMargin : layout_.FrontPageLeftMargin;
        RenderState& state = renderer_.State;
        state.PrintMode = 1;
        state.ShowOwnCard = ownCard;
        state.PrintBlackWhite = layout_.blackOnly;
        surface_->SetBlackOnly(layout_.blackOnly);
        state.UserTextPrintOffset = layout_.UserTextPrintOffset;
        state.ExportingImage = false;
        state.FieldTooFarDown = false;
        renderer_.SelectSurface(*surface_);
        renderer_.RenderCard();
        fieldTooFarDown_ |= state.FieldTooFarDown;
        ++pagesPrinted_;
    });
}

bool CardPrinter::End() {
    surface_->End();
    if (printer_.printerState() == QPrinter::Error ||
        printer_.printerState() == QPrinter::Aborted) {
        ctx_.errorTrap.Trap(loc::PrintCard, "The printer could not finish the document.",
                            {pagesPrinted_});
        return false;
    }
    return true;
}

} // namespace cw
