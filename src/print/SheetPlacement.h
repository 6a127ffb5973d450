#pragma once

#include <QRectF>
#include <QSizeF>
#include <algorithm>
#include <vector>

namespace cw {

// One page to be placed on a sheet: its size as printed and the part of it that has ink,
// both in device pixels (the ink relative to the page's own corner).
struct PlacedPage {
    QSizeF size;
    QRectF ink;
    // The user's left margin from the sheet's edge; 0 to centre the page.
    double leftMargin = 0;
};

// Where the pages of one sheet go. They stand side by side in the order given, centred on the
// sheet as a group where the sheet allows, moved so that their ink stays within the usable
// area (what the printer reaches, less the safety margin), and, where asked, shrunk evenly
// when it cannot.
struct SheetPlacement {
    // Each page's corner, in device pixels from the corner of the printable area.
    std::vector<QPointF> origins;
    // The pages' printed size over their real size (1 unless shrunk).
    double fit = 1;
    // The ink that still falls outside the usable area, per side of the sheet, in device
    // pixels; all 0 when everything is on the paper.
    double cutLeft = 0, cutTop = 0, cutRight = 0, cutBottom = 0;

    // Less than half a pixel is rounding, not ink.
    bool InkCut() const { return std::max({cutLeft, cutTop, cutRight, cutBottom}) >= 0.5; }
};

// sheet: the whole sheet; printable: what the printer reaches of it (in the sheet's
// coordinates); safeMargin: the distance ink keeps from the sheet's edges in any case.
SheetPlacement PlacePages(const QSizeF& sheet, const QRectF& printable, double safeMargin,
                          const std::vector<PlacedPage>& pages, bool shrinkToFit);

} // namespace cw
