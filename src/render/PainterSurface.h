#pragma once

#include "DrawSurface.h"
#include "FontBook.h"
#include "ShapeStamps.h"

#include <QPainter>
#include <QSizeF>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QPagedPaintDevice;

namespace cw {

// How card twips reach the pixels of a device.
struct DeviceMapping {
    double pixelsPerTwipX = 1.0 / 15;
    double pixelsPerTwipY = 1.0 / 15;
    // Device pixel of the card's (0, 0).
    double originX = 0;
    double originY = 0;
    // Device pixels per point of font size.
    double fontPixelsPerPoint = 20.0 / 15;
    // Twips per pixel of the device itself.
    double deviceTwipsPerPixel = 15;
    bool printer = false;
    // Printers: the page's height in twips of the card.
    double pageHeight = 0;
    // Pictures: shapes land on whole pixels, without smoothing, so that drawing a mark again
    // in white takes it away completely.
    bool raster = true;

    // The screen picture at a view scale: one card twip is viewScale screen twips, and point
    // sizes are those of the screen (the callers multiply them by the scale themselves).
    static DeviceMapping Screen(double viewScale, int twipsPerPixel);

    // Paper of pagePixels device pixels at dpi, of which the whole page stands for extent
    // twips of card (the print size the user chose).
    static DeviceMapping Paper(double dpiX, double dpiY, QSizeF pagePixels, QSizeF extent);
};

// The surface over QPainter. It serves the screen's backing picture and export pictures
// (QImage), the printer (QPrinter) and PDF files (QPdfWriter). The painter is opened on the
// first drawing and, for pictures, closed again by Finish so that the picture can be shown
// or saved; on paged devices it stays open until the document ends.
class PainterSurface : public DrawSurface {
public:
    PainterSurface(QPaintDevice& device, const DeviceMapping& mapping, FontBook& fonts);
    ~PainterSurface() override;

    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    const DeviceMapping& Mapping() const { return mapping_; }
    void SetMapping(const DeviceMapping& mapping) { mapping_ = mapping; }
    QPaintDevice& Device() { return device_; }

    void Line(double x1, double y1, double x2, double y2, Rgb colour,
              LineMode mode = LineMode::Line) override;
    void Circle(double x, double y, double radius, Rgb colour) override;
    bool PaintRecording(const QPicture& recording, QSizeF size, double x, double y, double width,
                        double height) override;
    void PaintPicture(const QImage& picture, double x, double y, double width,
                      double height) override;
    void PrintRotated(const QString& text, const RotatedFont& font) override;
    void Clear() override;
    bool IsPrinter() const override { return mapping_.printer; }
    double DeviceTwipsPerPixel() const override { return mapping_.deviceTwipsPerPixel; }
    double PageHeight() const override { return mapping_.pageHeight; }
    void FollowView(double viewScale, int twipsPerPixel) override;
    const QImage* Raster() const override { return image_; }
    bool RestoreRaster(const QImage& picture) override;
    void RasterHolds(const QImage& picture) override;
    void SetBackdrop(const QImage& picture) override;
    void SetClip(const std::optional<QRectF>& twips) override;
    void SetBlackOnly(bool blackOnly) override;
    bool BeginRepair(double x, double y, double width, double height) override;
    void EndRepair() override;
    void Finish() override;

    // Paged devices: starts the next page.
    bool NewPage();
    // Ends the painter (and with it a printed document).
    void End();

    // The painter, opened when needed.
    QPainter& Painter();

protected:
    double TextWidthIn(const SurfaceState& font, const QString& text) const override;
    double TextHeightIn(const SurfaceState& font, const QString& text) const override;
    void DrawText(const QString& text, double x, double y) override;
    // On pictures the smoothed edges of the text are covered too: the outlines of the
    // glyphs are filled and widened, without smoothing.
    void CoverText(const QString& text, double x, double y) override;

private:
    const FontFace& FaceOf(const SurfaceState& font) const;
    const FontFace& CurrentFace() const { return FaceOf(State()); }
    double DeviceX(double x) const { return mapping_.originX + x * mapping_.pixelsPerTwipX; }
    double DeviceY(double y) const { return mapping_.originY + y * mapping_.pixelsPerTwipY; }
    QPointF DevicePoint(double x, double y) const;
    QPointF Baseline(const FontFace& face, double x, double y) const;
    void UsePen(Rgb colour, int width);
    // What a drawing in colour puts down: the colour, or, while painting out, what lies
    // beneath.
    QBrush Ink(Rgb colour) const;
    bool HasBackdrop() const;
    // What painting out puts down: the backdrop where it fits the picture, else white.
    QBrush PaintOutBrush() const;
    // Fills the pixels from (left, top) to (right, bottom), both included.
    void FillPixels(int left, int top, int right, int bottom, const QBrush& ink);
    // The picture drawn on, when pixels may be set into it directly: the card's, or a
    // repair's scratch copy, while the painter draws plainly (no clipping, no blending).
    QImage* PlainTarget();
    // Sets an unsmoothed shape's pixels straight into the picture; false when the painter
    // must draw it.
    bool Stamped(const ShapeStamps::Shape& shape, Rgb colour);
    // Pictures: notes the device pixels a drawing may have touched, within marginX and
    // marginY pixels around area.
    void Touched(const QRectF& area, double marginX, double marginY);
    void Touched(const QRectF& area, double margin) { Touched(area, margin, margin); }
    void TouchedAll();
    // Copies the touched tiles of picture back into the raster.
    void PutBackTouched(const QImage& picture);

    QPaintDevice& device_;
    QImage* image_ = nullptr;
    DeviceMapping mapping_;
    FontBook& fonts_;
    std::unique_ptr<QPainter> painter_;
    int dpi_ = 96;
    // The last face asked for, to skip the look-up while the font does not change.
    mutable FaceKey lastKey_;
    mutable const FontFace* lastFace_ = nullptr;
    // The face the painter was last given.
    const FontFace* painterFace_ = nullptr;
    // The picture painting out shows again, as a brush aligned with the device's pixels.
    QBrush backdrop_;
    QImage backdropPicture_;
    QSize backdropSize_;
    // What the picture holds apart from the areas drawn over since: heldPicture_ (a cache
    // key), unless everything may have changed. The picture's own cache key when the painter
    // was last closed tells whether anyone else drew on it meanwhile.
    qint64 heldPicture_ = 0;
    bool touchedAll_ = true;
    // The picture in tiles of TileSize pixels, each marked once drawn over: overlapping
    // marks and texts are put back once.
    static constexpr int TileSize = 16;
    std::vector<uint8_t> touchedTiles_;
    int tileColumns_ = 0;
    size_t touchedCount_ = 0;
    qint64 keyWhenClosed_ = 0;
    // A repair draws on a copy of the backdrop around its pixels, with room to spare, and
    // only its pixels go back to the picture: lines clipped at the edge of the pixels would
    // not meet the pixels they meet on a whole page.
    struct Repair {
        QRect pixels;
        QRect area;
        QImage scratch;
    };
    std::optional<Repair> repair_;
    ShapeStamps stamps_;
    // The pen the painter was last given.
    // The colour an ink is painted in: itself, or black or white when black only.
    QColor InkColour(Rgb colour) const;
    bool blackOnly_ = false;
    bool penValid_ = false;
    Rgb penColour_ = 0;
    int penWidth_ = 0;
};

} // namespace cw
