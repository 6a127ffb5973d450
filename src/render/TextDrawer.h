#pragma once

#include "Colour.h"
#include "DrawSurface.h"
#include "RenderState.h"
#include "TextCodec.h"

#include <QHash>
#include <QStringList>
#include <cstdint>
#include <string>

namespace cw {

class ErrorTrap;
struct DrawingContext;

// How a field's text was fitted into its field: at its own size, smaller, or, too long even
// at the smallest size, cut at the field's edge.
struct FieldFit {
    double points = 0;    // the size the text was drawn at
    double ownPoints = 0; // the field's own size
    bool cut = false;

    bool Shrunk() const { return points < ownPoints; }
};

// What decides how a text fits its field on a surface.
struct FitKey {
    QString body;
    QString fontName;
    int32_t width = 0, height = 0;
    double fontSize = 0, deviceTwipsPerPixel = 0;
    int flags = 0; // bold 1, italic 2, printing 4

    bool operator==(const FitKey&) const = default;
};
size_t qHash(const FitKey& key, size_t seed = 0);

// Text on a card: the colour codes and bars of text fields, the font prefix "#<" name ">#",
// the size and style bits of the style word, word wrapping by measured widths, the suit
// markup "<c>" "<d>" "<h>" "<s>" and "<1>".."<5>" drawn with the suit font, vertical text
// and rotated text. Every width is measured on the surface, so the same code lays text out
// on the screen, on paper and in the recorder of the tests.
class TextDrawer {
public:
    static constexpr int SingleLineHeight = 240;
    static constexpr int MaxParagraphs = 64;
    static constexpr int LongParagraph = 500;
    // A text too long for its field is drawn smaller, down to this share of its size and
    // never below MinimumPoints, before it is cut.
    static constexpr double SmallestShare = 0.6;
    static constexpr double MinimumPoints = 5;
    static constexpr double ShrinkStepPoints = 0.5;

    TextDrawer(ErrorTrap& errors, const DrawingContext& drawing, RenderState& state);

    void SetSurface(DrawSurface* surface) {
        surface_ = surface;
        fits_.clear();
    }
    DrawSurface* Surface() const { return surface_; }

    // The code page of the current format's texts: windows-1251 for RUSSIA, else
    // windows-1252.
    const TextCodec& Codec() const;

    // One text field: colour code and bar, font prefix, style word, one line at height 240
    // or wrapped lines otherwise. y moves on by the lines drawn (and by the print offset of
    // card text on paper). vertical draws the text top to bottom instead.
    void DrawFieldText(int32_t x, int32_t& y, const std::string& text, int32_t width,
                       int32_t height, int32_t colourCode, int32_t style, bool vertical = false);

    // How the last field text drawn was fitted into its field.
    const FieldFit& LastFit() const { return lastFit_; }

    // Prints text from (x, y) with its suit markup drawn as symbols.
    void DrawSuitText(double x, double y, const QString& text, DrawSurface& surface);
    // Prints before in the current font, then one suit-font character in colour.
    void DrawSuitSymbol(const QString& before, QChar symbol, Rgb colour, DrawSurface& surface);

    // The width of text as DrawSuitText draws it in the surface's font: each suit tag
    // takes the width of its symbol, not of its three characters.
    double SuitTextWidth(const QString& text, DrawSurface& surface) const;

    // The x at which line is printed in a field at left with width, by the style's
    // alignment, measured as drawn (suit symbols and all); sets bold, italic and underline
    // by the style word.
    int32_t AlignTextX(int32_t left, int32_t width, const QString& line, int32_t style);
    // Bold, italic and underline of the style word on the surface.
    void ApplyFontStyle(int32_t style);

    // Sets the surface's font name and size for a field text; returns the text without its
    // font prefix.
    QString ApplyFieldFont(DrawSurface& surface, const QString& text, int32_t style);

    void DrawVerticalText(int32_t x, int32_t y, const QString& text);

    // Text turned by escapement tenths of a degree, in a font of its own whose character
    // cell is size points high.
    void DrawRotatedText(DrawSurface& surface, const QString& text, double x, double y,
                         const QString& fontName, int32_t size, int weight, int escapement,
                         bool italic, bool underline, bool strikeOut);

    // The colour of a code: kind 't' for text (colour codes of text fields), 'r' for lines
    // and shapes, where codes beyond the table are colours themselves.
    Rgb ResolveColour(int32_t code, char kind);

    static QString GetFontPrefix(const QString& text);
    static QString StripFontPrefix(const QString& text);

    // Works out PrintFontReduction: how much smaller card text must be on the printer so
    // that it is no wider than on the screen. screen carries the screen's font.
    void CalibratePrinterFont(DrawSurface& printer, const DrawSurface& screen);

private:
    bool Printing() const { return state_.PrintMode == 1; }
    int32_t Pixel() const;
    void DrawFieldTextBody(int32_t x, int32_t& y, const std::string& text, int32_t width,
                           int32_t height, int32_t colourCode, int32_t style, bool vertical);
    void DrawBar(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colourCode,
                 Rgb barColour);
    void DrawParagraph(int32_t x, int32_t& y, int32_t width, const QString& paragraph,
                       int32_t style);
    // The lines a paragraph is wrapped into at the surface's font.
    QStringList WrapParagraph(int32_t width, const QString& paragraph) const;
    // Whether body fits a field of width and height at the surface's font.
    bool FitsField(const QString& body, int32_t width, int32_t height) const;
    // Makes the surface's font as small as body needs to fit, within the limits.
    FieldFit FitFieldText(const QString& body, int32_t width, int32_t height);
    FieldFit MeasureFit(const QString& body, int32_t width, int32_t height, double scale);
    void DrawLine(int32_t x, int32_t& y, int32_t width, const QString& line, int32_t style);

    ErrorTrap& errors_;
    const DrawingContext& dc_;
    RenderState& state_;
    DrawSurface* surface_ = nullptr;
    FieldFit lastFit_;
    // How texts were fitted on this surface, by text, field size and font: a page drawn
    // again measures nothing anew.
    QHash<FitKey, FieldFit> fits_;
    static constexpr qsizetype MaxKeptFits = 4096;
};

} // namespace cw
