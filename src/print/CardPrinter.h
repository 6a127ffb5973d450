#pragma once

#include "CardRenderer.h"
#include "FontBook.h"
#include "PrintLayout.h"
#include "SheetPlacement.h"

#include <memory>
#include <optional>
#include <string>

class QPrinter;

namespace cw {

class AppContext;
class CardPages;
class PainterSurface;

// One sheet of a job: whose card, its pages in their order on the sheet (true: the back
// page), and where they go.
struct PlannedSheet {
    bool ownCard = true;
    std::vector<bool> backPages;
    SheetPlacement placement;
};

// Prints cards sheet after sheet into one document on a printer set up for a layout. Each
// page is drawn by the card renderer as it draws the screen, onto the printer's sheet at
// the layout's scale, centred on the sheet with its ink inside what the printer reaches
// (and at least kSafeMarginMm from the edges); with one sheet for both sides, the two pages
// stand side by side, shrunk evenly where they do not fit.
class CardPrinter {
public:
    static constexpr double kSafeMarginMm = 5;

    CardPrinter(AppContext& ctx, QPrinter& printer, const PrintLayout& layout);
    ~CardPrinter();

    CardPrinter(const CardPrinter&) = delete;
    CardPrinter& operator=(const CardPrinter&) = delete;

    // The sheets the open card of pages prints on: the user's own card, the partner's, or
    // the one and then the other, each with the layout's sides (front before back, or side
    // by side). Draws each page once, small, to find its ink.
    std::vector<PlannedSheet> PlanSheets(CardPages& pages, PrintCardChoice choice);
    // Prints the planned sheets. The last page drawn stays open.
    void PrintSheets(CardPages& pages, const std::vector<PlannedSheet>& sheets);
    // Plans and prints sheet after sheet.
    void PrintPages(CardPages& pages, PrintCardChoice choice);

    // What of the planned sheets' ink falls off the paper, in words ("5 mm at the right");
    // nullopt when everything is on it.
    std::optional<std::string> InkCut(const std::vector<PlannedSheet>& sheets) const;
    // InkCut of the sheets printed so far.
    std::optional<std::string> InkCutSoFar() const;

    // Ends the document; false (reported to the error trap) when the printer failed.
    bool End();

    // Sheets printed: the pages of the document.
    int PagesPrinted() const { return sheetsPrinted_; }
    // An item lay too far down to be printed on at least one page.
    bool FieldTooFarDown() const { return fieldTooFarDown_; }

private:
    static std::vector<bool> Cards(PrintCardChoice choice);
    std::vector<std::vector<bool>> SheetSides() const;
    PlannedSheet PlanSheet(CardPages& pages, bool ownCard, const std::vector<bool>& sides);
    void PrintSheet(CardPages& pages, const PlannedSheet& sheet);
    static void WidenCut(SheetPlacement& worst, const SheetPlacement& placement);
    std::optional<std::string> DescribeCut(const SheetPlacement& cut) const;
    PlacedPage MeasureShownPage(bool ownCard);
    // The open page as it prints, for the user's own card or the partner's.
    RenderRequest ShownPageRequest(bool ownCard);
    void DrawShownPage(bool ownCard, QPointF origin, double fit);
    void DrawFoldMark(const PlannedSheet& sheet);

    AppContext& ctx_;
    QPrinter& printer_;
    PrintLayout layout_;
    FontBook fonts_;
    CardRenderer renderer_;
    std::unique_ptr<PainterSurface> surface_;
    int dpi_ = 600;
    QSizeF sheet_;
    QRectF printable_;
    int sheetsPrinted_ = 0;
    SheetPlacement cutSoFar_; // the most ink cut on each side of the sheets printed
    bool fieldTooFarDown_ = false;
};

} // namespace cw
