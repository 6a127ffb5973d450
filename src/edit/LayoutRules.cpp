#include "LayoutRules.h"

#include "FieldRecords.h"
#include "FileOps.h"
#include "FontPrefix.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cw {

namespace {

bool Inside(double value, double low, double high) {
    return value >= low && value <= high;
}

// How the rubber band's corner and size are corrected for a border of 1 to 4 pixels.
struct BorderCorrection {
    double left, top, width, height;
};
constexpr BorderCorrection kBorderCorrections[4] = {
    {0, 0.5, -1, -1}, {-1.5, -0.5, 0, 0}, {-1, -0.5, 1, 1}, {-2, -1.5, 2, 2}};

const BorderCorrection& CorrectionFor(int borderWidth) {
    return kBorderCorrections[std::clamp(borderWidth, 1, 4) - 1];
}

// A text as a record stores it: no blanks at its end, and no double quote (the card file
// writes texts between double quotes), each one kept as two apostrophes.
std::string StoredText(const std::string& text) {
    std::string body = text;
    while (!body.empty() && body.back() == ' ')
        body.pop_back();
    std::string stored;
    for (char c : body) {
        if (c == '"')
            stored += "''";
        else
            stored += c;
    }
    return stored;
}

constexpr int32_t kBold = 16;
constexpr int32_t kItalic = 32;
constexpr int32_t kCardFontStyle = 64;
constexpr int32_t kUnderline = 128;

int32_t AlignmentCode(const TextFieldEntry& entry, int32_t height) {
    return std::clamp(entry.alignment, 0, 2) + (height != 240 ? 3 : 0);
}

} // namespace

TwipRect DragRect(double anchorX, double anchorY, double x, double y) {
    TwipRect rect;
    rect.left = std::min(anchorX, x);
    rect.width = std::fabs(x - anchorX);
    rect.top = std::min(anchorY, y);
    rect.height = std::fabs(y - anchorY);
    return rect;
}

TwipRect ClipToCard(const TwipRect& rect, double cardWidth, double cardHeight) {
    TwipRect clipped;
    clipped.left = std::clamp(rect.left, 0.0, cardWidth);
    clipped.top = std::clamp(rect.top, 0.0, cardHeight);
    clipped.width = std::max(0.0, std::min(rect.Right(), cardWidth) - clipped.left);
    clipped.height = std::max(0.0, std::min(rect.Bottom(), cardHeight) - clipped.top);
    return clipped;
}

int32_t RoundHalfEven(double value) {
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return int32_t(std::clamp(std::nearbyint(value), low, high));
}

std::optional<FieldHit> PickFieldAt(const CardPage& page, int32_t x, int32_t y,
                                    int32_t twipsPerPixel) {
    const auto& boxes = page.Fields(CheckBox);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const CheckBoxRecord box(boxes[i].a);
        if (Inside(x, box.x(), box.x() + box.side() - 1) &&
            Inside(y, box.y(), box.y() + box.side() - 1))
            return FieldHit{CheckBox, int(i)};
    }
    const auto& lines = page.Fields(Line);
    for (size_t i = 0; i < lines.size(); ++i) {
        LineEnds ends = EndsOfLine(lines[i]);
        int32_t reach = std::max(1, LineRecord(lines[i].a).widthPixels()) * twipsPerPixel;
        if (ends.y1 == ends.y2) {
            if (Inside(x, std::min(ends.x1, ends.x2), std::max(ends.x1, ends.x2)) &&
                Inside(y, ends.y1, ends.y1 + reach))
                return FieldHit{Line, int(i)};
        } else if (ends.x1 == ends.x2) {
            if (Inside(y, std::min(ends.y1, ends.y2), std::max(ends.y1, ends.y2)) &&
                Inside(x, ends.x1, ends.x1 + reach))
                return FieldHit{Line, int(i)};
        }
    }
    const double outline = 3.0 * twipsPerPixel;
    const auto& rectangles = page.Fields(Rectangle);
    for (size_t i = 0; i < rectangles.size(); ++i) {
        const RectangleRecord r(rectangles[i].a);
        bool nearOuter = Inside(x, r.x() - outline, r.x() + r.width() + outline) &&
                         Inside(y, r.y() - outline, r.y() + r.height() + outline);
        bool wellInside = x > r.x() + outline && x < r.x() + r.width() - outline &&
                          y > r.y() + outline && y < r.y() + r.height() - outline;
        if (nearOuter && !wellInside)
            return FieldHit{Rectangle, int(i)};
    }
    if (int i = FindTextFieldAt(page, x, y); i >= 0)
        return FieldHit{TextField, i};
    return std::nullopt;
}

