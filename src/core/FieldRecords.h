#pragma once

#include <array>
#include <cstdint>

namespace cw {

// Named views over the six attributes of a card field or base-layer record. The attributes
// mean different things for each kind; the card file's reader and writer handle them as
// slots, everything else reads them through the view of the record's kind. A view points
// at the record, which outlives it, and costs nothing.
using RecordSlots = std::array<int32_t, 6>;

namespace records {

// The low byte of a style word holds alignment and style bits; the size in whole points
// lies above it (0: the format's size).
inline constexpr int32_t PointsOfStyle(int32_t style) {
    return (style & ~0xFF) / 256;
}

// x and y of the record's corner (or centre, for round things), in card twips.
class Placed {
public:
    explicit Placed(const RecordSlots& attributes) : a_(attributes.data()) {}
    int32_t x() const { return a_[0]; }
    int32_t y() const { return a_[1]; }

protected:
    const int32_t* a_;
};

// A rectangle: corner, width and height.
class Boxed : public Placed {
public:
    using Placed::Placed;
    int32_t width() const { return a_[2]; }
    int32_t height() const { return a_[3]; }
};

} // namespace records

// Text fields, fixed and layout texts, print-only texts: the box, the colour code of the
// text and the style word (alignment, bold, italic, underline, size).
class TextRecord : public records::Boxed {
public:
    using Boxed::Boxed;
    int32_t colourCode() const { return a_[4]; }
    int32_t style() const { return a_[5]; }
    int32_t fontPoints() const { return records::PointsOfStyle(a_[5]); }
};

// A check box: its corner, the colour code of its frame, ticked or not, its side.
class CheckBoxRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t colourCode() const { return a_[2]; }
    // Nothing draws this attribute; an edited box keeps what the file had.
    int32_t spare() const { return a_[3]; }
    int32_t tickState() const { return a_[4]; }
    bool ticked() const { return a_[4] != 0; }
    int32_t side() const { return a_[5]; }
};

// A circle round a printed item: its centre, its look (1 ring, 2 underline, 3 both), its
// radius and the colour code of the ring.
class CircleRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t look() const { return a_[3]; }
    bool ringed() const { return look() == 1 || look() == 3; }
    bool underlined() const { return look() == 2 || look() == 3; }
    int32_t radius() const { return a_[4]; }
    int32_t colourCode() const { return a_[5]; }
};

// A box that is framed (1), ruled under (2) or empty (0).
class FrameBoxRecord : public records::Boxed {
public:
    using Boxed::Boxed;
    int32_t look() const { return a_[4]; }
};

// A drawn rectangle: its box, its pen (a base layer counts pens from 0, a card page from 1)
// and, on a card page, its colour code.
class RectangleRecord : public records::Boxed {
public:
    using Boxed::Boxed;
    int32_t pen() const { return a_[4]; }
    int32_t colourCode() const { return a_[5]; }
};

// A label in a box: the box, the box's style and the text's style word.
class LabelBoxRecord : public records::Boxed {
public:
    using Boxed::Boxed;
    int32_t boxStyle() const { return a_[4]; }
    int32_t textStyle() const { return a_[5]; }
};

// Text turned by an angle: its start, the angle in degrees, its colour code and style word.
class RotatedTextRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t degrees() const { return a_[2]; }
    int32_t colourCode() const { return a_[4]; }
    int32_t style() const { return a_[5]; }
};

// A line from (x1, y1) to (x2, y2): the file keeps both x before both y.
class LineRecord {
public:
    explicit LineRecord(const RecordSlots& attributes) : a_(attributes.data()) {}
    int32_t x1() const { return a_[0]; }
    int32_t x2() const { return a_[1]; }
    int32_t y1() const { return a_[2]; }
    int32_t y2() const { return a_[3]; }
    int32_t widthPixels() const { return a_[4]; }
    int32_t colourCode() const { return a_[5]; }

private:
    const int32_t* a_;
};

// A picture of the pictures folder stretched to its box (the record's text names it).
using BitmapRecord = records::Boxed;
// An area of the base layer painted out.
using ClearedAreaRecord = records::Boxed;

// A coloured dot: its centre, radius and state (the colour, or a marked pair).
class ColourDotRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t radius() const { return a_[2]; }
    int32_t state() const { return a_[3]; }
};

// A tick or asterisk that is shown (1) or not, in a style (0 tick, 1 asterisk).
class TickMarkRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t shownState() const { return a_[2]; }
    bool shown() const { return a_[2] == 1; }
    int32_t style() const { return a_[3]; }
};

