#include "PrintLayout.h"

#include "AppContext.h"
#include "BasicNumbers.h"
#include "ErrorTrap.h"
#include "PrintLocations.h"
#include "PrintOptionsModel.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace cw {

double PrintScale(double defaultMillimetres, double enteredMillimetres) {
    const double d = std::round(defaultMillimetres), e = std::round(enteredMillimetres);
    if (d <= 0 || e <= 0 || 2 * d - e <= 0)
        return 0;
    return d / (2 * d - e);
}

PaperRule PaperRuleFor(const AppContext& ctx, bool landscapeChosen, bool paperIsA5) {
    const FormatTraits traits = ctx.Format.Traits();
    PaperRule rule;
    using O = QPageLayout::Orientation;
    switch (traits.paperTurn) {
    case PaperTurn::Chosen:
        rule.orientation = landscapeChosen ? O::Landscape : O::Portrait;
        break;
    case PaperTurn::SidewaysOnA5:
        // These cards print their halves on A5 turned sideways.
        rule.orientation = paperIsA5 ? O::Landscape : O::Portrait;
        break;
    case PaperTurn::UprightOnA5:
        rule.orientation = paperIsA5 ? O::Portrait : O::Landscape;
        break;
    case PaperTurn::ByCatalogue:
        rule.orientation = ctx.Format.Number(ColOrientation) == 2 ? O::Portrait : O::Landscape;
        break;
    }
    if (paperIsA5)
        rule.forcedMargins = traits.marginsOnA5;
    return rule;
}

PrintLayout PrintLayoutFor(const AppContext& ctx, const PrintOptionsModel& model, bool paperIsA5) {
    const PrintChoices& c = model.Choices();
    PrintLayout layout;
    layout.side = model.HasBackPage() ? c.side : PrintSide::Front;
    layout.blackOnly = c.blackOnly;
    PaperRule rule = PaperRuleFor(ctx, c.landscape, paperIsA5);
    layout.orientation = rule.orientation;
    layout.oneSheet = layout.side == PrintSide::Both && c.oneSheet;
    if (layout.oneSheet) {
        layout.orientation = QPageLayout::Landscape;
        layout.backPageOnLeft = ctx.Format.Traits().backPageLeftOnOneSheet;
    }

    // The scale does not depend on the sheet: a card keeps its size and proportions on
    // paper other than its own (a Letter card on A4, a half card on A5), where stretching it
    // to the sheet would distort it. An axis without a size of its own follows the other.
    double sx = PrintScale(model.DefaultValue(BoxPrintWidth), c.boxes[BoxPrintWidth]);
    double sy = PrintScale(model.DefaultValue(BoxPrintHeight), c.boxes[BoxPrintHeight]);
    if (sx <= 0)
        sx = sy > 0 ? sy : 1;
    if (sy <= 0)
        sy = sx;
    layout.scaleX = sx;
    layout.scaleY = sy;

    double front = std::round(c.boxes[BoxFrontMargin]);
    double back = std::round(c.boxes[BoxBackMargin]);
    if (rule.forcedMargins > 0)
        front = back = rule.forcedMargins;
    layout.FrontPageLeftMargin = ToInt16(front * kTwipsPerMillimetre);
    layout.BackPageLeftMargin = ToInt16(back * kTwipsPerMillimetre);
    layout.UserTextPrintOffset = ToInt32(std::round(c.boxes[BoxTextAlign]) * ctx.TwipsPerPixel);
    return layout;
}

bool PaperIsA5(const QPrinter& printer) {
    return printer.pageLayout().pageSize().id() == QPageSize::A5;
}

namespace {

// The format's page is measured in inches (the American cards), not millimetres.
bool MeasuredInInches(const QSizeF& page) {
    const double quarterInches = page.width() / 25.4 * 4;
    return std::abs(quarterInches - std::round(quarterInches)) < 0.05;
}

// The paper most printers hold, of the family the format's page is measured in, upright.
QSizeF EverydayPaper(const QSizeF& page) {
    return QPageSize(MeasuredInInches(page) ? QPageSize::Letter : QPageSize::A4)
        .size(QPageSize::Millimeter);
}

} // namespace

QSizeF OneSheetPaperMillimetres(const AppContext& ctx) {
    const QSizeF page = FormatPaperMillimetres(ctx);
    if (page.isEmpty())
        return QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    // The pages upright, side by side, on a sheet turned sideways.
    const QSizeF pair(std::min(page.height(), 2 * page.width()),
                      std::max(page.height(), 2 * page.width()));
    const QSizeF fits = QPageSize(pair, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch)
                            .size(QPageSize::Millimeter);
    const QSizeF usual = EverydayPaper(page);
    return fits.width() * fits.height() <= usual.width() * usual.height() * 1.01 ? fits : usual;
}

QSizeF PrintPaperMillimetres(const AppContext& ctx) {
    const QSizeF page = FormatPaperMillimetres(ctx);
    // A card of half a Letter sheet is printed on a Letter sheet, where it has room around it.
    const QSizeF letter = QPageSize(QPageSize::Letter).size(QPageSize::Millimeter);
    if (std::abs(page.width() - letter.height() / 2) < 1 &&
        std::abs(page.height() - letter.width()) < 1)
        return letter;
    return page;
}

QSizeF FormatPaperMillimetres(const AppContext& ctx) {
    const double width = ctx.Format.Number(ColPrintWidth);
    const double height = ctx.Format.Number(ColPrintHeight);
    if (width <= 0 || height <= 0)
        return {};
    return QSizeF(std::min(width, height), std::max(width, height));
}

void OfferFormatPaper(const AppContext& ctx, QPrinter& printer, bool oneSheet) {
    if (oneSheet) {
        printer.setPageSize(QPageSize(OneSheetPaperMillimetres(ctx), QPageSize::Millimeter,
                                      QString(), QPageSize::FuzzyMatch));
        printer.setPageOrientation(QPageLayout::Landscape);
        return;
    }
    const QSizeF paper = PrintPaperMillimetres(ctx);
    if (paper.isEmpty())
        return;
    printer.setPageSize(QPageSize(paper, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    const bool portrait = ctx.Format.Number(ColOrientation) == 2;
    printer.setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
}

bool PreparePrinter(AppContext& ctx, QPrinter& printer, const PrintLayout& layout) {
    // The card starts at the corner of what the printer can reach, so that nothing of it is
    // lost in the printer's own margins; a PDF file has none.
    printer.setFullPage(false);
    if (printer.outputFormat() == QPrinter::PdfFormat)
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!printer.setPageOrientation(layout.orientation)) {
        ctx.errorTrap.Trap(loc::PrintCard, "The printer does not accept the paper orientation.",
                           {int(layout.orientation)});
        return false;
    }
    // Both sides on one sheet where the printer can: bound on the long edge for upright
    // pages, on the short edge for pages printed sideways.
    QPrinter::DuplexMode wanted = QPrinter::DuplexNone;
    if (layout.side == PrintSide::Both)
        wanted = layout.orientation == QPageLayout::Landscape ? QPrinter::DuplexShortSide
                                                              : QPrinter::DuplexLongSide;
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        const QPrinterInfo info(printer);
        if (!info.isNull() && info.supportedDuplexModes().contains(wanted)) {
            const QPrinter::DuplexMode previous = printer.duplex();
            printer.setDuplex(wanted);
            if (printer.duplex() != wanted)
                printer.setDuplex(previous);
        }
    }
    return true;
}

} // namespace cw
