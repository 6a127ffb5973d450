#include "PainterSurface.h"

#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainterPath>
#include <QPicture>
#include <algorithm>
#include <cmath>
#include <cstring>

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
        // Drawn on by someone else since the painter was closed: nothing is known of it.
        if (image_ && image_->cacheKey() != keyWhenClosed_)
            TouchedAll();
        if (repair_) {
            painter_ = std::make_unique<QPainter>(&repair_->scratch);
            painter_->setBrushOrigin(-repair_->area.topLeft());
        } else {
            painter_ = std::make_unique<QPainter>(&device_);
        }
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
        painter_->setRenderHint(QPainter::Antialiasing, !mapping_.raster);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter_->setBrush(Qt::NoBrush);
        painterFace_ = nullptr;
        penValid_ = false;
    }
    return *painter_;
}

void PainterSurface::End() {
    if (painter_) {
        if (painter_->isActive())
            painter_->end();
        painter_.reset();
        if (image_)
            keyWhenClosed_ = image_->cacheKey();
    }
}

void PainterSurface::Touched(const QRectF& area, double marginX, double marginY) {
    // A repair draws on its own copy; what reaches the picture is noted when it ends.
    if (!image_ || touchedAll_ || repair_)
        return;
    const int width = image_->width(), height = image_->height();
    const int left = std::max(0, int(std::floor(std::min(area.left(), area.right()) - marginX)));
    const int right =
        std::min(width - 1, int(std::ceil(std::max(area.left(), area.right()) + marginX)));
    const int top = std::max(0, int(std::floor(std::min(area.top(), area.bottom()) - marginY)));
    const int bottom =
        std::min(height - 1, int(std::ceil(std::max(area.top(), area.bottom()) + marginY)));
    if (left > right || top > bottom)
        return;
    for (int row = top / TileSize; row <= bottom / TileSize; ++row) {
        uint8_t* tiles = &touchedTiles_[size_t(row) * size_t(tileColumns_)];
        for (int column = left / TileSize; column <= right / TileSize; ++column) {
            touchedCount_ += tiles[column] == 0;
            tiles[column] = 1;
        }
    }
}

void PainterSurface::TouchedAll() {
    touchedAll_ = true;
}

