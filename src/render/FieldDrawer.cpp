#include "FieldDrawer.h"

#include "DrawingContext.h"
#include "ErrorTrap.h"
#include "FieldRecords.h"
#include "FileOps.h"
#include "RenderLocations.h"

#include <QImageReader>

namespace cw {

namespace {

constexpr int32_t kPageFoot = 205;

std::string TrimRight(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

struct LabelLook {
    Rgb fill;
    Rgb border;
    int32_t textCode;
};

// The looks of label boxes by the low byte of the box style.
std::optional<LabelLook> LookOf(int look) {
    switch (look) {
    case 1:
        return LabelLook{colour::LightGrey, colour::Red, 64};
    case 2:
        return LabelLook{colour::DarkGreen, colour::Black, 12};
    case 3:
        return LabelLook{colour::Red, colour::Black, 67};
    case 4:
        return LabelLook{colour::LightGrey, colour::DarkGreen, 64};
    case 5:
        return LabelLook{colour::LightGrey, colour::White, 64};
    case 6:
        return LabelLook{colour::LightGrey, colour::Black, 64};
    default:
        return std::nullopt;
    }
}

} // namespace

FieldDrawer::FieldDrawer(ErrorTrap& errors, const DrawingContext& drawing, RenderState& state,
                         TextDrawer& text)
    : errors_(errors), dc_(drawing), state_(state), text_(text) {}

int32_t FieldDrawer::Pixel() const {
    return dc_.twipsPerPixel;
}

bool FieldDrawer::IsOnPage(int32_t bottom) {
    if (!state_.Printing() || !HasSurface())
        return true;
    if (bottom + kPageFoot <= Surface().PageHeight())
        return true;
    state_.FieldTooFarDown = true;
    return false;
}

void FieldDrawer::DrawRectangle(int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t penWidth, Rgb colour, bool filled) {
    errors_.Guard(loc::DrawRectangle, [&] {
        if (!HasSurface())
            return;
        DrawSurface& s = Surface();
        s.SetDrawWidth(state_.LineWidth * penWidth);
        if (filled) {
            s.Line(x, y, x + width, y + height, colour, LineMode::BoxFill);
            return;
        }
        // Four lines rather than a box, so that a solid fill style does not fill it.
        s.Line(x, y, x + width, y, colour);
        s.Line(x, y, x, y + height, colour);
        s.Line(x + width, y, x + width, y + height, colour);
        s.Line(x, y + height, x + width, y + height, colour);
    });
}

void FieldDrawer::DrawLineField(char orientation, int32_t x, int32_t y, int32_t length) {
    errors_.Guard(loc::DrawLineField, [&] {
        if (!HasSurface())
            return;
        DrawSurface& s = Surface();
        s.SetDrawWidth(state_.LineWidth);
        if (orientation == 'X')
            s.Line(x, y, x + length, y, s.ForeColor());
        else
            s.Line(x, y, x, y + length, s.ForeColor());
    });
}

void FieldDrawer::DrawThickLine(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t width,
                                Rgb colour) {
    errors_.Guard(loc::DrawThickLine, [&] {
        if (!HasSurface())
            return;
        DrawSurface& s = Surface();
        s.SetDrawWidth(width == 0 ? 1 : width);
        s.Line(x1, y1, x2, y2, colour);
    });
}

void FieldDrawer::DrawTickMark(int32_t x, int32_t y, Rgb colour, int32_t style,
                               std::optional<int32_t> size) {
    errors_.Guard(loc::DrawTickMark, [&] {
        if (!HasSurface())
            return;
        DrawSurface& s = Surface();
        const Rgb foreColor = s.ForeColor();
        s.SetForeColor(colour);
        const int32_t p = Pixel();
        if (style == 0) {
            s.SetDrawWidth(2 * state_.LineWidth);
            if (!size) {
                s.Line(x, y, x + 4 * p, y + 5 * p, colour);
                s.Line(x + 4 * p, y + 5 * p, x + 12 * p, y - 6 * p, colour);
            } else {
                double side = *size;
                s.Line(x, y + side / 2, x + side / 2, y + side, colour);
                s.Line(x + side / 2, y + side, x + 1.5 * side, y - side / 2, colour);
            }
        } else if (style == 1) {
            s.SetFontSize(dc_.viewScale * dc_.fonts.BasicFontSize);
            s.SetFontBold(dc_.fonts.BasicFontBold);
            s.SetCurrentX(x);
            s.SetCurrentY(y - 60);
            s.Print(QStringLiteral("*"));
        }
        s.SetForeColor(foreColor);
    });
}

void FieldDrawer::DrawCheckBox(bool redraw, bool ticked, int32_t x, int32_t y, int32_t size,
                               Rgb colour) {
    errors_.Guard(loc::DrawCheckBox, [&] {
        if (!HasSurface())
            return;
        DrawSurface& s = Surface();
        const int32_t p = Pixel();
        const FormatTraits traits = dc_.profile.traits;
        if (state_.Printing() && traits.checkBoxesRaisedOnPaper)
            y -= 2 * p;
        const int32_t side = size;
        const int32_t style = dc_.fonts.CheckBoxStyle;
        auto emptyBox = [&] {
            s.Line(x, y, x + side, y + side, colour, LineMode::Box);
            s.Line(x + p, y + p, x + side - p, y + side - p, colour::White, LineMode::BoxFill);
        };
        auto cross = [&](Rgb penColour) {
            s.Line(x, y, x + side, y + side, penColour);
            s.Line(x, y + side, x + side, y, penColour);
        };
        if (ticked) {
            emptyBox();
            if (style == 0)
                s.Line(x, y, x + side, y + side, colour, LineMode::BoxFill);
            else if (style == 1)
                DrawTickMark(x, y, colour, 0, side);
            else if (style == 2)
                cross(colour);
        } else {
            if (!redraw) {
                // The tick reaches beyond the box: what lay beneath it comes back.
                PaintOutScope out(s);
                if (style == 1)
                    DrawTickMark(x, y, colour::White, 0, side);
                else if (style == 2)
                    cross(colour::White);
            }
            emptyBox();
        }
        if (traits.checkBoxShade == CheckBoxShade::StepsBelow) {
            s.SetDrawWidth(1);
            for (int32_t k : {7, 14, 21, 28}) {
                s.Line(x + k, y + side + k, x + k + side + 7, y + side + k, colour);
                s.Line(x + side + k, y + k, x + side + k, y + k + side + 7, colour);
            }
        } else if (traits.checkBoxShade == CheckBoxShade::StepsAbove) {
            s.SetDrawWidth(1);
            for (int32_t k : {7, 14, 21}) {
                s.Line(x + k, y - k, x + k + side + 7, y - k, colour);
                s.Line(x + side + k, y + side - k, x + side + k, y - k, colour);
            }
        }
    });
}

void FieldDrawer::DrawLabelBox(int32_t x, int32_t y, int32_t width, int32_t height,
                               int32_t boxStyle, const std::string& text, int32_t textStyle) {
    errors_.Guard(loc::DrawLabelBox, [&] {
        if (!HasSurface())
            return;
        DrawSurface& s = Surface();
        const int look = boxStyle & 0xFF;
        const int border = (boxStyle >> 8) & 0xFF;
        int32_t offset = (boxStyle >> 16) & 0xFFFF;
        if (offset >= 100)
            offset = 100 - offset;
        std::optional<LabelLook> shape = LookOf(look);
        int32_t textCode = 64;
        if (shape) {
            textCode = shape->textCode;
            s.Line(x, y, x + width, y + height, shape->fill, LineMode::BoxFill);
            if (border != 0) {
                const int pen = s.DrawWidth();
                s.SetDrawWidth(border);
                s.Line(x, y, x + width, y + height, shape->border, LineMode::Box);
                s.SetDrawWidth(pen);
            }
        }
        int32_t textY = y + Pixel() * offset;
        text_.DrawFieldText(x, textY, TrimRight(text), width,
                            look == 2 ? TextDrawer::SingleLineHeight : height, textCode, textStyle);
    });
}

RingGeometry FieldDrawer::RingFor(const QString& label) const {
    static const struct {
        const char16_t* labels[21];
        RingGeometry ring;
    } kRings[] = {
        {{u"Q"}, {59, 112, 82}},
        {{u"10", u"kn", u"(x)", u"(X)"}, {82, 112, 90}},
        {{u"(x x)"}, {150, 112, 130}},
        {{u"A", u"K", u"X", u"H", u"V", u"G", u"\u00C1"}, {45, 97, 82}},
        {{u"T"}, {44, 97, 82}},
        {{u"x"}, {30, 115, 67}},
        {{u"J", u"9", u"8", u"7", u"D",  u"R",  u"E",  u"B",  u"1",  u"2",
          u"3", u"4", u"5", u"6", u"2,", u"3,", u"4,", u"5,", u"6,", u"0"},
         {37, 97, 82}},
    };
    // Labels outside the table get the ring of a single narrow character.
    RingGeometry ring;
    for (const auto& row : kRings)
        for (const char16_t* one : row.labels)
            if (one && label == QStringView(one))
                ring = row.ring;
    const RingShift shift = dc_.profile.traits.ring;
    ring.radius += shift.radius;
    ring.dx += shift.dx + (label == QLatin1String("10") ? shift.tenDx : 0);
    ring.dy += shift.dy;
    return ring;
}

void FieldDrawer::DrawCircledItem(int index, bool paintOutFirst) {
    errors_.Guard(
        loc::DrawCircledItem,
        [&] {
            if (!HasSurface())
                return;
            DrawSurface& s = Surface();
            const CardField& record = dc_.page->Field(CircledItem, index);
            const CircledItemRecord item(record.a);
            if (state_.Printing()) {
                s.SetFontSize(item.fontPoints());
                s.SetDrawWidth(2);
            } else {
                s.SetFontSize(dc_.viewScale * item.fontPoints());
                s.SetDrawWidth(1);
            }
            if (dc_.profile.traits.circleLabelsInArial)
                s.SetFontName(QStringLiteral("Arial"));
            s.SetFillStyle(FillTransparent);
            s.SetFontItalic(false);
            s.SetFontUnderline(false);
            s.SetForeColor(colour::Black);
            const bool bold = item.bold();
            s.SetFontBold(bold);

            const QString label = text_.Codec().Decode(record.text);
            const RingGeometry ring = RingFor(label);
            const int32_t x = item.x() + dc_.pageOffsetX;
            const int32_t y = item.y();
            auto printLabel = [&] {
                s.SetCurrentX(x);
                s.SetCurrentY(y);
                s.Print(label);
            };
            auto drawRing = [&](Rgb ringColour) {
                s.Circle(x + ring.dx, y + ring.dy, ring.radius, ringColour);
            };
            const int32_t look = item.look() & 3;
            if (paintOutFirst) {
                // The look before is painted out, underline and all.
                PaintOutScope out(s);
                s.SetFontUnderline(true);
                s.SetCurrentX(x);
                s.SetCurrentY(y);
                s.Print(label);
                drawRing(colour::White);
            }
            s.SetFontUnderline((look & 2) != 0);
            printLabel();
            if (look & 1)
                drawRing(text_.ResolveColour(item.colourCode(), 'r'));
            s.SetFontUnderline(false);
        },
        [index] { return std::vector<ErrValue>{index}; });
}

void FieldDrawer::DrawBitmap(int32_t x, int32_t y, int32_t width, int32_t height,
                             const std::string& fileName) {
    errors_.Guard(
        loc::DrawBitmap,
        [&] {
            if (!HasSurface() || !IsOnPage(y + height))
                return;
            QImage picture;
            std::optional<fs::path> found;
            if (!fileName.empty())
                found = ResolveExisting(dc_.profile.bmpsDir / fileName);
            if (found) {
                // A picture is read once, and again when its file changes.
                std::error_code ec;
                auto written = fs::last_write_time(*found, ec).time_since_epoch().count();
                QString key = QString::fromStdString(found->string()) + u'|' +
                              QString::number(qint64(written));
                auto it = pictures_.constFind(key);
                if (it != pictures_.constEnd()) {
                    picture = *it;
                } else {
                    picture = QImageReader(QString::fromStdString(found->string())).read();
                    if (!picture.isNull())
                        pictures_.insert(key, picture);
                }
            }
            if (picture.isNull()) {
                // Told once per picture by the drawing's owner: the card is drawn again at
                // every zoom and scroll.
                notices_.push_back(
                    {"picture\n" + fileName,
                     "Bit map file " + fileName +
                         (found ? " cannot be read: it is not a picture this program knows."
                                : " is missing.")});
                return;
            }
            Surface().PaintPicture(picture, x, y, width, height);
        },
        [&fileName] { return std::vector<ErrValue>{fileName}; });
}

void FieldDrawer::DrawNTSMark(int index, bool redraw) {
    errors_.Guard(
        loc::DrawNTSMark,
        [&] {
            if (!HasSurface())
                return;
            DrawSurface& s = Surface();
            const OptionFieldRecord field(dc_.page->Field(OptionField, index).a);
            const bool printing = state_.Printing();
            const int32_t p = Pixel();
            const int32_t a = printing ? p : 2 * p;
            const int32_t b = printing ? -p : 0;
            const int32_t c = printing ? 2 * p : 0;
            const int32_t d = printing ? 4 * p : 0;
            const int32_t e = printing ? 7 * p : 0;
            const int32_t x = field.x() + dc_.pageOffsetX;
            const int32_t y = field.y();
            s.SetFontName(QStringLiteral("Times New Roman"));
            // Point sizes do not follow the view's scale by themselves.
            s.SetFontSize(printing ? 9.0 : 9.75 * dc_.viewScale);
            s.SetFontBold(!printing);
            s.SetFontItalic(false);
            s.SetFontUnderline(false);
            auto printAt = [&](const char* text, int32_t atX, int32_t atY) {
                s.SetCurrentX(atX);
                s.SetCurrentY(atY);
                s.Print(QString::fromLatin1(text));
            };
            if (!redraw) {
                PaintOutScope out(s);
                for (auto [mark, atX] : {std::pair{"NT", x + a}, std::pair{"S", x + a + 2 * p}}) {
                    s.SetCurrentX(atX);
                    s.SetCurrentY(y + b + p);
                    s.Print(QString::fromLatin1(mark));
                }
                DrawTickMark(x, y + p, colour::White, 0, 127);
            }
            s.SetForeColor(colour::Black);
            switch (field.state()) {
            case 1:
                printAt("NT", x + a, y + b + p);
                break;
            case 2:
                printAt("S", x + a + c + 2 * p, y + b + p);
                break;
            case 3:
                DrawTickMark(x + d, y + b + p, colour::Black, 0, 127);
                break;
            default:
                break;
            }
            DrawRectangle(x, y + b, field.width() + e, field.height(), 1, colour::Black, false);
        },
        [index] { return std::vector<ErrValue>{index}; });
}

} // namespace cw
