#include "PainterSurface.h"

#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainterPath>
#include <cmath>

namespace cw {

DeviceMapping DeviceMapping::Screen(double viewScale, int twipsPerPixel) {
    DeviceMapping mapping;
    double p = twipsPerPixel > 0 ? twipsPerPixel : 15;
    mapping.pixelsPerTwipX = viewScale / p;
    mapping.pixelsPerTwipY = viewScale / p;
    mapping.fontPixelsPerPoint = 20.0 / p;
    mapping.deviceTwipsPerPixel = p;
    mapping.printer = false;
    mapping.raster = true;
    return mapping;
}

DeviceMapping DeviceMapping::Paper(double dpiX, double dpiY, QSizeF pagePixels, QSizeF extent) {
    DeviceMapping mapping;
    mapping.pixelsPerTwipX = extent.width() > 0 ? pagePixels.width() / extent.width() : dpiX / 1440;
    mapping.pixelsPerTwipY =
        extent.height() > 0 ? pagePixels.height() / extent.height() : dpiY / 1440;
    mapping.fontPixelsPerPoint = dpiY / 72.0;
    mapping.deviceTwipsPerPixel = dpiX > 0 ? 1440.0 / dpiX : 15;
    mapping.printer = true;
    mapping.pageHeight = extent.height();
    mapping.raster = false;
    return mapping;
}

PainterSurface::PainterSurface(QPaintDevice& device, const DeviceMapping& mapping, FontBook& fonts)
    : device_(device), image_(dynamic_cast<QImage*>(&device)), mapping_(mapping), fonts_(fonts) {
    dpi_ = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
}

PainterSurface::~PainterSurface() {
    End();
}

QPainter& PainterSurface::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&device_);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        painter_->setRenderHint(QPainter::Antialiasing, !mapping_.raster);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter_->setBrush(Qt::NoBrush);
        painterFace_ = nullptr;
    }
    return *painter_;
}

void PainterSurface::End() {
    if (painter_) {
        if (painter_->isActive())
            painter_->end();
        painter_.reset();
    }
}

void PainterSurface::Finish() {
    if (image_)
        End();
}

bool PainterSurface::NewPage() {
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device_);
    return paged && paged->newPage();
}

void PainterSurface::FollowView(double viewScale, int twipsPerPixel) {
    if (mapping_.printer)
        return;
    DeviceMapping next = DeviceMapping::Screen(viewScale, twipsPerPixel);
    next.originX = mapping_.originX;
    next.originY = mapping_.originY;
    next.raster = mapping_.raster;
    mapping_ = next;
}

const FontFace& PainterSurface::CurrentFace() const {
    FaceKey key;
    key.family = FontName();
    key.pixelSize = FontSize() * mapping_.fontPixelsPerPoint;
    key.bold = FontBold();
    key.italic = FontItalic();
    key.underline = FontUnderline();
    key.dpi = dpi_;
    if (lastFace_ && key == lastKey_)
        return *lastFace_;
    lastFace_ = &fonts_.Face(key, &device_);
    lastKey_ = std::move(key);
    return *lastFace_;
}

double PainterSurface::TextWidth(const QString& text) const {
    return CurrentFace().Width(text) / mapping_.pixelsPerTwipX;
}

double PainterSurface::TextHeight(const QString&) const {
    return CurrentFace().Height() / mapping_.pixelsPerTwipY;
}

QPointF PainterSurface::DevicePoint(double x, double y) const {
    double dx = DeviceX(x), dy = DeviceY(y);
    if (mapping_.raster)
        return QPointF(std::round(dx), std::round(dy));
    return QPointF(dx, dy);
}

void PainterSurface::UsePen(Rgb colour, int width) {
    QPen pen(ToQColor(colour));
    pen.setWidth(width < 1 ? 1 : width);
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    Painter().setPen(pen);
}

QPointF PainterSurface::Baseline(const FontFace& face, double x, double y) const {
    QPointF cell = DevicePoint(x, y);
    double baseline = cell.y() + face.Ascent();
    // Pictures get whole-pixel baselines, as the glyphs are placed on them anyway.
    return QPointF(cell.x(), mapping_.raster ? std::round(baseline) : baseline);
}

void PainterSurface::DrawText(const QString& text, double x, double y) {
    const FontFace& face = CurrentFace();
    QPainter& painter = Painter();
    if (painterFace_ != &face) {
        painter.setFont(face.Font());
        painterFace_ = &face;
    }
    painter.setPen(ToQColor(ForeColor()));
    painter.drawText(Baseline(face, x, y), text);
}

