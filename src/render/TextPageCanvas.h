#pragma once

#include "DrawingContext.h"
#include "FontBook.h"
#include "RenderState.h"
#include "TextDrawer.h"
#include "TextLineWriter.h"

#include <QImage>
#include <QSize>
#include <QStringList>

namespace cw {

class ErrorTrap;

// The screen picture of a page of a plain text (supplemental notes, reference texts): its
// lines drawn through the same line writer that prints them, on white, with one line tinted
// when it is to be pointed out.
class TextPageCanvas {
public:
    // profile gives the code page of the texts.
    TextPageCanvas(ErrorTrap& errors, const FormatProfile& profile, int twipsPerPixel);

    // Height of one line in pixels, in the style's font.
    int LineHeightPixels(const TextLineStyle& style);
    // Width of the widest of lines in pixels, margins included.
    int WidthPixels(const QStringList& lines, const TextLineStyle& style);

    // Draws lines on a picture of size; highlight is the index of a line to tint (-1: none).
    const QImage& Draw(const QStringList& lines, const TextLineStyle& style, QSize size,
                       int highlight = -1);
    const QImage& Picture() const { return picture_; }
    // The code page of the current format's texts.
    const TextCodec& Codec() const { return drawer_.Codec(); }
    // The family a font name is drawn with (for editors that show the same text).
    QString FontFamily(const QString& name) { return fonts_.Family(name); }

    // The left margin of the lines in pixels.
    static constexpr int MarginPixels = 6;

private:
    int twipsPerPixel_;
    DrawingContext drawing_;
    FontBook fonts_;
    RenderState state_;
    TextDrawer drawer_;
    QImage picture_;
};

} // namespace cw