// A circle in the current colour: its centre and radius.
class PlainCircleRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t radius() const { return a_[2]; }
};

// The print date's place, the width of its box, its height and the style word giving its size.
class PrintDateRecord : public records::Placed {
public:
    using Placed::Placed;
    int32_t width() const { return a_[2]; }
    int32_t height() const { return a_[3]; }
    int32_t fontPoints() const { return records::PointsOfStyle(a_[5]); }
};

// A page of a federation's blank card under the fields: its rectangle and the PDF's page
// (counted from 0); the record's text names the file.
class BlankPageRecord : public records::Boxed {
public:
    using Boxed::Boxed;
    int32_t sourcePage() const { return a_[4]; }
};

// A box that shows "NT", "S", a tick or nothing.
class OptionFieldRecord : public records::Boxed {
public:
    using Boxed::Boxed;
    int32_t state() const { return a_[4]; }
};

// A printed item that clicks circle and underline: bold or not, its look (bit 1 circled,
// bit 2 underlined), its font size in points and the colour code of its ring.
class CircledItemRecord : public records::Placed {
public:
    using Placed::Placed;
    bool bold() const { return a_[2] != 0; }
    int32_t look() const { return a_[3]; }
    int32_t fontPoints() const { return a_[4]; }
    int32_t colourCode() const { return a_[5]; }
};

// Views that change a record: the kinds filling in or layout editing write. Each hands out
// the attributes it may change by reference, so a change reads like one to a plain integer.
class MutableTextRecord : public TextRecord {
public:
    explicit MutableTextRecord(RecordSlots& attributes)
        : TextRecord(attributes), w_(attributes.data()) {}
    int32_t& x() { return w_[0]; }
    int32_t& y() { return w_[1]; }
    int32_t& width() { return w_[2]; }
    int32_t& height() { return w_[3]; }
    int32_t& colourCode() { return w_[4]; }
    int32_t& style() { return w_[5]; }

private:
    int32_t* w_;
};

class MutablePrintDateRecord : public PrintDateRecord {
public:
    explicit MutablePrintDateRecord(RecordSlots& attributes)
        : PrintDateRecord(attributes), w_(attributes.data()) {}
    int32_t& width() { return w_[2]; }
    int32_t& height() { return w_[3]; }

private:
    int32_t* w_;
};

class MutableCheckBoxRecord : public CheckBoxRecord {
public:
    explicit MutableCheckBoxRecord(RecordSlots& attributes)
        : CheckBoxRecord(attributes), w_(attributes.data()) {}
    int32_t& tickState() { return w_[4]; }

private:
    int32_t* w_;
};

class MutableCircleRecord : public CircleRecord {
public:
    explicit MutableCircleRecord(RecordSlots& attributes)
        : CircleRecord(attributes), w_(attributes.data()) {}
    int32_t& look() { return w_[3]; }

private:
    int32_t* w_;
};

class MutableFrameBoxRecord : public FrameBoxRecord {
public:
    explicit MutableFrameBoxRecord(RecordSlots& attributes)
        : FrameBoxRecord(attributes), w_(attributes.data()) {}
    int32_t& look() { return w_[4]; }

private:
    int32_t* w_;
};

class MutableColourDotRecord : public ColourDotRecord {
public:
    explicit MutableColourDotRecord(RecordSlots& attributes)
        : ColourDotRecord(attributes), w_(attributes.data()) {}
    int32_t& state() { return w_[3]; }

private:
    int32_t* w_;
};

class MutableTickMarkRecord : public TickMarkRecord {
public:
    explicit MutableTickMarkRecord(RecordSlots& attributes)
        : TickMarkRecord(attributes), w_(attributes.data()) {}
    int32_t& shownState() { return w_[2]; }

private:
    int32_t* w_;
};

class MutableOptionFieldRecord : public OptionFieldRecord {
public:
    explicit MutableOptionFieldRecord(RecordSlots& attributes)
        : OptionFieldRecord(attributes), w_(attributes.data()) {}
    int32_t& state() { return w_[4]; }

private:
    int32_t* w_;
};

class MutableCircledItemRecord : public CircledItemRecord {
public:
    explicit MutableCircledItemRecord(RecordSlots& attributes)
        : CircledItemRecord(attributes), w_(attributes.data()) {}
    int32_t& look() { return w_[3]; }

private:
    int32_t* w_;
};

} // namespace cw
