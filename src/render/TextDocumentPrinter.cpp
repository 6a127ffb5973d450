#include "TextDocumentPrinter.h"

#include <QPagedPaintDevice>

namespace cw {

TextDocumentPrinter::TextDocumentPrinter(ErrorTrap& errors, const FormatProfile& profile,
                                         int twipsPerPixel, QPagedPaintDevice& device,
                                         const TextLineStyle& style)
    : drawing_{nullptr, profile, profile.defaults}, drawer_(errors, drawing_, state_) {
    drawing_.twipsPerPixel = twipsPerPixel;
    state_.PrintMode = 1;
    const double dpiX = device.logicalDpiX() > 0 ? device.logicalDpiX() : 72;
    const double dpiY = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    const QSizeF pixels(device.width(), device.height());
    const QSizeF twips(pixels.width() / dpiX * 1440, pixels.height() / dpiY * 1440);
    surface_ = std::make_unique<PainterSurface>(
        device, DeviceMapping::Paper(dpiX, dpiY, pixels, twips), fonts_);
    writer_ = std::make_unique<TextLineWriter>(drawer_, *surface_, style);
    writer_->SetPaper(twips.width(), [this] { surface_->NewPage(); });
}

TextDocumentPrinter::~TextDocumentPrinter() {
    Finish();
}

void TextDocumentPrinter::Finish() {
    if (surface_)
        surface_->End();
}

} // namespace cw
