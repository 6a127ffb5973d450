#pragma once

#include "CardFormatView.h"
#include "CardRenderer.h"
#include "FontBook.h"
#include "PrintLayout.h"

#include <memory>

class QPrinter;

namespace cw {

class AppContext;
class CardPages;
class PainterSurface;

// Prints cards page after page into one document on a printer set up for a layout. Each
// page is drawn by the card renderer as it draws the screen, onto the printer's sheet at
// the layout's scale and margins.
class CardPrinter {
public:
    CardPrinter(AppContext& ctx, QPrinter& printer, const PrintLayout& layout);
    ~CardPrinter();

    CardPrinter(const CardPrinter&) = delete;
    CardPrinter& operator=(const CardPrinter&) = delete;

    // Prints the open card of pages: the user's own card, the partner's, or the one and then
    // the other, each on the layout's sides (front before back). The last page printed stays
    // open.
    void PrintPages(CardPages& pages, PrintCardChoice choice);

    // Ends the document; false (reported to the error trap) when the printer failed.
    bool End();

    int PagesPrinted() const { return pagesPrinted_; }
    // An item lay too far down to be printed on at least one page.
    bool FieldTooFarDown() const { return fieldTooFarDown_; }

private:
    void PrintShownPage(bool ownCard);

    AppContext& ctx_;
    QPrinter& printer_;
    PrintLayout layout_;
    FontBook fonts_;
    NoCardFormatView view_;
    CardRenderer renderer_;
    std::unique_ptr<PainterSurface> surface_;
    int pagesPrinted_ = 0;
    bool fieldTooFarDown_ = false;
};

} // namespace cw
