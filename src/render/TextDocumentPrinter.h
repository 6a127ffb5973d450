#pragma once

#include "DrawingContext.h"
#include "FontBook.h"
#include "PainterSurface.h"
#include "RenderState.h"
#include "TextDrawer.h"
#include "TextLineWriter.h"

#include <memory>

class QPagedPaintDevice;

namespace cw {

class ErrorTrap;

// Prints a plain text on a paged device (a printer, a PDF file) through the line writer:
// the page is the device's printable area at natural size, lines are broken to its width
// and go on to new pages by themselves.
class TextDocumentPrinter {
public:
    // profile gives the code page of the text; twipsPerPixel is the screen's.
    TextDocumentPrinter(ErrorTrap& errors, const FormatProfile& profile, int twipsPerPixel,
                        QPagedPaintDevice& device, const TextLineStyle& style);
    ~TextDocumentPrinter();

    TextLineWriter& Writer() { return *writer_; }
    RenderState& State() { return state_; }
    // Ends the document.
    void Finish();

private:
    DrawingContext drawing_;
    FontBook fonts_;
    RenderState state_;
    TextDrawer drawer_;
    std::unique_ptr<PainterSurface> surface_;
    std::unique_ptr<TextLineWriter> writer_;
};

} // namespace cw
