#include "TextPageCanvas.h"

#include "AppContext.h"
#include "PainterSurface.h"

#include <cmath>

namespace cw {

namespace {

constexpr Rgb kHighlight = MakeRgb(255, 236, 140);

} // namespace

TextPageCanvas::TextPageCanvas(AppContext& context)
    : context_(context), drawer_(context, state_), picture_(1, 1, QImage::Format_RGB32) {}

int TextPageCanvas::LineHeightPixels(const TextLineStyle& style) {
    PainterSurface surface(picture_, DeviceMapping::Screen(1.0, context_.TwipsPerPixel), fonts_);
    TextLineWriter writer(drawer_, surface, style);
    return int(std::ceil(writer.LineHeight() / context_.TwipsPerPixel));
}

int TextPageCanvas::WidthPixels(const QStringList& lines, const TextLineStyle& style) {
    PainterSurface surface(picture_, DeviceMapping::Screen(1.0, context_.TwipsPerPixel), fonts_);
    TextLineWriter writer(drawer_, surface, style);
    double widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, surface.TextWidth(TextLineWriter::ExpandTabs(line)));
    return int(std::ceil(widest / context_.TwipsPerPixel)) + 2 * MarginPixels;
}

const QImage& TextPageCanvas::Draw(const QStringList& lines, const TextLineStyle& style, QSize size,
                                   int highlight) {
    if (picture_.size() != size)
        picture_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture_.fill(Qt::white);
    DeviceMapping mapping = DeviceMapping::Screen(1.0, context_.TwipsPerPixel);
    mapping.originX = MarginPixels;
    mapping.originY = 2;
    PainterSurface surface(picture_, mapping, fonts_);
    state_.PrintMode = 0;
    TextLineWriter writer(drawer_, surface, style);
    const double lineHeight = writer.LineHeight();
    const double width = double(size.width()) * context_.TwipsPerPixel;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == highlight)
            surface.Line(-MarginPixels * context_.TwipsPerPixel, writer.Y(), width,
                         writer.Y() + lineHeight - context_.TwipsPerPixel, kHighlight,
                         LineMode::BoxFill);
        writer.Write(lines.at(i));
    }
    surface.Finish();
    return picture_;
}

} // namespace cw
