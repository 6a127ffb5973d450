#pragma once

#include "PrintSettings.h"

#include <QPageLayout>
#include <QSizeF>
#include <cstdint>

class QPrinter;

namespace cw {

class AppContext;
class PrintOptionsModel;

// How a job lays the card on the printer's sheets.
struct PrintLayout {
    PrintSide side = PrintSide::Front;
    bool blackOnly = false;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // Printed size over natural size, across and down.
    double scaleX = 1;
    double scaleY = 1;
    // Left margins of the two pages and the shift of the card's own text (twips).
    int32_t FrontPageLeftMargin = 0;
    int32_t BackPageLeftMargin = 0;
    int32_t UserTextPrintOffset = 0;
    // Both pages side by side on one landscape sheet, the back page on the left where the
    // printed card has it there (the folded American cards).
    bool oneSheet = false;
    bool backPageOnLeft = false;
};

// The printed size over the natural size for a print width or height entered against its
// default (millimetres): default / (2 x default - entered), so that the default entry prints
// the card at its natural size and a larger entry a larger card. 0 when the entry gives no
// size of its own (no default, an entry of 0, or twice the default or more).
double PrintScale(double defaultMillimetres, double enteredMillimetres);

// The paper orientation of the current format for the chosen orientation, and the margins
// (millimetres, 0 for none) that a format forces on A5 paper.
struct PaperRule {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double forcedMargins = 0;
};
PaperRule PaperRuleFor(const AppContext& ctx, bool landscapeChosen, bool paperIsA5);

// The layout of a job with the choices of model on paper of the printer's size.
PrintLayout PrintLayoutFor(const AppContext& ctx, const PrintOptionsModel& model, bool paperIsA5);

bool PaperIsA5(const QPrinter& printer);

// The sheet a one-sheet print of the current format goes on, upright, in millimetres: the
// standard paper that holds its two pages side by side, or A4 or Letter (the paper the
// format's own size is measured in) when that would be larger.
QSizeF OneSheetPaperMillimetres(const AppContext& ctx);

// The sheet one page of the current format is printed on, upright, in millimetres: its own
// paper, or Letter for a card of half a Letter sheet; empty when the format gives no size.
QSizeF PrintPaperMillimetres(const AppContext& ctx);

// The format's own paper, upright, in millimetres (from its print width and height); empty
// when the format gives no print size.
QSizeF FormatPaperMillimetres(const AppContext& ctx);

// Offers the paper the format prints on before the user chooses (the print dialog shows it;
// the user may pick another), or the sheet for both pages side by side.
void OfferFormatPaper(const AppContext& ctx, QPrinter& printer, bool oneSheet = false);

// Sets printer up for layout: paper orientation and, on printers that have it, printing on
// both sides. False when the printer refuses the orientation (reported to the error trap).
bool PreparePrinter(AppContext& ctx, QPrinter& printer, const PrintLayout& layout);

} // namespace cw
