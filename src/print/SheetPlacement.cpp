#include "SheetPlacement.h"

#include <algorithm>

namespace cw {

namespace {

// Where a stretch of length size starts so that its ink [inkStart, inkEnd) (relative to its
// start) lies within [low, high): at wanted where that already holds, moved the least
// otherwise; when the ink is longer than the room, its start is at low.
double KeepInside(double wanted, double inkStart, double inkEnd, double low, double high) {
    if (inkEnd - inkStart > high - low)
        return low - inkStart;
    if (wanted + inkStart < low)
        return low - inkStart;
    if (wanted + inkEnd > high)
        return high - inkEnd;
    return wanted;
}

} // namespace

SheetPlacement PlacePages(const QSizeF& sheet, const QRectF& printable, double safeMargin,
                          const std::vector<PlacedPage>& pages, bool shrinkToFit) {
    SheetPlacement placement;
    if (pages.empty())
        return placement;
    const QRectF usable = printable.intersected(
        QRectF(QPointF(0, 0), sheet).adjusted(safeMargin, safeMargin, -safeMargin, -safeMargin));

    // The group of pages side by side, and its ink, at real size.
    double width = 0, height = 0;
    QRectF ink;
    for (const PlacedPage& page : pages) {
        if (!page.ink.isEmpty())
            ink = ink.united(page.ink.translated(width, 0));
        width += page.size.width();
        height = std::max(height, page.size.height());
    }
    if (ink.isEmpty())
        ink = QRectF(0, 0, width, height);

    if (shrinkToFit && !usable.isEmpty())
        placement.fit =
            std::min({1.0, usable.width() / ink.width(), usable.height() / ink.height()});
    const double f = placement.fit;

    const bool ownMargin = pages.size() == 1 && pages.front().leftMargin > 0;
    const double wantedX = ownMargin ? pages.front().leftMargin : (sheet.width() - width * f) / 2;
    const double wantedY = (sheet.height() - height * f) / 2;
    const double x =
        KeepInside(wantedX, ink.left() * f, ink.right() * f, usable.left(), usable.right());
    const double y =
        KeepInside(wantedY, ink.top() * f, ink.bottom() * f, usable.top(), usable.bottom());

    double left = x;
    for (const PlacedPage& page : pages) {
        placement.origins.emplace_back(left - printable.left(), y - printable.top());
        left += page.size.width() * f;
    }
    const QRectF placedInk(x + ink.left() * f, y + ink.top() * f, ink.width() * f,
                           ink.height() * f);
    placement.cutLeft = std::max(0.0, usable.left() - placedInk.left());
    placement.cutTop = std::max(0.0, usable.top() - placedInk.top());
    placement.cutRight = std::max(0.0, placedInk.right() - usable.right());
    placement.cutBottom = std::max(0.0, placedInk.bottom() - usable.bottom());
    return placement;
}

} // namespace cw
