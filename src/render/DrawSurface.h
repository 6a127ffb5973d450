#pragma once

#include "Colour.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <optional>

class QPicture;

namespace cw {

// How Line draws between its two corners.
enum class LineMode {
    Line,    // a straight line
    Box,     // the outline of the rectangle (filled with FillColor when FillStyle is solid)
    BoxFill, // the rectangle filled with the line's colour
};

// FillStyle values: the inside of boxes and circles.
enum : int { FillSolid = 0, FillTransparent = 1 };

// A font made for one rotated text: the size is the height of the character cell in points,
// the angle counter-clockwise in degrees.
struct RotatedFont {
    QString name;
    double cellPoints = 10;
    int weight = 400;
    double angle = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// Everything a surface remembers between calls: the print position, the font, the colours
// and the pen.
struct SurfaceState {
    double currentX = 0;
    double currentY = 0;
    QString fontName = QStringLiteral("Arial");
    double fontSize = 10;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontUnderline = false;
    Rgb foreColor = colour::Black;
    Rgb fillColor = colour::Black;
    int fillStyle = FillTransparent;
    int drawWidth = 1;

    bool operator==(const SurfaceState&) const = default;
};

// The target every card drawing goes to: the screen picture, the printer, an export picture
// or, in tests, a recorder. Positions and sizes are card twips in the surface's own scale;
// font sizes are points; DrawWidth is in pixels of the device. Text is printed with the top
// left corner of its character cell at (CurrentX, CurrentY), transparently, in ForeColor,
// and CurrentX moves behind it.
class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    double CurrentX() const;
    double CurrentY() const { return state_.currentY; }
    void SetCurrentX(double x);
    void SetCurrentY(double y) { state_.currentY = y; }

    // Prints text at the current position and moves CurrentX behind it.
    void Print(const QString& text);
    // Paints out text printed at the current position in the current font: every pixel the
    // text touched shows again what lies beneath it (see BeginPaintOut). Moves CurrentX like
    // Print.
    void PaintOut(const QString& text);

    // Between these two, every line, box, circle, picture and printed text takes away what
    // it would draw instead of drawing it: a picture that keeps its base layer (SetBackdrop)
    // shows that again there, anything else turns white. A mark is painted out by drawing
    // it again so. The calls nest.
    void BeginPaintOut() { ++paintOutDepth_; }
    void EndPaintOut() {
        if (paintOutDepth_ > 0)
            --paintOutDepth_;
    }
    bool PaintingOut() const { return paintOutDepth_ > 0; }
    // Every ink black, for a monochrome printer: colours print black, white and the lightest
    // tints white, pictures in shades of grey.
    virtual void SetBlackOnly(bool blackOnly) {}
    // Keeps what is drawn next inside the rectangle (card twips) until the clip is cleared
    // with nullopt.
    virtual void SetClip(const std::optional<QRectF>& twips) {}
    // What painting out shows again on a picture: the page's base layer, drawn on a picture
    // of the same size. A null picture, or one of another size, paints out in white.
    virtual void SetBackdrop(const QImage& picture) {}
    // Puts the backdrop back over the rectangle (card twips) and keeps every drawing inside
    // it until EndRepair, so that what is drawn next there is drawn as on a fresh page.
    // False, with nothing changed, on a surface without a backdrop.
    virtual bool BeginRepair(double x, double y, double width, double height) { return false; }
    virtual void EndRepair() {}

    const QString& FontName() const { return state_.fontName; }
    void SetFontName(const QString& name);
    double FontSize() const { return state_.fontSize; }
    void SetFontSize(double points);
    bool FontBold() const { return state_.fontBold; }
    void SetFontBold(bool bold);
    bool FontItalic() const { return state_.fontItalic; }
    void SetFontItalic(bool italic);
    bool FontUnderline() const { return state_.fontUnderline; }
    void SetFontUnderline(bool underline);

    Rgb ForeColor() const { return state_.foreColor; }
    void SetForeColor(Rgb value) { state_.foreColor = value; }
    Rgb FillColor() const { return state_.fillColor; }
    void SetFillColor(Rgb value) { state_.fillColor = value; }
    int FillStyle() const { return state_.fillStyle; }
    void SetFillStyle(int style) { state_.fillStyle = style; }
    int DrawWidth() const { return state_.drawWidth; }
    void SetDrawWidth(int pixels) { state_.drawWidth = pixels < 1 ? 1 : pixels; }

