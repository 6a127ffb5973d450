#pragma once

#include "BlankCardPdf.h"

#include <QSize>
#include <QSizeF>
#include <filesystem>

namespace cw {

// A federation's blank card as a scanned or drawn picture (PNG, JPEG): its size in pixels and
// on paper. The picture is drawn at its own resolution.
class BlankCardPicture {
public:
    // Pictures that do not say their resolution, or give a screen's (72 or 96 dpi, which is
    // also what a picture without one reads as), are taken at the resolution scanners use for
    // documents: at 96 dpi a card's scan would come out three times its size.
    static constexpr double AssumedDotsPerInch = 300;
    static constexpr double LowestScanDotsPerInch = 100;
    // Pictures above this many pixels (an A4 page at 600 dpi holds 35 million) would take
    // more memory than a card's page is worth.
    static constexpr qint64 MaxPixels = 60'000'000;

    // Throws BlankCardError when the file is missing, not a picture the program reads, too
    // large, or more than a metre across at its resolution.
    explicit BlankCardPicture(const std::filesystem::path& file);

    QSize Pixels() const { return pixels_; }
    double DotsPerInch() const { return dotsPerInch_; }
    // The page the picture makes, in twips.
    QSizeF PageSizeTwips() const;

private:
    QSize pixels_;
    double dotsPerInch_ = AssumedDotsPerInch;
};

} // namespace cw
