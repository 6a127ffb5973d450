#pragma once

#include "CardPage.h"
#include "FillIn.h"
#include "FormatDefaults.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cw {

// The rules of changing a card's layout, without any window: which field a click picks, which
// fields a new field covers, and the record each kind of new field is stored as.

// A rectangle in card twips. The rubber band may stand between whole twips (see
// BandOfRectangle), so the values are not rounded until a record is made.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool operator==(const TwipRect&) const = default;
};

// The rectangle a drag spans from its anchor to the pointer, in whichever direction it went:
// the size is always zero or more.
TwipRect DragRect(double anchorX, double anchorY, double x, double y);

// The part of rect on a card of width by height twips (empty when it lies off the card).
TwipRect ClipToCard(const TwipRect& rect, double cardWidth, double cardHeight);

// Halves go to the even neighbour, as the conversion to whole twips always has.
int32_t RoundHalfEven(double value);

// The field "Edit a Field" and "Delete a Field" take at a click: check boxes (as a click
// fills them in), lines, rectangles, then text fields (as a click opens them); the lowest
// index of a kind wins. A horizontal line is hit from its top down by its width in pixels,
// a vertical one from its left across; a rectangle is hit on its outline (within three
// pixels), so that the fields inside it can still be picked.
std::optional<FieldHit> PickFieldAt(const CardPage& page, int32_t x, int32_t y,
                                    int32_t twipsPerPixel);

// The kinds a new field or a cleared area may remove, in the order they are looked at.
// Rectangles and lines are never removed this way.
inline constexpr std::array<int, 7> kCoverableKinds = {TextField,   CheckBox, Circle,  Bitmap,
                                                       CircledItem, TickMark, FrameBox};

// Whether two rectangles overlap; touching edges count (the comparisons include them).
bool Overlaps(const TwipRect& a, const TwipRect& b);
// The rectangle a record of one of the coverable kinds takes on the card.
TwipRect FieldArea(int kind, const CardField& field, const HitMetrics& metrics);
bool AnyFieldInArea(const CardPage& page, const TwipRect& area, const HitMetrics& metrics);
// Removes every record of the coverable kinds that overlaps area; returns how many.
int RemoveFieldsOverlapping(CardPage& page, const TwipRect& area, const HitMetrics& metrics);

// ---- Text fields

// 256 times the size in whole points when that differs from the card's size, else 0. Sizes
// are kept to 1..255 points so that they never reach the bits above the size.
int32_t FontSizeBits(double fontSize, float basicFontSize);
// text behind the font prefix of fontName, or without a prefix for the card's own font.
std::string WithFontPrefix(const std::string& fontName, const std::string& basicFont,
                           const std::string& text);
// The colour code an editor's text colour (Windows RGB) stands for.
int32_t ColourCodeOfEditorColour(int32_t rgb);
// The colour the editor shows for a chosen colour code: the named colours as they are, the
// card's base text colour for code 1; white (code 3) would hide the text, so the editor keeps
// the colour it had.
int32_t EditorColourOfCode(int32_t code, int32_t shown, int32_t baseTextColour);
// The colour a shape (check box, line) of a colour code is drawn in.
int32_t ShapeColourOfCode(int32_t code);
// The colour picker's swatch (0..6) for a shape's colour value, which is a swatch code or a
// colour itself; 1 (the basic text colour) for a colour without a swatch of its own.
int32_t PickerCodeOfShapeColour(int32_t value);

// What the editor holds when a text field is stored.
struct TextFieldEntry {
    TwipRect rect;
    bool multiLine = false;
    int alignment = 0; // 0 left, 1 right, 2 centre
    std::string fontName;
    double fontSize = 10;
    bool bold = false;
    bool italic = false;
    int32_t colourCode = 1;
    std::string text; // card bytes, without a font prefix
};

// The record of a new text field: one line (height 240) unless the editor is multi-line, the
// style word from the alignment, line mode, bold, italic and size, the font prefix unless
// it is the card's font, trailing blanks removed and double quotes stored as two apostrophes.
CardField MakeTextField(const TextFieldEntry& entry, const FormatDefaults& basics);
// The record of an edited text field. Without a new font the field keeps its font (prefix,
// size, bold, italic, card-font flag) and only takes the alignment and line mode; with one it
// is made as a new field. Either way its underline stays.
CardField MakeEditedTextField(const CardField& old, const TextFieldEntry& entry, bool fontChosen,
                              const FormatDefaults& basics);
// The area cleared under a new text field: 15 twips all round.
TwipRect ClearedAreaAround(const CardField& textField);

// ---- Rectangles, lines, check boxes

// A rectangle drawn with the rubber band at a border width of 1 to 4 pixels: the band's
// corner and size corrected by the border width, in whole twips; the stored pen code is the
// border width less one.
CardField MakeRectangle(const TwipRect& band, int borderWidth, int32_t colour);
// The rubber band that gives a stored rectangle back unchanged (the correction undone).
TwipRect BandOfRectangle(const CardField& rectangle);
// The border width a stored rectangle was drawn with (1..4).
int BorderWidthOfRectangle(const CardField& rectangle);

struct LineEnds {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    bool operator==(const LineEnds&) const = default;
};
// count lines (at least one) spacing twips apart: downwards for a horizontal line, to the
// right for a vertical one. Records hold x1, x2, y1, y2, width and colour.
std::vector<CardField> MakeLines(const LineEnds& line, int width, int32_t colour, int count,
                                 int32_t spacing, bool horizontal);
LineEnds EndsOfLine(const CardField& line);

// A check box placed with the marker: inside the marker's one-pixel border. A new box is as
// wide as the marker; an edited one was given a marker one pixel larger than itself.
CardField MakeCheckBox(const TwipRect& marker, int32_t colourCode, int32_t twipsPerPixel,
                       bool editing, const CardField* old);
// The marker over a stored check box.
TwipRect MarkerOfCheckBox(const CardField& box, int32_t twipsPerPixel);

// ---- Set font on all text fields for this card

struct AllFieldsChoice {
    bool fontSet = false;
    bool colourSet = false;
    bool defaults = false;
    std::string fontName;
    double fontSize = 10;
    bool bold = false;
    bool italic = false;
    int32_t colourCode = 1;
};
// keepRed: the format keeps its red fields (code 2) as they are. Returns whether any field
// changed.
bool SetFontOnAllTextFields(CardPage& page, const AllFieldsChoice& choice,
                            const FormatDefaults& basics, bool keepRed);

// ---- The floating panel

// The part of the card on show, in card twips.
struct CardArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};
// Where the panel (width by height card twips) goes for a right click at (x, y): beside the
// point, gap to its right (or to its left when there is no room on the right), so that the
// spot clicked stays free to draw on; its top at the point's height, or above it when there
// is no room below; always inside the part of the card on show.
std::pair<double, double> PanelPosition(double x, double y, double width, double height,
                                        const CardArea& visible, double gap = 0);
// Where the panel goes so as not to hide the field being placed: where it is when it does not
// cover area, else below, above, right or left of area, the first place that is on show.
std::pair<double, double> PanelClearOf(const TwipRect& panel, const TwipRect& area,
                                       const CardArea& visible);

} // namespace cw