void PainterSurface::PutBackTouched(const QImage& picture) {
    const int bytesPerPixel = image_->depth() / 8;
    const qsizetype toStride = image_->bytesPerLine(), fromStride = picture.bytesPerLine();
    uchar* to = image_->bits();
    const uchar* from = picture.constBits();
    const int rows = int(touchedTiles_.size()) / tileColumns_;
    for (int row = 0; row < rows; ++row) {
        const uint8_t* tiles = &touchedTiles_[size_t(row) * size_t(tileColumns_)];
        const int top = row * TileSize, bottom = std::min(top + TileSize, image_->height());
        for (int column = 0; column < tileColumns_;) {
            if (!tiles[column]) {
                ++column;
                continue;
            }
            // A run of touched tiles is one copy per line.
            int end = column;
            while (end < tileColumns_ && tiles[end])
                ++end;
            const int left = column * TileSize;
            const int right = std::min(end * TileSize, image_->width());
            const qsizetype offset = qsizetype(left) * bytesPerPixel;
            const size_t length = size_t(right - left) * size_t(bytesPerPixel);
            for (int y = top; y < bottom; ++y)
                std::memcpy(to + y * toStride + offset, from + y * fromStride + offset, length);
            column = end;
        }
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

const FontFace& PainterSurface::FaceOf(const SurfaceState& font) const {
    FaceKey key;
    key.family = font.fontName;
    key.pixelSize = font.fontSize * mapping_.fontPixelsPerPoint;
    key.bold = font.fontBold;
    key.italic = font.fontItalic;
    key.underline = font.fontUnderline;
    key.dpi = dpi_;
    if (lastFace_ && key == lastKey_)
        return *lastFace_;
    lastFace_ = &fonts_.Face(key, &device_);
    lastKey_ = std::move(key);
    return *lastFace_;
}

double PainterSurface::TextWidthIn(const SurfaceState& font, const QString& text) const {
    return FaceOf(font).Width(text) / mapping_.pixelsPerTwipX;
}

double PainterSurface::TextHeightIn(const SurfaceState& font, const QString&) const {
    return FaceOf(font).Height() / mapping_.pixelsPerTwipY;
}

QPointF PainterSurface::DevicePoint(double x, double y) const {
    double dx = DeviceX(x), dy = DeviceY(y);
    if (mapping_.raster)
        return QPointF(std::round(dx), std::round(dy));
    return QPointF(dx, dy);
}

void PainterSurface::SetBackdrop(const QImage& picture) {
    backdrop_ = picture.isNull() ? QBrush() : QBrush(picture);
    backdropPicture_ = picture;
    backdropSize_ = picture.size();
}

bool PainterSurface::HasBackdrop() const {
    return mapping_.raster && image_ && backdrop_.style() == Qt::TexturePattern &&
           backdropSize_ == image_->size();
}

QBrush PainterSurface::PaintOutBrush() const {
    // The texture's pixel (x, y) lands on the device's pixel (x, y): the painter is never
    // left transformed and its brush origin stays at (0, 0).
    return HasBackdrop() ? backdrop_ : QBrush(Qt::white);
}

void PainterSurface::SetClip(const std::optional<QRectF>& twips) {
    QPainter& painter = Painter();
    if (!twips) {
        painter.setClipping(false);
        return;
    }
    painter.setClipRect(QRectF(QPointF(DeviceX(twips->left()), DeviceY(twips->top())),
                               QPointF(DeviceX(twips->right()), DeviceY(twips->bottom())))
                            .normalized());
}

bool PainterSurface::BeginRepair(double x, double y, double width, double height) {
    if (!HasBackdrop() || repair_)
        return false;
    const QRect pixels =
        QRectF(QPointF(DeviceX(x), DeviceY(y)), QPointF(DeviceX(x + width), DeviceY(y + height)))
            .normalized()
            .toAlignedRect()
            .intersected(image_->rect());
    if (pixels.isEmpty())
        return false;
    constexpr int kRoom = 8;
    const QRect area = pixels.adjusted(-kRoom, -kRoom, kRoom, kRoom).intersected(image_->rect());
    End();
    repair_ = Repair{pixels, area, backdropPicture_.copy(area)};
    // Whole pixels only, so that everything lands on the pixels it takes on the picture.
    mapping_.originX -= area.x();
    mapping_.originY -= area.y();
    return true;
}

void PainterSurface::EndRepair() {
    if (!repair_)
        return;
    End();
    Repair repair = std::move(*repair_);
    repair_.reset();
    mapping_.originX += repair.area.x();
    mapping_.originY += repair.area.y();
    QPainter& painter = Painter();
    QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(repair.pixels.topLeft(), repair.scratch,
                      repair.pixels.translated(-repair.area.topLeft()));
    painter.setCompositionMode(mode);
    Touched(QRectF(repair.pixels), 0);
}

QBrush PainterSurface::Ink(Rgb colour) const {
    return PaintingOut() ? PaintOutBrush() : QBrush(InkColour(colour));
}

void PainterSurface::SetBlackOnly(bool blackOnly) {
    blackOnly_ = blackOnly;
    penValid_ = false;
}

QColor PainterSurface::InkColour(Rgb colour) const {
    const QColor ink = ToQColor(colour);
    if (!blackOnly_)
        return ink;
    // Pale tints and bars (a field's light background, a yellow card's) become white so that
    // the black text on them reads; every other colour is ink, and ink is black.
    constexpr int kLightestInk = 235;
    return qGray(ink.rgb()) > kLightestInk ? QColor(Qt::white) : QColor(Qt::black);
}

void PainterSurface::UsePen(Rgb colour, int width) {
    if (width < 1)
        width = 1;
    // One-pixel pens on pictures are cosmetic: the fast path of the raster engine.
    const int penWidth = mapping_.raster && width == 1 ? 0 : width;
    if (PaintingOut()) {
        Painter().setPen(
            QPen(PaintOutBrush(), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        penValid_ = false;
        return;
    }
    if (penValid_ && penColour_ == colour && penWidth_ == width)
        return;
    QPen pen(InkColour(colour));
    pen.setWidth(penWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    Painter().setPen(pen);
    penValid_ = true;
    penColour_ = colour;
    penWidth_ = width;
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
    penValid_ = false;
    painter.setPen(InkColour(ForeColor()));
    const QPointF baseline = Baseline(face, x, y);
    // The same short texts come again on every redraw: laid out once per face.
    painter.drawStaticText(QPointF(baseline.x(), baseline.y() - face.Ascent()), face.Laid(text));
    // Italics and smoothing reach a little beyond the advance and the cell.
    const double height = face.Height();
    Touched(QRectF(baseline.x(), baseline.y() - face.Ascent(), face.Width(text), height),
            height / 3 + 2, 2);
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
    const QBrush ink = PaintOutBrush();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(ink);
    // Hinting may move the drawn glyphs by up to a pixel from their outlines.
    painter.setPen(QPen(ink, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(outline);
    painter.restore();
    painterFace_ = nullptr;
    penValid_ = false;
    Touched(outline.boundingRect(), 4);
}

QImage* PainterSurface::PlainTarget() {
    QPainter& painter = Painter();
    QImage* target = repair_ ? &repair_->scratch : image_;
    if (!mapping_.raster || !target || target->format() != QImage::Format_RGB32 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.hasClipping() || !painter.transform().isIdentity())
        return nullptr;
    return target;
}

void PainterSurface::FillPixels(int left, int top, int right, int bottom, const QBrush& ink) {
    const QRect area(QPoint(left, top), QPoint(right, bottom));
    // Boxes and bars in one colour straight into a picture's pixels: a card draws hundreds of
    // small ones, and the painter's way costs more than the pixels.
    QImage* target = PlainTarget();
    if (target && ink.style() == Qt::SolidPattern && ink.color().alpha() == 255) {
        const QRect inside = area.intersected(target->rect());
        if (inside.isEmpty())
            return;
        const QRgb value = ink.color().rgb();
        uchar* bits = target->bits();
        const qsizetype stride = target->bytesPerLine();
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(bits + y * stride) + inside.left();
            std::fill(line, line + inside.width(), value);
        }
    } else {
        Painter().fillRect(area, ink);
    }
    Touched(area, 1);
}

bool PainterSurface::Stamped(const ShapeStamps::Shape& shape, Rgb colour) {
    if (PaintingOut())
        return false;
    QImage* target = PlainTarget();
    if (!target)
        return false;
    const QRect set = stamps_.Stamp(shape, *target, InkColour(colour).rgb());
    if (set.isEmpty())
        return false;
    Touched(QRectF(set), 1);
    return true;
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, Rgb colour, LineMode mode) {
    QPainter& painter = Painter();
    QPointF a = DevicePoint(x1, y1), b = DevicePoint(x2, y2);
    if (!mapping_.raster) {
        if (mode == LineMode::Line) {
            UsePen(colour, DrawWidth());
            painter.drawLine(a, b);
            return;
        }
        QRectF area = QRectF(a, b).normalized();
        if (mode == LineMode::BoxFill) {
            painter.fillRect(area, Ink(colour));
            return;
        }
        if (FillStyle() == FillSolid)
            painter.fillRect(area, Ink(FillColor()));
        UsePen(colour, DrawWidth());
        painter.drawRect(area);
        return;
    }
    // Pictures: whole pixels, both ends included. A pen of width w covers w pixels across
    // the line; lines along the axes and boxes are filled spans, which is also the fast way.
    const int left = int(std::min(a.x(), b.x())), right = int(std::max(a.x(), b.x()));
    const int top = int(std::min(a.y(), b.y())), bottom = int(std::max(a.y(), b.y()));
    const int width = DrawWidth();
    const int before = width / 2, after = (width - 1) / 2;
    const QBrush ink = Ink(colour);
    switch (mode) {
    case LineMode::BoxFill:
        FillPixels(left, top, right, bottom, ink);
        return;
    case LineMode::Box:
        if (FillStyle() == FillSolid)
            FillPixels(left, top, right, bottom, Ink(FillColor()));
        FillPixels(left - before, top - before, right + after, top + after, ink);
        FillPixels(left - before, bottom - before, right + after, bottom + after, ink);
        FillPixels(left - before, top - before, left + after, bottom + after, ink);
        FillPixels(right - before, top - before, right + after, bottom + after, ink);
        return;
    case LineMode::Line:
        if (top == bottom || left == right) {
            FillPixels(left - before, top - before, right + after, bottom + after, ink);
            return;
        }
        if (Stamped({ShapeStamps::Kind::Line, a, b - a, width <= 1 ? 0 : width}, colour))
            return;
        UsePen(colour, width);
        painter.drawLine(a, b);
        Touched(QRectF(a, b), width + 2);
        return;
    }
}

void PainterSurface::Circle(double x, double y, double radius, Rgb colour) {
    QPainter& painter = Painter();
    QPointF centre = DevicePoint(x, y);
    double rx = radius * mapping_.pixelsPerTwipX, ry = radius * mapping_.pixelsPerTwipY;
    if (mapping_.raster) {
        rx = std::round(rx);
        ry = std::round(ry);
    }
    const int width = std::max(1, DrawWidth());
    if (FillStyle() != FillSolid && mapping_.raster &&
        Stamped({ShapeStamps::Kind::Ellipse, centre, QPointF(rx, ry), width == 1 ? 0 : width},
                colour))
        return;
    UsePen(colour, DrawWidth());
    if (FillStyle() == FillSolid)
        painter.setBrush(Ink(FillColor()));
    else
        painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, rx, ry);
    painter.setBrush(Qt::NoBrush);
    Touched(QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry), DrawWidth() + 2);
}

void PainterSurface::PaintPicture(const QImage& picture, double x, double y, double width,
                                  double height) {
    QPointF corner = DevicePoint(x, y);
    QRectF target(corner.x(), corner.y(), width * mapping_.pixelsPerTwipX,
                  height * mapping_.pixelsPerTwipY);
    if (PaintingOut())
        Painter().fillRect(target, PaintOutBrush());
    else
        Painter().drawImage(target, blackOnly_ ? picture.convertToFormat(QImage::Format_Grayscale8)
                                               : picture);
    Touched(target, 2);
}

bool PainterSurface::PaintRecording(const QPicture& recording, QSizeF size, double x, double y,
                                    double width, double height) {
    if (blackOnly_ || PaintingOut() || size.isEmpty())
        return false;
    const QPointF corner = DevicePoint(x, y);
    const QRectF target(corner.x(), corner.y(), width * mapping_.pixelsPerTwipX,
                        height * mapping_.pixelsPerTwipY);
    QPainter& painter = Painter();
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    // drawPicture scales a recording by the device's resolution over the recording's own;
    // the scale above already holds the device's, so that factor is taken out again.
    if (const QPaintDevice* device = painter.device())
        painter.scale(double(recording.logicalDpiX()) / device->logicalDpiX(),
                      double(recording.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, recording);
    painter.restore();
    Touched(target, 2);
    return true;
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
    QBrush ink = Ink(ForeColor());
    // A backdrop stays on the device's pixels, not the turned text's.
    ink.setTransform(painter.worldTransform().inverted());
    painter.setPen(QPen(ink, 0));
    painter.drawText(QPointF(0, face.Ascent()), text);
    painter.restore();
    painterFace_ = nullptr;
    penValid_ = false;
    // Turned any way around its corner, the text stays within its length and height.
    const QPointF corner = DevicePoint(CurrentX(), CurrentY());
    const double reach = face.Width(text) + face.Height();
    Touched(QRectF(corner.x() - reach, corner.y() - reach, 2 * reach, 2 * reach), 2);
}

void PainterSurface::Clear() {
    if (mapping_.printer)
        return;
    QPainter& painter = Painter();
    QPainter::CompositionMode mode = painter.compositionMode();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, device_.width(), device_.height()), Qt::white);
    painter.setCompositionMode(mode);
    TouchedAll();
}

bool PainterSurface::RestoreRaster(const QImage& picture) {
    if (!image_ || picture.size() != image_->size())
        return false;
    QPainter& painter = Painter();
    // Only what was drawn over the picture goes back: at zoom 2 the whole picture is twelve
    // megabytes, the marks and texts of a card often a fraction of it.
    const bool partly = !touchedAll_ && heldPicture_ == picture.cacheKey() &&
                        picture.format() == image_->format() &&
                        touchedCount_ * 4 < touchedTiles_.size() * 3;
    if (partly) {
        PutBackTouched(picture);
    } else {
        QPainter::CompositionMode mode = painter.compositionMode();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPointF(0, 0), picture);
        painter.setCompositionMode(mode);
    }
    RasterHolds(picture);
    return true;
}

void PainterSurface::RasterHolds(const QImage& picture) {
    if (!image_ || picture.size() != image_->size()) {
        TouchedAll();
        return;
    }
    heldPicture_ = picture.cacheKey();
    touchedAll_ = false;
    tileColumns_ = (picture.width() + TileSize - 1) / TileSize;
    touchedTiles_.assign(
        size_t(tileColumns_) * size_t((picture.height() + TileSize - 1) / TileSize), 0);
    touchedCount_ = 0;
}

} // namespace cw
