#include "TextPageCanvas.h"

#include "PainterSurface.h"

#include <cmath>

namespace cw {

namespace {

constexpr Rgb kHighlight = MakeRgb(255, 236, 140);

} // namespace

TextPageCanvas::TextPageCanvas(ErrorTrap& errors, const FormatProfile& profile, int twipsPerPixel)
    : twipsPerPixel_(twipsPerPixel), drawing_{nullptr, profile, profile.defaults},
      drawer_(errors, drawing_, state_), picture_(1, 1, QImage::Format_RGB32) {
    drawing_.twipsPerPixel = twipsPerPixel;
}

int TextPageCanvas::LineHeightPixels(const TextLineStyle& style) {
    PainterSurface surface(picture_, DeviceMapping::Screen(1.0, twipsPerPixel_), fonts_);
    TextLineWriter writer(drawer_, surface, style);
    return int(std::ceil(writer.LineHeight() / twipsPerPixel_));
}

int TextPageCanvas::WidthPixels(const QStringList& lines, const TextLineStyle& style) {
    PainterSurface surface(picture_, DeviceMapping::Screen(1.0, twipsPerPixel_), fonts_);
    TextLineWriter writer(drawer_, surface, style);
    double widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, surface.TextWidth(TextLineWriter::ExpandTabs(line)));
    return int(std::ceil(widest / twipsPerPixel_)) + 2 * MarginPixels;
}

const QImage& TextPageCanvas::Draw(const QStringList& lines, const TextLineStyle& style, QSize size,
                                   int highlight) {
    if (picture_.size() != size)
        picture_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture_.fill(Qt::white);
    DeviceMapping mapping = DeviceMapping::Screen(1.0, twipsPerPixel_);
    mapping.originX = MarginPixels;
    mapping.originY = 2;
    PainterSurface surface(picture_, mapping, fonts_);
    state_.PrintMode = 0;
    TextLineWriter writer(drawer_, surface, style);
    const double lineHeight = writer.LineHeight();
    const double width = double(size.width()) * twipsPerPixel_;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == highlight)
            surface.Line(-MarginPixels * twipsPerPixel_, writer.Y(), width,
                         writer.Y() + lineHeight - twipsPerPixel_, kHighlight, LineMode::BoxFill);
        writer.Write(lines.at(i));
    }
    surface.Finish();
    return picture_;
}

} // namespace cw