bool Overlaps(const TwipRect& a, const TwipRect& b) {
    return !(a.Right() < b.left || b.Right() < a.left || a.Bottom() < b.top || b.Bottom() < a.top);
}

TwipRect FieldArea(int kind, const CardField& field, const HitMetrics& metrics) {
    switch (kind) {
    case CheckBox: {
        const CheckBoxRecord box(field.a);
        return {double(box.x()), double(box.y()), double(box.side()), double(box.side())};
    }
    case Circle: {
        const CircleRecord c(field.a);
        return {double(c.x() - c.radius()), double(c.y() - c.radius()), 2.0 * c.radius(),
                2.0 * c.radius()};
    }
    case CircledItem: {
        const CircledItemRecord item(field.a);
        return {double(item.x() - 15), double(item.y()), double(metrics.letterWidth + 15),
                double(metrics.letterHeight)};
    }
    case TickMark: {
        const TickMarkRecord tick(field.a);
        double reach = 10.0 * metrics.twipsPerPixel;
        return {tick.x() - reach, tick.y() - reach, 2 * reach, 2 * reach};
    }
    default: { // text fields, pictures, frame boxes
        const records::Boxed box(field.a);
        return {double(box.x()), double(box.y()), double(box.width()), double(box.height())};
    }
    }
}

bool AnyFieldInArea(const CardPage& page, const TwipRect& area, const HitMetrics& metrics) {
    for (int kind : kCoverableKinds)
        for (const CardField& field : page.Fields(kind))
            if (Overlaps(FieldArea(kind, field, metrics), area))
                return true;
    return false;
}

int RemoveFieldsOverlapping(CardPage& page, const TwipRect& area, const HitMetrics& metrics) {
    int removed = 0;
    for (int kind : kCoverableKinds) {
        // The records behind a removed one move down, so the same index is looked at again.
        for (int i = 0; i < page.Count(kind);) {
            if (Overlaps(FieldArea(kind, page.Field(kind, i), metrics), area)) {
                page.Remove(kind, i);
                ++removed;
            } else {
                ++i;
            }
        }
    }
    return removed;
}

int32_t FontSizeBits(double fontSize, float basicFontSize) {
    int32_t points = std::clamp(int32_t(std::floor(fontSize + 0.5)), 1, 255);
    return double(points) == double(basicFontSize) ? 0 : points * 256;
}

std::string WithFontPrefix(const std::string& fontName, const std::string& basicFont,
                           const std::string& text) {
    std::string name;
    for (char c : fontName)
        if (c != '"')
            name += c;
    // A name that would end the prefix early cannot be written into one.
    if (name.empty() || EqualsIgnoreCase(name, basicFont) || name.find(">#") != std::string::npos)
        return text;
    return "#<" + name + ">#" + text;
}

int32_t ColourCodeOfEditorColour(int32_t rgb) {
    switch (rgb) {
    case 0x000000:
        return 0;
    case 0x0000FF:
        return 2;
    case 0x00FF00:
        return 6;
    case 0xFFFFFF:
        return 3;
    case 0xFFFF00:
        return 4;
    case 0xFF0000:
        return 5;
    default:
        return 1;
    }
}

