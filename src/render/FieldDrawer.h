#pragma once

#include "Colour.h"
#include "RenderState.h"
#include "TextDrawer.h"

#include <QHash>
#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cw {

class ErrorTrap;
struct DrawingContext;

// Something a drawing could not show, for its owner to tell the user once (by key).
struct DrawingNotice {
    std::string key;
    std::string text;
};

// Where the ring of a circled item goes, from the item's corner, and its radius (twips).
struct RingGeometry {
    int32_t dx = 37;
    int32_t dy = 97;
    int32_t radius = 82;
};

// The drawers of single card items: boxes, lines, ticks, check boxes, label boxes, circled
// items, pictures and the "NT"/"S" option marks. They draw on the surface the text drawer
// holds, in card twips.
class FieldDrawer {
public:
    FieldDrawer(ErrorTrap& errors, const DrawingContext& drawing, RenderState& state,
                TextDrawer& text);

    // True on screen; on paper true only when bottom + 205 twips is still on the page, and
    // otherwise notes that an item did not fit.
    bool IsOnPage(int32_t bottom);

    void DrawRectangle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t penWidth,
                       Rgb colour, bool filled);
    // A line in ForeColor: orientation 'X' horizontal, anything else vertical.
    void DrawLineField(char orientation, int32_t x, int32_t y, int32_t length);
    void DrawThickLine(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t width, Rgb colour);
    // Style 0 a tick (of a check box's size when given), style 1 an asterisk.
    void DrawTickMark(int32_t x, int32_t y, Rgb colour, int32_t style,
                      std::optional<int32_t> size = std::nullopt);
    // redraw: the box is drawn afresh (whole page); otherwise its previous mark is painted
    // out first (a click).
    void DrawCheckBox(bool redraw, bool ticked, int32_t x, int32_t y, int32_t size, Rgb colour);
    void DrawLabelBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t boxStyle,
                      const std::string& text, int32_t textStyle);
    // Circled item index of the card in its state (plain, circled, underlined, both); with
    // paintOutFirst, whatever look it had is painted out first (a click).
    void DrawCircledItem(int index, bool paintOutFirst = false);
    // A picture of the pictures folder stretched to the rectangle.
    void DrawBitmap(int32_t x, int32_t y, int32_t width, int32_t height,
                    const std::string& fileName);
    // Option field index of the card: its "NT", "S" or tick and its box.
    void DrawNTSMark(int index, bool redraw);

    // The ring of a circled item with this label in the current format.
    RingGeometry RingFor(const QString& label) const;

    // Pictures already loaded, by path, so that a redraw does not read them again.
    void ForgetPictures() { pictures_.clear(); }
    // What could not be drawn since the last call.
    std::vector<DrawingNotice> TakeNotices() { return std::exchange(notices_, {}); }

private:
    DrawSurface& Surface() const { return *text_.Surface(); }
    bool HasSurface() const { return text_.Surface() != nullptr; }
    int32_t Pixel() const;

    ErrorTrap& errors_;
    const DrawingContext& dc_;
    RenderState& state_;
    TextDrawer& text_;
    QHash<QString, QImage> pictures_;
    std::vector<DrawingNotice> notices_;
};

} // namespace cw