void PainterSurface::CoverText(const QString& text, double x, double y) {
    if (!mapping_.raster) {
        DrawSurface::CoverText(text, x, y);
        return;
    }
    const FontFace& face = CurrentFace();
    QPainter& painter = Painter();
    QPointF baseline = Baseline(face, x, y);
    QPainterPath outline;
    outline.addText(baseline, face.Font(), text);
    if (face.Font().underline()) {
        QFontMetricsF metrics(face.Font(), &device_);
        double thickness = std::max(1.0, metrics.lineWidth());
        outline.addRect(QRectF(baseline.x(), baseline.y() + metrics.underlinePos() - thickness,
                               face.Width(text), 2 * thickness));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::white);
    // Hinting may move the drawn glyphs by up to a pixel from their outlines.
    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(outline);
    painter.restore();
    painterFace_ = nullptr;
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, Rgb colour, LineMode mode) {
    QPainter& painter = Painter();
    QPointF a = DevicePoint(x1, y1), b = DevicePoint(x2, y2);
    if (mode == LineMode::Line) {
        UsePen(colour, DrawWidth());
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(a, b);
        return;
    }
    double left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
    double top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    // On pictures both corner pixels belong to the box.
    double extra = mapping_.raster ? 1 : 0;
    QRectF area(left, top, right - left + extra, bottom - top + extra);
    if (mode == LineMode::BoxFill) {
        painter.fillRect(area, ToQColor(colour));
        return;
    }
    if (FillStyle() == FillSolid)
        painter.fillRect(area, ToQColor(FillColor()));
    UsePen(colour, DrawWidth());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(left, top, right - left, bottom - top));
}

void PainterSurface::Circle(double x, double y, double radius, Rgb colour) {
    QPainter& painter = Painter();
    QPointF centre = DevicePoint(x, y);
    double rx = radius * mapping_.pixelsPerTwipX, ry = radius * mapping_.pixelsPerTwipY;
    if (mapping_.raster) {
        rx = std::round(rx);
        ry = std::round(ry);
    }
    UsePen(colour, DrawWidth());
    if (FillStyle() == FillSolid)
        painter.setBrush(ToQColor(FillColor()));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, rx, ry);
    painter.setBrush(Qt::NoBrush);
}

void PainterSurface::PaintPicture(const QImage& picture, double x, double y, double width,
                                  double height) {
    QPointF corner = DevicePoint(x, y);
    QRectF target(corner.x(), corner.y(), width * mapping_.pixelsPerTwipX,
                  height * mapping_.pixelsPerTwipY);
    Painter().drawImage(target, picture);
}

void PainterSurface::PrintRotated(const QString& text, const RotatedFont& font) {
    // The size is the height of the character cell, as a font made for rotated text asks
    // for it; the face is scaled until its cell has that height.
    double cellPixels = font.cellPoints * mapping_.fontPixelsPerPoint;
    if (cellPixels <= 0 || text.isEmpty())
        return;
    FaceKey key;
    key.family = font.name;
    key.pixelSize = cellPixels;
    key.weight = font.weight;
    key.italic = font.italic;
    key.underline = font.underline;
    key.strikeOut = font.strikeOut;
    key.dpi = dpi_;
    double cell = fonts_.Face(key, &device_).Height();
    if (cell > 0)
        key.pixelSize = cellPixels * cellPixels / cell;
    const FontFace& face = fonts_.Face(key, &device_);

    QPainter& painter = Painter();
    painter.save();
    painter.translate(DevicePoint(CurrentX(), CurrentY()));
    painter.rotate(-font.angle);
    painter.setFont(face.Font());
    painter.setPen(ToQColor(ForeColor()));
    painter.drawText(QPointF(0, face.Ascent()), text);
    painter.restore();
    painterFace_ = nullptr;
}

void PainterSurface::Clear() {
    if (mapping_.printer)
        return;
    QPainter& painter = Painter();
    QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, device_.width(), device_.height()), Qt::white);
    painter.setCompositionMode(mode);
}

bool PainterSurface::RestoreRaster(const QImage& picture) {
    if (!image_ || picture.size() != image_->size())
        return false;
    QPainter& painter = Painter();
    QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), picture);
    painter.setCompositionMode(mode);
    return true;
}

} // namespace cw