int32_t EditorColourOfCode(int32_t code, int32_t shown, int32_t baseTextColour) {
    switch (code) {
    case 0:
        return 0x000000;
    case 1:
        return baseTextColour;
    case 2:
        return 0x0000FF;
    case 4:
        return 0xFFFF00;
    case 5:
        return 0xFF0000;
    case 6:
        return 0x00FF00;
    default:
        return shown;
    }
}

int32_t PickerCodeOfShapeColour(int32_t value) {
    if (value >= 0 && value <= 6)
        return value;
    return ColourCodeOfEditorColour(value);
}

int32_t ShapeColourOfCode(int32_t code) {
    switch (code) {
    case 0:
    case 1:
        return 0x000000;
    case 2:
        return 0x0000FF;
    case 3:
        return 0xFFFFFF;
    case 4:
        return 0xFFFF00;
    case 5:
        return 0xFF0000;
    case 6:
        return 0x00FF00;
    default: // other codes are colours themselves
        return code;
    }
}

CardField MakeTextField(const TextFieldEntry& entry, const FormatDefaults& basics) {
    CardField field;
    MutableTextRecord text(field.a);
    text.x() = RoundHalfEven(entry.rect.left);
    text.y() = RoundHalfEven(entry.rect.top);
    text.width() = RoundHalfEven(entry.rect.width);
    text.height() = entry.multiLine ? RoundHalfEven(entry.rect.height) : 240;
    text.colourCode() = entry.colourCode;
    text.style() = AlignmentCode(entry, text.height()) + (entry.bold ? kBold : 0) +
                   (entry.italic ? kItalic : 0) +
                   FontSizeBits(entry.fontSize, basics.BasicFontSize);
    field.text = WithFontPrefix(entry.fontName, basics.BasicFont, StoredText(entry.text));
    return field;
}

CardField MakeEditedTextField(const CardField& old, const TextFieldEntry& entry, bool fontChosen,
                              const FormatDefaults& basics) {
    CardField field = MakeTextField(entry, basics);
    if (fontChosen) {
        MutableTextRecord(field.a).style() |= TextRecord(old.a).style() & kUnderline;
        return field;
    }
    MutableTextRecord text(field.a);
    text.style() = (TextRecord(old.a).style() & ~7) | AlignmentCode(entry, text.height());
    field.text = GetFontPrefix(old.text) + StoredText(entry.text);
    return field;
}

TwipRect ClearedAreaAround(const CardField& textField) {
    const TextRecord text(textField.a);
    return {double(text.x() - 15), double(text.y() - 15), double(text.width() + 30),
            double(text.height() + 30)};
}

CardField MakeRectangle(const TwipRect& band, int borderWidth, int32_t colour) {
    const BorderCorrection& c = CorrectionFor(borderWidth);
    CardField field;
    field.a = {RoundHalfEven(band.left + c.left),   RoundHalfEven(band.top + c.top),
               RoundHalfEven(band.width + c.width), RoundHalfEven(band.height + c.height),
               std::clamp(borderWidth, 1, 4) - 1,   colour};
    return field;
}

int BorderWidthOfRectangle(const CardField& rectangle) {
    return std::clamp(RectangleRecord(rectangle.a).pen() + 1, 1, 4);
}

TwipRect BandOfRectangle(const CardField& rectangle) {
    const BorderCorrection& c = CorrectionFor(BorderWidthOfRectangle(rectangle));
    const RectangleRecord r(rectangle.a);
    return {r.x() - c.left, r.y() - c.top, r.width() - c.width, r.height() - c.height};
}

std::vector<CardField> MakeLines(const LineEnds& line, int width, int32_t colour, int count,
                                 int32_t spacing, bool horizontal) {
    std::vector<CardField> lines;
    for (int k = 0; k < std::max(1, count); ++k) {
        int32_t shift = k * spacing;
        CardField field;
        if (horizontal)
            field.a = {line.x1, line.x2, line.y1 + shift, line.y2 + shift, width, colour};
        else
            field.a = {line.x1 + shift, line.x2 + shift, line.y1, line.y2, width, colour};
        lines.push_back(field);
    }
    return lines;
}

