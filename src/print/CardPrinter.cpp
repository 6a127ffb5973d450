#include "CardPrinter.h"

#include "AppContext.h"
#include "CardPages.h"
#include "ErrorTrap.h"
#include "PainterSurface.h"
#include "PrintLocations.h"
#include "RuntimeError.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace cw {

namespace {

// The resolution the ink of a page is found at: fine enough to place it to a third of a
// millimetre, coarse enough to cost little beside the printing itself.
constexpr double kInkDpi = 72;

// The smallest rectangle of picture that holds all that is not white.
QRect InkBounds(const QImage& picture) {
    int left = picture.width(), right = -1, top = picture.height(), bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

CardPrinter::CardPrinter(AppContext& ctx, QPrinter& printer, const PrintLayout& layout)
    : ctx_(ctx), printer_(printer), layout_(layout), renderer_(ctx.errorTrap) {
    dpi_ = printer.resolution() > 0 ? printer.resolution() : 600;
    const QPageLayout page = printer.pageLayout();
    sheet_ = page.fullRectPixels(dpi_).size();
    printable_ = page.paintRectPixels(dpi_);
    // One card twip is the layout's scale of a twip on paper.
    const double pixelsPerTwip = dpi_ / 1440.0;
    const QSizeF extent(printable_.width() / (pixelsPerTwip * layout.scaleX),
                        printable_.height() / (pixelsPerTwip * layout.scaleY));
    surface_ = std::make_unique<PainterSurface>(
        printer, DeviceMapping::Paper(dpi_, dpi_, printable_.size(), extent), fonts_);
    renderer_.SetBaseLayerCacheEnabled(false);
}

CardPrinter::~CardPrinter() = default;

std::vector<std::vector<bool>> CardPrinter::SheetSides() const {
    switch (layout_.side) {
    case PrintSide::Front:
        return {{false}};
    case PrintSide::Back:
        return {{true}};
    case PrintSide::Both:
        break;
    }
    if (!layout_.oneSheet)
        return {{false}, {true}};
    if (layout_.backPageOnLeft)
        return {{true, false}};
    return {{false, true}};
}

RenderRequest CardPrinter::ShownPageRequest(bool ownCard) {
    RenderRequest request = ctx_.RequestForOpenPage(RenderTarget::Paper);
    // The page's own margin comes from where the sheet puts it.
    request.mapping.pageOffsetX = 0;
    request.options.ownCard = ownCard;
    request.options.blackOnly = layout_.blackOnly;
    request.options.userTextPrintOffset = layout_.UserTextPrintOffset;
    return request;
}

PlacedPage CardPrinter::MeasureShownPage(bool ownCard) {
    PlacedPage page;
    const double twipsToPixels = dpi_ / 1440.0;
    page.size = QSizeF(ctx_.Format.Defaults().NaturalWidth * layout_.scaleX * twipsToPixels,
                       ctx_.Format.Defaults().NaturalHeight * layout_.scaleY * twipsToPixels);
    const double margin =
        ctx_.Card.BackSide() ? layout_.BackPageLeftMargin : layout_.FrontPageLeftMargin;
    page.leftMargin = margin * layout_.scaleX * twipsToPixels;

    // The page drawn as it prints, small, with room around it for ink beyond its edges.
    const double shrink = kInkDpi / dpi_;
    const QSize room(int(std::ceil(page.size.width() * shrink)),
                     int(std::ceil(page.size.height() * shrink)));
    const QPoint border(room.width() / 4 + 1, room.height() / 4 + 1);
    QImage picture(room + QSize(2 * border.x(), 2 * border.y()), QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QSizeF extent(picture.width() / (kInkDpi / 1440.0 * layout_.scaleX),
                        picture.height() / (kInkDpi / 1440.0 * layout_.scaleY));
    DeviceMapping mapping = DeviceMapping::Paper(kInkDpi, kInkDpi, picture.size(), extent);
    mapping.originX = border.x();
    mapping.originY = border.y();
    {
        PainterSurface small(picture, mapping, fonts_);
        small.SetBlackOnly(layout_.blackOnly);
        renderer_.Render(ShownPageRequest(ownCard), small);
        small.End();
    }
    const QRect ink = InkBounds(picture);
    if (!ink.isEmpty())
        page.ink = QRectF((ink.left() - border.x()) / shrink, (ink.top() - border.y()) / shrink,
                          (ink.width() + 1) / shrink, (ink.height() + 1) / shrink);
    return page;
}

std::vector<bool> CardPrinter::Cards(PrintCardChoice choice) {
    // true: the user's own card
    if (choice == PrintCardChoice::Both)
        return {true, false};
    return {choice == PrintCardChoice::Mine};
}

PlannedSheet CardPrinter::PlanSheet(CardPages& pages, bool ownCard,
                                    const std::vector<bool>& sides) {
    PlannedSheet sheet;
    sheet.ownCard = ownCard;
    std::vector<PlacedPage> placed;
    for (bool back : sides) {
        if (!pages.ShowPage(back))
            continue;
        ctx_.errorTrap.Guard(loc::PrintPage, [&] { placed.push_back(MeasureShownPage(ownCard)); });
        if (placed.size() > sheet.backPages.size())
            sheet.backPages.push_back(back);
    }
    if (!placed.empty())
        sheet.placement =
            PlacePages(sheet_, printable_, kSafeMarginMm / 25.4 * dpi_, placed, layout_.oneSheet);
    return sheet;
}

std::vector<PlannedSheet> CardPrinter::PlanSheets(CardPages& pages, PrintCardChoice choice) {
    std::vector<PlannedSheet> sheets;
    for (bool own : Cards(choice))
        for (const std::vector<bool>& sides : SheetSides())
            if (PlannedSheet sheet = PlanSheet(pages, own, sides); !sheet.backPages.empty())
                sheets.push_back(std::move(sheet));
    return sheets;
}

void CardPrinter::DrawShownPage(bool ownCard, QPointF origin, double fit) {
    DeviceMapping mapping = surface_->Mapping();
    const double pixelsPerTwip = dpi_ / 1440.0;
    mapping.pixelsPerTwipX = pixelsPerTwip * layout_.scaleX * fit;
    mapping.pixelsPerTwipY = pixelsPerTwip * layout_.scaleY * fit;
    mapping.fontPixelsPerPoint = dpi_ / 72.0 * fit;
    // On whole device pixels, so that the page's lines fall as they do at the sheet's corner.
    mapping.originX = std::round(origin.x());
    mapping.originY = std::round(origin.y());
    // What lies below the printable area's foot is not printed.
    mapping.pageHeight = (printable_.height() - mapping.originY) / mapping.pixelsPerTwipY;
    surface_->SetMapping(mapping);
    surface_->SetBlackOnly(layout_.blackOnly);
    renderer_.Render(ShownPageRequest(ownCard), *surface_);
    fieldTooFarDown_ |= renderer_.State.FieldTooFarDown;
}

void CardPrinter::DrawFoldMark(const PlannedSheet& sheet) {
    // A short light line above and below the middle between the two pages, where the
    // sheet is folded, outside the pages' ink.
    const SheetPlacement& where = sheet.placement;
    if (where.origins.size() != 2)
        return;
    const double x = where.origins[1].x();
    const double length = 6 / 25.4 * dpi_;
    QPainter& painter = surface_->Painter();
    painter.save();
    painter.setPen(QPen(QColor(170, 170, 170), dpi_ / 300.0, Qt::DashLine));
    const double top = -printable_.top() + kSafeMarginMm / 25.4 * dpi_;
    const double bottom = sheet_.height() - printable_.top() - kSafeMarginMm / 25.4 * dpi_;
    painter.drawLine(QPointF(x, top), QPointF(x, top + length));
    painter.drawLine(QPointF(x, bottom - length), QPointF(x, bottom));
    painter.restore();
}

void CardPrinter::PrintSheet(CardPages& pages, const PlannedSheet& sheet) {
    if (sheet.backPages.empty())
        return;
    ctx_.errorTrap.Guard(loc::PrintPage, [&] {
        if (sheetsPrinted_ > 0)
            surface_->NewPage();
        // Last planned first: that page is still open, so it is not read again.
        for (size_t i = sheet.backPages.size(); i-- > 0;) {
            if (!pages.ShowPage(sheet.backPages[i]))
                throw RuntimeError(RuntimeError::FileNotFound,
                                   "A page of the card cannot be read any more.");
            DrawShownPage(sheet.ownCard, sheet.placement.origins[i], sheet.placement.fit);
        }
        if (layout_.oneSheet && !layout_.blackOnly)
            DrawFoldMark(sheet);
        ++sheetsPrinted_;
        WidenCut(cutSoFar_, sheet.placement);
    });
}

void CardPrinter::PrintSheets(CardPages& pages, const std::vector<PlannedSheet>& sheets) {
    for (const PlannedSheet& sheet : sheets)
        PrintSheet(pages, sheet);
}

void CardPrinter::PrintPages(CardPages& pages, PrintCardChoice choice) {
    // Each sheet printed as soon as it is planned, while its pages are at hand.
    for (bool own : Cards(choice))
        for (const std::vector<bool>& sides : SheetSides())
            PrintSheet(pages, PlanSheet(pages, own, sides));
}

void CardPrinter::WidenCut(SheetPlacement& worst, const SheetPlacement& placement) {
    worst.cutLeft = std::max(worst.cutLeft, placement.cutLeft);
    worst.cutTop = std::max(worst.cutTop, placement.cutTop);
    worst.cutRight = std::max(worst.cutRight, placement.cutRight);
    worst.cutBottom = std::max(worst.cutBottom, placement.cutBottom);
}

std::optional<std::string> CardPrinter::InkCut(const std::vector<PlannedSheet>& sheets) const {
    SheetPlacement worst;
    for (const PlannedSheet& sheet : sheets)
        WidenCut(worst, sheet.placement);
    return DescribeCut(worst);
}

std::optional<std::string> CardPrinter::InkCutSoFar() const {
    return DescribeCut(cutSoFar_);
}

std::optional<std::string> CardPrinter::DescribeCut(const SheetPlacement& cut) const {
    std::string text;
    const auto name = [&](double pixels, const char* side) {
        const double mm = pixels / dpi_ * 25.4;
        if (mm < 0.5)
            return;
        text += (text.empty() ? "" : ", ") + std::to_string(int(std::lround(mm))) + " mm at the " +
                side;
    };
    name(cut.cutLeft, "left");
    name(cut.cutTop, "top");
    name(cut.cutRight, "right");
    name(cut.cutBottom, "bottom");
    if (text.empty())
        return std::nullopt;
    return text;
}

bool CardPrinter::End() {
    surface_->End();
    if (printer_.printerState() == QPrinter::Error ||
        printer_.printerState() == QPrinter::Aborted) {
        ctx_.errorTrap.Trap(loc::PrintCard, "The printer could not finish the document.",
                            {sheetsPrinted_});
        return false;
    }
    return true;
}

} // namespace cw