    // Extent of text in the current font, in the surface's units.
    double TextWidth(const QString& text) const { return TextWidthIn(state_, text); }
    double TextHeight(const QString& text) const { return TextHeightIn(state_, text); }

    // A line, box or filled box from (x1, y1) to (x2, y2) in colour, at DrawWidth.
    virtual void Line(double x1, double y1, double x2, double y2, Rgb colour,
                      LineMode mode = LineMode::Line) = 0;
    // A circle around (x, y) in colour at DrawWidth, filled with FillColor when FillStyle is
    // solid.
    virtual void Circle(double x, double y, double radius, Rgb colour) = 0;
    // A picture stretched to the rectangle.
    virtual void PaintPicture(const QImage& picture, double x, double y, double width,
                              double height) = 0;
    // Drawing commands recorded at size units (a page of a PDF, in points), scaled to the
    // rectangle: sharp at any resolution on paper. False when the surface cannot draw them as
    // they are (in black only, say); the caller then paints a picture instead.
    virtual bool PaintRecording(const QPicture& recording, QSizeF size, double x, double y,
                                double width, double height) {
        return false;
    }
    // Text in a font of its own, turned about the top left corner of its cell at the current
    // position, in ForeColor. The surface's font is not changed.
    virtual void PrintRotated(const QString& text, const RotatedFont& font) = 0;
    // Wipes the whole picture to white (nothing on paper).
    virtual void Clear() = 0;

    virtual bool IsPrinter() const = 0;
    // Twips per pixel of the device itself (the printer's resolution, the screen's).
    virtual double DeviceTwipsPerPixel() const = 0;
    // Height of the printed page in the surface's units (printers).
    virtual double PageHeight() const { return 0; }

    // A screen surface follows the view's scale.
    virtual void FollowView(double viewScale, int twipsPerPixel) {}

    // Surfaces that draw into a picture give it, so that it can be kept and put back.
    virtual const QImage* Raster() const { return nullptr; }
    virtual bool RestoreRaster(const QImage& picture) { return false; }
    // The raster is, pixel for pixel, picture (just drawn, or put back): putting the same
    // picture back later only has to cover what was drawn over it since.
    virtual void RasterHolds(const QImage& picture) {}

    // The drawing of one pass is complete (the picture may now be shown or saved).
    virtual void Finish() {}

    SurfaceState SaveState() const;
    void RestoreState(const SurfaceState& state);
    // Black pen of one pixel, transparent fill, nothing pending.
    void ResetDrawingState();

protected:
    // The state as it is; CurrentX may still lack the advance of the text printed last.
    const SurfaceState& State() const { return state_; }
    // Extent of text in the font of state.
    virtual double TextWidthIn(const SurfaceState& font, const QString& text) const = 0;
    virtual double TextHeightIn(const SurfaceState& font, const QString& text) const = 0;
    // Draws text with its cell's top left corner at (x, y) in the current state.
    virtual void DrawText(const QString& text, double x, double y) = 0;
    // Covers what DrawText drew at (x, y) (printing while painting out); by default the text
    // is drawn in white.
    virtual void CoverText(const QString& text, double x, double y);

private:
    // The advance of the text printed last is worked out, in the font it was printed in,
    // only when someone asks for CurrentX: the last piece of a line is rarely followed by
    // anything, and measuring costs as much as drawing.
    void SettlePrintPosition() const;

    mutable SurfaceState state_;
    mutable std::optional<QString> pendingAdvance_;
    SurfaceState pendingFont_;
    int paintOutDepth_ = 0;
};

// Paints out on a surface for as long as it lives.
class PaintOutScope {
public:
    explicit PaintOutScope(DrawSurface& surface) : surface_(surface) { surface_.BeginPaintOut(); }
    ~PaintOutScope() { surface_.EndPaintOut(); }
    PaintOutScope(const PaintOutScope&) = delete;
    PaintOutScope& operator=(const PaintOutScope&) = delete;

private:
    DrawSurface& surface_;
};

} // namespace cw
