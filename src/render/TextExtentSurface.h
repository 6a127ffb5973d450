#pragma once

#include "PainterSurface.h"

#include <QRectF>

namespace cw {

// A surface that lays text out exactly as the screen picture does (the same fonts and the
// same measures) but draws nothing: it only remembers where the printed text went. Shapes
// are ignored.
// The tiny picture the fonts are measured for; a base of its own so that it exists before the
// surface over it.
struct TextExtentDevice {
    QImage device{1, 1, QImage::Format_RGB32};
};

class TextExtentSurface : private TextExtentDevice, public PainterSurface {
public:
    // Measures at referenceScale (the view's scale the widths are taken at) while the text
    // drawer sizes fonts for viewScale (the zoom the view is at), so that the answer does not
    // depend on the zoom.
    TextExtentSurface(FontBook& fonts, double referenceScale, double viewScale);

    // Starts a new measurement.
    void Forget();
    bool HasText() const { return pieces_ > 0; }
    // Union of the cells of every piece of text printed since Forget, in card twips.
    const QRectF& Extent() const { return extent_; }
    // The lowest top of a printed piece (the last line's top).
    double LastTop() const { return lastTop_; }

    void Line(double, double, double, double, Rgb, LineMode) override {}
    void Circle(double, double, double, Rgb) override {}
    void PaintPicture(const QImage&, double, double, double, double) override {}
    void PrintRotated(const QString&, const RotatedFont&) override {}
    void Clear() override {}
    void Finish() override {}

protected:
    void DrawText(const QString& text, double x, double y) override;
    void CoverText(const QString&, double, double) override {}

private:
    QRectF extent_;
    double lastTop_ = 0;
    int pieces_ = 0;
};

} // namespace cw