LineEnds EndsOfLine(const CardField& line) {
    const LineRecord l(line.a);
    return {l.x1(), l.y1(), l.x2(), l.y2()};
}

CardField MakeCheckBox(const TwipRect& marker, int32_t colourCode, int32_t twipsPerPixel,
                       bool editing, const CardField* old) {
    CardField field;
    field.a = {RoundHalfEven(marker.left) + twipsPerPixel,
               RoundHalfEven(marker.top) + twipsPerPixel,
               colourCode,
               old ? CheckBoxRecord(old->a).spare() : 0,
               old ? CheckBoxRecord(old->a).tickState() : 0,
               RoundHalfEven(marker.width) - (editing ? twipsPerPixel : 0)};
    return field;
}

TwipRect MarkerOfCheckBox(const CardField& box, int32_t twipsPerPixel) {
    const CheckBoxRecord b(box.a);
    return {double(b.x() - twipsPerPixel), double(b.y() - twipsPerPixel),
            double(b.side() + twipsPerPixel), double(b.side() + twipsPerPixel)};
}

bool SetFontOnAllTextFields(CardPage& page, const AllFieldsChoice& choice,
                            const FormatDefaults& basics, bool keepRed) {
    bool changed = false;
    for (int i = 0; i < page.Count(TextField); ++i) {
        CardField& field = page.Field(TextField, i);
        const CardField before = field;
        MutableTextRecord text(field.a);
        int32_t& style = text.style();
        int32_t& colour = text.colourCode();
        const bool red = keepRed && colour == 2;
        if (choice.defaults) {
            style = (style & 7) + kCardFontStyle;
            if (!red)
                colour = 1;
            field.text = StripFontPrefix(field.text);
        } else if (choice.fontSet) {
            bool asCard =
                choice.bold == basics.BasicFontBold && choice.italic == basics.BasicFontItalic;
            style = (style & 7) +
                    (asCard ? kCardFontStyle
                            : (choice.bold ? kBold : 0) + (choice.italic ? kItalic : 0)) +
                    FontSizeBits(choice.fontSize, basics.BasicFontSize);
            field.text =
                WithFontPrefix(choice.fontName, basics.BasicFont, StripFontPrefix(field.text));
        }
        if (choice.colourSet && !red)
            colour = choice.colourCode;
        changed = changed || !(field == before);
    }
    return changed;
}

std::pair<double, double> PanelPosition(double x, double y, double width, double height,
                                        const CardArea& visible, double gap) {
    auto place = [](double at, double size, double low, double high, double gap = 0) {
        double start = at + gap;
        if (start + size > high)
            start = at - gap - size;
        // A point near the edge may leave room on neither side: the panel then rests
        // against the far edge, or the near one when it is larger than the part on show.
        start = std::min(start, high - size);
        return std::max(start, low);
    };
    return {place(x, width, visible.left, visible.right, gap),
            place(y, height, visible.top, visible.bottom)};
}

} // namespace cw

namespace cw {

std::pair<double, double> PanelClearOf(const TwipRect& panel, const TwipRect& area,
                                       const CardArea& visible) {
    if (!Overlaps(panel, area))
        return {panel.left, panel.top};
    constexpr double gap = 150;
    auto across = [](double at, double size, double low, double high) {
        return std::max(low, std::min(at, high - size));
    };
    const double w = panel.width, h = panel.height;
    const std::pair<double, double> places[] = {
        {across(panel.left, w, visible.left, visible.right), area.Bottom() + gap},
        {across(panel.left, w, visible.left, visible.right), area.top - gap - h},
        {area.Right() + gap, across(panel.top, h, visible.top, visible.bottom)},
        {area.left - gap - w, across(panel.top, h, visible.top, visible.bottom)},
    };
    for (const auto& [left, top] : places)
        if (left >= visible.left && left + w <= visible.right && top >= visible.top &&
            top + h <= visible.bottom)
            return {left, top};
    return {panel.left, panel.top};
}

} // namespace cw
