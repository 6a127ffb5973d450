#include "CardRenderer.h"

#include "BasicNumbers.h"
#include "CardLibrary.h"
#include "CardPage.h"
#include "ErrorTrap.h"
#include "FieldRecords.h"
#include "FontPrefix.h"
#include "PainterSurface.h"
#include "RenderLocations.h"
#include "RuntimeError.h"

#include <cmath>
#include <optional>
#include <sstream>

namespace cw {

namespace {

constexpr size_t kKeptBaseLayers = 4;

bool Near(double a, double b) {
    return std::fabs(a - b) < 0.01;
}

Rgb DotColour(int32_t state) {
    switch (state) {
    case 1:
        return colour::Green;
    case 2:
        return colour::Blue;
    case 3:
    case 17:
        return colour::Red;
    case 4:
        return colour::Yellow;
    case 5:
        return colour::Brown;
    default: // 0 and 16
        return colour::White;
    }
}

} // namespace

CardRenderer::CardRenderer(ErrorTrap& errors)
    : errors_(errors), text_(errors, drawing_, State), drawers_(errors, drawing_, State, text_),
      measureImage_(1, 1, QImage::Format_RGB32) {}

void CardRenderer::SetBaseLayerCacheEnabled(bool enabled) {
    cacheEnabled_ = enabled;
    if (!enabled)
        cache_.clear();
}

void CardRenderer::SetLiftedField(int kind, int index) {
    liftedKind_ = kind;
    liftedIndex_ = index;
}

bool CardRenderer::IsLifted(int kind, int index) const {
    return kind == liftedKind_ && index == liftedIndex_ && !State.Printing() &&
           !State.ExportingImage;
}

void CardRenderer::Begin(const RenderRequest& request, DrawSurface& surface) {
    drawing_.page = request.page;
    drawing_.profile = request.profile;
    drawing_.fonts = request.profile.defaults;
    drawing_.backSide = request.backSide;
    drawing_.drawingBaseText = false;
    drawing_.viewScale = request.mapping.viewScale;
    drawing_.twipsPerPixel = request.mapping.twipsPerPixel;
    drawing_.pageOffsetX = request.mapping.pageOffsetX;
    baseLayer_ = request.baseLayer;
    const DrawingOptions& options = request.options;
    State.PrintMode = options.target == RenderTarget::Paper ? 1 : 0;
    State.ExportingImage = options.target == RenderTarget::Picture;
    State.PrintBlackWhite = options.blackOnly;
    State.ShowOwnCard = options.ownCard;
    State.UserTextPrintOffset = options.userTextPrintOffset;
    State.FieldTooFarDown = false;
    Resume(surface);
}

void CardRenderer::Resume(DrawSurface& surface) {
    errors_.Guard(loc::SelectSurface, [&] {
        State.LineWidth = 1;
        State.CircleNudgeX = 0;
        State.CircleNudgeY = 0;
        if (surface.IsPrinter()) {
            const double deviceTwips = surface.DeviceTwipsPerPixel();
            const bool fine = Near(deviceTwips, 2.4), coarse = Near(deviceTwips, 4.8);
            State.LineWidth = fine ? 6 : coarse ? 3 : 1;
            const bool nudged = drawing_.profile.traits.circlesNudged;
            if (nudged && fine) {
                State.CircleNudgeX = drawing_.twipsPerPixel;
            } else if (nudged && coarse) {
                State.CircleNudgeX = drawing_.twipsPerPixel;
                State.CircleNudgeY = -drawing_.twipsPerPixel;
            }
        }
        surface_ = &surface;
        text_.SetSurface(&surface);
    });
}

void CardRenderer::UseCardFont(DrawSurface& surface) {
    surface.SetFontName(text_.Codec().Decode(drawing_.fonts.BasicFont));
    surface.SetFontSize(drawing_.fonts.BasicFontSize);
}

void CardRenderer::Render(const RenderRequest& request, DrawSurface& surface) {
    Begin(request, surface);
    errors_.Guard(loc::RenderCard, [&] { DrawPage(); });
    surface.Finish();
}

void CardRenderer::DrawPage() {
    if (!surface_ || !drawing_.page || !drawing_.profile.Valid())
        return;
    DrawSurface& s = *surface_;
    const bool printing = State.Printing();
    s.FollowView(drawing_.viewScale, drawing_.twipsPerPixel);
    // Every page starts from the same pen and fill, so that it looks the same however it
    // was drawn before.
    s.ResetDrawingState();
    UseCardFont(s);

    if (printing) {
        s.SetDrawWidth(State.LineWidth);
        s.Line(105, 105, 210, 210, colour::White, LineMode::Box);
        s.Line(105, 105, 210, 210, colour::White, LineMode::BoxFill);
    }

    // The tint belongs to the card's fields; the base layer's text is cleared in white.
    State.FieldBackColour = colour::White;
    drawing_.UseFontBlock(true);
    if (!printing && cacheEnabled_ && s.Raster()) {
        DrawBaseLayerKept(s);
    } else {
        s.Clear();
        DrawBaseLayer();
        DrawErasedAreas();
        s.SetBackdrop(QImage());
    }
    afterBaseLayer_ = s.SaveState();
    drawing_.UseFontBlock(false);

    ApplyFieldTint();
    if (printing)
        CalibrateForPrinter(s);
    DrawFieldLayers();
}

bool CardRenderer::LinesOverTextBars() const {
    // On screen a text field fills a tinted bar, which would hide a drawn line under it that
    // paper shows: there the lines come after the text fields.
    return !State.Printing() && !State.ExportingImage;
}

void CardRenderer::DrawFieldLayers() {
    const bool linesLast = LinesOverTextBars();
    DrawCardLayer(!linesLast);
    DrawTextRecords();
    if (linesLast)
        DrawCardLines();
}

void CardRenderer::DrawCardLines() {
    errors_.Guard(loc::DrawCardLayer, [&] {
        const int32_t offset = drawing_.pageOffsetX;
        for (int i = 0; i < drawing_.page->Count(Line); ++i) {
            const LineRecord line(drawing_.page->Field(Line, i).a);
            if (Meets(Line, i) && !IsLifted(Line, i) && drawers_.IsOnPage(line.y2()))
                drawers_.DrawThickLine(line.x1() + offset, line.x2() + offset, line.y1(), line.y2(),
                                       line.widthPixels(),
                                       text_.ResolveColour(line.colourCode(), 'r'));
        }
    });
}

void CardRenderer::ApplyFieldTint() {
    State.FieldBackColour = colour::White;
    switch (drawing_.profile.fieldTint) {
    case 1:
        State.FieldBackColour = 0xF0F0F0;
        break;
    case 2:
        if (!State.Printing())
            State.FieldBackColour = 0xE0E0E0;
        break;
    case 3:
        if (!State.Printing())
            State.FieldBackColour = 0xFFFFC0;
        break;
    case 4: // pale yellow, the colour of a card printed on yellow stock
        if (!State.Printing())
            State.FieldBackColour = MakeRgb(0xFF, 0xFF, 0xC0);
        break;
    default:
        break;
    }
}

void CardRenderer::CalibrateForPrinter(DrawSurface& printer) {
    UseCardFont(printer);
    PainterSurface screen(measureImage_,
                          DeviceMapping::Screen(drawing_.viewScale, drawing_.twipsPerPixel),
                          measureFonts_);
    UseCardFont(screen);
    screen.SetFontSize(drawing_.viewScale * drawing_.fonts.BasicFontSize);
    text_.CalibratePrinterFont(printer, screen);
}

std::string CardRenderer::BaseLayerKey(const DrawSurface& surface) const {
    std::ostringstream key;
    const FormatDefaults& d = drawing_.fonts;
    const SurfaceState state = surface.SaveState();
    key << baseLayer_.stamp << '|' << drawing_.profile.slot << '|' << drawing_.profile.code << '|'
        << drawing_.viewScale << '|' << drawing_.twipsPerPixel << '|' << drawing_.pageOffsetX << '|'
        << State.ExportingImage << '|' << drawing_.backSide << '|' << surface.Raster()->width()
        << 'x' << surface.Raster()->height() << '|' << d.BaseTextColour << '|' << d.BasicFontSize
        << '|' << d.BasicFont << '|' << d.BasicFontBold << d.BasicFontItalic << '|'
        << state.fontName.toStdString() << '|' << state.fontSize << '|' << state.fontBold
        << state.fontItalic << state.fontUnderline << '|' << drawing_.profile.bmpsDir.string()
        << '|';
    if (baseLayer_.file)
        key << BlankPageDrawer::SourceStamp(*baseLayer_.file, baseLayer_.path.parent_path());
    for (const CardField& area : drawing_.page->Fields(ClearedArea))
        key << ClearedAreaRecord(area.a).x() << ',' << ClearedAreaRecord(area.a).y() << ','
            << ClearedAreaRecord(area.a).width() << ',' << ClearedAreaRecord(area.a).height()
            << ';';
    return key.str();
}

void CardRenderer::DrawBaseLayerKept(DrawSurface& s) {
    std::string key = BaseLayerKey(s);
    for (auto it = cache_.begin(); it != cache_.end(); ++it) {
        if (it->key != key)
            continue;
        if (s.RestoreRaster(it->picture)) {
            s.RestoreState(it->state);
            s.SetBackdrop(it->picture);
            ++reuses_;
            if (it != cache_.begin()) {
                KeptBaseLayer kept = std::move(*it);
                cache_.erase(it);
                cache_.push_front(std::move(kept));
            }
            return;
        }
        break;
    }
    s.Clear();
    DrawBaseLayer();
    // The card's erased areas belong to what its marks lie on: they are kept too (the key
    // holds them), so that painting a mark out never brings erased print back.
    DrawErasedAreas();
    QImage kept = s.Raster()->copy();
    s.RasterHolds(kept);
    s.SetBackdrop(kept);
    cache_.push_front({std::move(key), std::move(kept), s.SaveState()});
    while (cache_.size() > kKeptBaseLayers)
        cache_.pop_back();
}

void CardRenderer::DrawErasedAreas() {
    errors_.Guard(loc::DrawCardLayer, [&] {
        const int32_t offset = drawing_.pageOffsetX;
        for (const CardField& f : drawing_.page->Fields(ClearedArea)) {
            const ClearedAreaRecord area(f.a);
            surface_->Line(area.x() + offset, area.y(), area.x() + offset + area.width(),
                           area.y() + area.height(), colour::White, LineMode::BoxFill);
        }
    });
}

bool CardRenderer::InErasedArea(int32_t x, int32_t y) const {
    for (const CardField& area : drawing_.page->Fields(ClearedArea))
        if (const ClearedAreaRecord box(area.a); x >= box.x() && x <= box.x() + box.width() &&
                                                 y >= box.y() && y <= box.y() + box.height())
            return true;
    return false;
}

void CardRenderer::DrawBaseLayer() {
    if (!baseLayer_.file)
        return;
    errors_.Guard(loc::DrawBaseLayer, [&] {
        for (const BaseRecord& record : baseLayer_.file->records)
            DrawBaseRecord(record);
    });
}

void CardRenderer::DrawBaseRecord(const BaseRecord& r) {
    DrawSurface& s = *surface_;
    const records::Placed at(r.a);
    const int32_t x = at.x() + drawing_.pageOffsetX;
    const int32_t y = at.y();
    const int32_t p = drawing_.twipsPerPixel;
    const TextRecord text(r.a);
    switch (r.kind) {
    case TextField:
        if (!InErasedArea(at.x(), at.y())) {
            int32_t textY = y;
            text_.DrawFieldText(x, textY, r.text, text.width(), text.height(), text.colourCode(),
                                text.style());
        }
        break;
    case CheckBox: {
        const CheckBoxRecord box(r.a);
        Rgb colour = text_.ResolveColour(box.colourCode(), 'r');
        if (State.Printing() && State.PrintBlackWhite)
            colour = colour::Black;
        s.SetDrawWidth(2 * State.LineWidth);
        const int32_t side = box.side();
        s.Line(x, y, x + side, y + side, colour, LineMode::Box);
        s.Line(x + p, y + p, x + side - p, y + side - p, colour::White, LineMode::BoxFill);
        break;
    }
    case BlankPageKind:
        blankPages_.Draw(s, r, drawing_.pageOffsetX, baseLayer_.path.parent_path());
        break;
    case Circle: {
        const CircleRecord circle(r.a);
        const int32_t radius = circle.radius();
        if (!drawers_.IsOnPage(y + radius))
            break;
        s.SetForeColor(colour::Black);
        s.SetDrawWidth(1);
        if (circle.underlined())
            drawers_.DrawLineField('X', x - radius, y + radius, 2 * radius);
        if (circle.ringed()) {
            s.SetDrawWidth(1);
            s.Circle(x, y, radius, colour::Black);
        }
        break;
    }
    case FrameBox: {
        const FrameBoxRecord frame(r.a);
        if (!drawers_.IsOnPage(y + frame.height()))
            break;
        if (frame.look() == 1) {
            drawers_.DrawRectangle(x, y, frame.width(), frame.height(), 1, colour::Black, false);
        } else if (frame.look() == 2) {
            // A rule is black: in the colour of the label before it, a blue or red rule
            // would read as an alert on paper.
            const Rgb foreColor = s.ForeColor();
            s.SetForeColor(colour::Black);
            drawers_.DrawLineField('X', x, y + frame.height(), frame.width());
            s.SetForeColor(foreColor);
        }
        break;
    }
    case Rectangle: {
        const RectangleRecord rectangle(r.a);
        if (drawers_.IsOnPage(y + rectangle.height()))
            drawers_.DrawRectangle(x, y, rectangle.width(), rectangle.height(), rectangle.pen() + 1,
                                   text_.ResolveColour(ToInt32(Val(r.text)), 'r'), false);
        break;
    }
    case LabelBox: {
        const LabelBoxRecord label(r.a);
        drawers_.DrawLabelBox(x, y, label.width(), label.height(), label.boxStyle(), r.text,
                              label.textStyle());
        break;
    }
    case FixedText:
    case LayoutText: {
        int32_t textY = y;
        text_.DrawFieldText(x, textY, r.text, text.width(), text.height(), text.colourCode(),
                            text.style());
        break;
    }
    case RotatedText:
        DrawRotatedRecord(r);
        break;
    case Line: {
        const LineRecord line(r.a);
        drawers_.DrawThickLine(line.x1() + drawing_.pageOffsetX, line.x2() + drawing_.pageOffsetX,
                               line.y1(), line.y2(), line.widthPixels(),
                               text_.ResolveColour(line.colourCode(), 'r'));
        break;
    }
    case Bitmap:
        drawers_.DrawBitmap(x, y, BitmapRecord(r.a).width(), BitmapRecord(r.a).height(), r.text);
        break;
    case TickMark:
        drawers_.DrawTickMark(x, y, colour::Black, TickMarkRecord(r.a).style());
        break;
    case PlainCircle: {
        const int32_t radius = PlainCircleRecord(r.a).radius();
        if (!drawers_.IsOnPage(y + radius))
            break;
        s.SetFillStyle(FillTransparent);
        s.Circle(x, y, radius, s.ForeColor());
        // The solid fill stays for everything drawn after the ring.
        s.SetFillStyle(FillSolid);
        break;
    }
    case PrintDateFooter:
        if (State.Printing() && drawers_.IsOnPage(y + PrintDateRecord(r.a).height()))
            DrawFooter(r);
        break;
    case PrintOnlyText:
        if (State.Printing()) {
            int32_t textY = y;
            text_.DrawFieldText(x, textY, r.text, text.width(), text.height(), text.colourCode(),
                                text.style());
        }
        break;
    default:
        break;
    }
}

void CardRenderer::DrawRotatedRecord(const BaseRecord& r) {
    // Kind 9: x, y, the angle in degrees, (height), colour code, style word, text.
    DrawSurface& s = *surface_;
    const QString fontName = s.FontName();
    const double fontSize = s.FontSize();
    const RotatedTextRecord turned(r.a);
    s.SetForeColor(text_.ResolveColour(turned.colourCode(), 't'));
    QString body = text_.ApplyFieldFont(s, text_.Codec().Decode(r.text), turned.style());
    text_.DrawRotatedText(s, body, turned.x() + drawing_.pageOffsetX, turned.y(), s.FontName(),
                          ToInt32(s.FontSize()), 800, turned.degrees() * 10,
                          (turned.style() & 32) != 0, (turned.style() & 128) != 0, false);
    s.SetFontName(fontName);
    s.SetFontSize(fontSize);
}

void CardRenderer::DrawFooter(const BaseRecord& r) {
    DrawSurface& s = *surface_;
    if (!drawing_.profile.traits.printDateFooter)
        return;
    const SurfaceState saved = s.SaveState();
    s.SetFontName(QStringLiteral("Arial Narrow"));
    s.SetFontBold(true);
    s.SetFontItalic(false);
    s.SetFontUnderline(false);
    s.SetForeColor(colour::Black);
    const PrintDateRecord footer(r.a);
    int32_t points = footer.fontPoints();
    s.SetFontSize(points > 0 ? points : double(drawing_.fonts.BasicFontSize));
    QDate today = today_ ? today_() : QDate::currentDate();
    s.SetCurrentX(footer.x() + drawing_.pageOffsetX);
    s.SetCurrentY(footer.y());
    s.Print(QStringLiteral(" (") + today.toString(QStringLiteral("MM-dd-yyyy")) +
            QStringLiteral(")"));
    s.RestoreState(saved);
}

void CardRenderer::DrawCardCheckBox(int index, bool redraw) {
    const CheckBoxRecord box(drawing_.page->Field(CheckBox, index).a);
    Rgb colour = text_.ResolveColour(box.colourCode(), 'r');
    if (State.Printing() && State.PrintBlackWhite)
        colour = colour::Black;
    surface_->SetDrawWidth(State.Printing() ? State.LineWidth : 2 * State.LineWidth);
    if (!drawers_.IsOnPage(box.y() + box.side()))
        return;
    drawers_.DrawCheckBox(redraw, box.ticked(), box.x() + drawing_.pageOffsetX, box.y(), box.side(),
                          colour);
}

void CardRenderer::DrawFrameBox(int index, bool eraseFirst) {
    const FrameBoxRecord frame(drawing_.page->Field(FrameBox, index).a);
    const int32_t x = frame.x() + drawing_.pageOffsetX, y = frame.y(), w = frame.width(),
                  h = frame.height();
    if (!drawers_.IsOnPage(y + h))
        return;
    DrawSurface& s = *surface_;
    if (eraseFirst) {
        PaintOutScope out(s);
        drawers_.DrawRectangle(x, y, w, h, 1, colour::White, false);
        s.SetForeColor(colour::White);
        drawers_.DrawLineField('X', x, y + h, w);
    }
    s.SetForeColor(colour::Black);
    if (frame.look() == 1)
        drawers_.DrawRectangle(x, y, w, h, 1, colour::Black, false);
    else if (frame.look() != 0)
        drawers_.DrawLineField('X', x, y + h, w);
}

void CardRenderer::DrawRing(int index, bool eraseFirst) {
    const CircleRecord circle(drawing_.page->Field(Circle, index).a);
    const int32_t x = circle.x() + drawing_.pageOffsetX, y = circle.y(), r = circle.radius();
    if (!drawers_.IsOnPage(y + r))
        return;
    DrawSurface& s = *surface_;
    s.SetFillStyle(FillTransparent);
    s.SetFillColor(colour::Black);
    s.SetDrawWidth(2);
    auto ring = [&](Rgb c) {
        s.Circle(x + State.CircleNudgeX, y - State.CircleNudgeY, r, c);
    };
    auto underline = [&](Rgb c) {
        s.Line(x - r + r / 2.5, y + r, x + r - r / 2.5, y + r, c);
    };
    if (eraseFirst) {
        PaintOutScope out(s);
        ring(colour::White);
        underline(colour::White);
    }
    const Rgb colour = text_.ResolveColour(circle.colourCode(), 'r');
    if (circle.ringed())
        ring(colour);
    if (circle.underlined())
        underline(colour);
}

void CardRenderer::DrawColourDot(int index) {
    const ColourDotRecord dot(drawing_.page->Field(ColourDot, index).a);
    if (!drawers_.IsOnPage(dot.y() + dot.radius()))
        return;
    DrawSurface& s = *surface_;
    s.SetDrawWidth(State.LineWidth);
    s.SetFillColor(DotColour(dot.state()));
    s.SetFillStyle(FillSolid);
    s.Circle(dot.x() + drawing_.pageOffsetX, dot.y(), dot.radius(), colour::Black);
    s.SetFillStyle(FillTransparent);
}

void CardRenderer::DrawCardLayer(bool withLines) {
    errors_.Guard(loc::DrawCardLayer, [&] {
        DrawSurface& s = *surface_;
        const CardPage& page = *drawing_.page;
        const int32_t offset = drawing_.pageOffsetX;
        // Records of kind that this pass draws: every one on a whole page, those that reach
        // the repaired area in a repair.
        auto each = [&](int kind, auto&& draw) {
            for (int i = 0; i < page.Count(kind); ++i)
                if (Meets(kind, i))
                    draw(i, page.Field(kind, i));
        };
        // The erased areas came first, with the base layer.
        each(CheckBox, [&](int i, const CardField&) {
            if (!IsLifted(CheckBox, i))
                DrawCardCheckBox(i, true);
        });
        each(Bitmap, [&](int, const CardField& f) {
            const BitmapRecord picture(f.a);
            drawers_.DrawBitmap(picture.x() + offset, picture.y(), picture.width(),
                                picture.height(), f.text);
        });
        each(FrameBox, [&](int i, const CardField&) { DrawFrameBox(i, false); });
        each(PlainCircle, [&](int, const CardField& f) {
            const PlainCircleRecord circle(f.a);
            if (drawers_.IsOnPage(circle.y() + circle.radius()))
                s.Circle(circle.x() + offset, circle.y(), circle.radius(), s.ForeColor());
        });
        each(Rectangle, [&](int i, const CardField& f) {
            const RectangleRecord box(f.a);
            if (!IsLifted(Rectangle, i) && drawers_.IsOnPage(box.y() + box.height()))
                drawers_.DrawRectangle(box.x() + offset, box.y(), box.width(), box.height(),
                                       box.pen(), text_.ResolveColour(box.colourCode(), 'r'),
                                       false);
        });
        if (withLines)
            each(Line, [&](int i, const CardField& f) {
                const LineRecord line(f.a);
                if (!IsLifted(Line, i) && drawers_.IsOnPage(line.y2()))
                    drawers_.DrawThickLine(line.x1() + offset, line.x2() + offset, line.y1(),
                                           line.y2(), line.widthPixels(),
                                           text_.ResolveColour(line.colourCode(), 'r'));
            });
        s.SetFillStyle(FillTransparent);
        s.SetFillColor(colour::Black);
        each(Circle, [&](int i, const CardField&) { DrawRing(i, false); });
        each(CircledItem, [&](int i, const CardField& item) {
            RingGeometry ring = drawers_.RingFor(text_.Codec().Decode(item.text));
            if (drawers_.IsOnPage(CircledItemRecord(item.a).y() + ring.dy + ring.radius))
                drawers_.DrawCircledItem(i);
        });
        each(LabelBox, [&](int, const CardField& f) {
            const LabelBoxRecord label(f.a);
            if (drawers_.IsOnPage(label.y() + label.height()))
                drawers_.DrawLabelBox(label.x() + offset, label.y(), label.width(), label.height(),
                                      label.boxStyle(), f.text, label.textStyle());
        });
        each(ColourDot, [&](int i, const CardField&) { DrawColourDot(i); });
        each(TickMark, [&](int, const CardField& f) {
            const TickMarkRecord tick(f.a);
            if (tick.shown() && drawers_.IsOnPage(tick.y() + 5 * drawing_.twipsPerPixel))
                drawers_.DrawTickMark(tick.x() + offset, tick.y(), colour::Black, tick.style());
        });
        each(OptionField, [&](int i, const CardField& f) {
            const OptionFieldRecord option(f.a);
            if (drawers_.IsOnPage(option.y() + option.height()))
                drawers_.DrawNTSMark(i, true);
        });
        each(FixedText, [&](int, const CardField& f) {
            const TextRecord text(f.a);
            if (!drawers_.IsOnPage(text.y() + text.height()))
                return;
            int32_t y = text.y();
            text_.DrawFieldText(text.x() + offset, y, f.text, text.width(), text.height(),
                                text.colourCode(), text.style());
        });
    });
}

bool CardRenderer::Meets(int kind, int index) const {
    if (!repairing_)
        return true;
    return ReachOf(kind, index).intersects(*repairing_);
}

std::string CardRenderer::DrawnText(int index) const {
    const CardPage& page = *drawing_.page;
    const std::string& own = page.Field(TextField, index).text;
    if (State.ShowOwnCard || drawing_.backSide || !drawing_.profile.Valid())
        return own;
    // The names mode says which name-dialog entry each of the first text fields holds
    // (1 my names, 2 my number, 3 partner's names, 4 partner's number). On the partner's
    // card a field shows the partner's side of its entry: the field that holds that entry,
    // whole, when the format has one (names side by side), else the header line of the
    // entry under the field's own font prefix.
    int mode = drawing_.profile.namesMode;
    std::vector<int> entries = NameFieldEntries(mode);
    if (index >= int(entries.size()) || entries[size_t(index)] < 1 || entries[size_t(index)] > 4)
        return own;
    const int counterpart =
        entries[size_t(index)] <= 2 ? entries[size_t(index)] + 2 : entries[size_t(index)] - 2;
    for (size_t field = 0; field < entries.size(); ++field)
        if (entries[field] == counterpart)
            return int(field) < page.Count(TextField) ? page.Field(TextField, int(field)).text
                                                      : own;
    // Header lines by entry: 1 -> 3, 2 -> 4, 3 -> 0, 4 -> 1.
    static constexpr int kHeaderLineOfEntry[] = {0, 3, 4, 0, 1};
    return GetFontPrefix(own) +
           StripFontPrefix(page.CardHeader[size_t(kHeaderLineOfEntry[counterpart])]);
}

void CardRenderer::DrawCardTextField(int index) {
    const CardField& f = drawing_.page->Field(TextField, index);
    const TextRecord text(f.a);
    int32_t y = text.y();
    text_.DrawFieldText(text.x() + drawing_.pageOffsetX, y, DrawnText(index), text.width(),
                        text.height(), text.colourCode(), text.style());
}

void CardRenderer::DrawTextRecords() {
    for (int i = 0; i < drawing_.page->Count(TextField); ++i)
        if (!IsLifted(TextField, i) && Meets(TextField, i))
            DrawCardTextField(i);
}

QRectF CardRenderer::ReachOf(int kind, int index) const {
    const CardField& f = drawing_.page->Field(kind, index);
    const records::Placed at(f.a);
    const records::Boxed box(f.a);
    const double x = at.x(), y = at.y();
    // Room for the widest pen and a pixel of rounding at any zoom.
    const double m = 6.0 * drawing_.twipsPerPixel;
    auto around = [m](double cx, double cy, double r) {
        return QRectF(cx - r - m, cy - r - m, 2 * (r + m), 2 * (r + m));
    };
    switch (kind) {
    case CheckBox: {
        // A tick reaches half a box above and beside its box.
        const double size =
            std::max<int32_t>(CheckBoxRecord(f.a).side(), 8 * drawing_.twipsPerPixel);
        return QRectF(x - size - m, y - size - m, 3 * size + 2 * m, 3 * size + 2 * m);
    }
    case Circle:
        return around(x, y, CircleRecord(f.a).radius());
    case ColourDot:
        return around(x, y, ColourDotRecord(f.a).radius());
    case FrameBox:
    case OptionField:
        return QRectF(x - 2 * m, y - 2 * m, box.width() + 4 * m + 7 * drawing_.twipsPerPixel,
                      box.height() + 4 * m);
    case TickMark:
        return QRectF(x - 2 * m, y - 400, 12 * drawing_.twipsPerPixel + 600, 800);
    case Bitmap:
    case Rectangle:
    case LabelBox:
        return QRectF(x - 2 * m, y - 2 * m, box.width() + 4 * m, box.height() + 4 * m);
    case PlainCircle:
        return around(x, y, PlainCircleRecord(f.a).radius());
    case Line: {
        const LineRecord line(f.a);
        const double width = (line.widthPixels() + 2) * drawing_.twipsPerPixel;
        return QRectF(QPointF(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
                      QPointF(std::max(line.x1(), line.x2()), std::max(line.y1(), line.y2())))
            .adjusted(-width - m, -width - m, width + m, width + m);
    }
    case TextField:
    case FixedText: {
        // Text may run out of its field sideways and, wrapped, a few lines below it.
        constexpr double kAcross = 1e7;
        return QRectF(-kAcross, y - 2 * m, 2 * kAcross, std::max(box.height(), 240) + 600 + 4 * m);
    }
    case CircledItem: {
        const RingGeometry ring = drawers_.RingFor(text_.Codec().Decode(f.text));
        QRectF reach = around(x + ring.dx, y + ring.dy, ring.radius);
        // The label itself, underline included, with room for labels of a few letters.
        const double label =
            std::max(2.0 * (ring.dx + ring.radius), 40.0 * CircledItemRecord(f.a).fontPoints());
        return reach.united(QRectF(x - m, y - m, label + 2 * m, 2 * (ring.dy + ring.radius)));
    }
    default:
        return {};
    }
}

bool CardRenderer::RepairAround(int kind, int index) {
    DrawSurface& s = *surface_;
    const QRectF reach = ReachOf(kind, index);
    if (reach.isEmpty())
        return false;
    const SurfaceState before = s.SaveState();
    if (!s.BeginRepair(reach.x() + drawing_.pageOffsetX, reach.y(), reach.width(), reach.height()))
        return false;
    s.RestoreState(afterBaseLayer_);
    repairing_ = reach;
    DrawFieldLayers();
    repairing_.reset();
    s.EndRepair();
    s.RestoreState(before);
    return true;
}

void CardRenderer::RedrawField(DrawSurface& surface, int kind, int index) {
    Resume(surface);
    errors_.Guard(
        loc::RedrawField,
        [&] {
            if (!drawing_.page || index < 0 || index >= drawing_.page->Count(kind))
                return;
            DrawSurface& s = *surface_;
            // On the screen a mark is drawn again with everything around it; elsewhere its
            // old look is painted out first.
            if (RepairAround(kind, index))
                return;
            switch (kind) {
            case TextField:
                DrawCardTextField(index);
                break;
            case CheckBox:
                DrawCardCheckBox(index, false);
                break;
            case Circle:
                DrawRing(index, true);
                break;
            case FrameBox:
                DrawFrameBox(index, true);
                break;
            case ColourDot:
                DrawColourDot(index);
                break;
            case TickMark: {
                const CardField& f = drawing_.page->Field(TickMark, index);
                std::optional<PaintOutScope> out;
                const TickMarkRecord tick(f.a);
                if (!tick.shown())
                    out.emplace(s);
                drawers_.DrawTickMark(tick.x() + drawing_.pageOffsetX, tick.y(),
                                      tick.shown() ? colour::Black : colour::White, tick.style());
                break;
            }
            case OptionField:
                drawers_.DrawNTSMark(index, false);
                break;
            case CircledItem:
                UseCardFont(s);
                drawers_.DrawCircledItem(index);
                break;
            case FixedText: {
                const CardField& f = drawing_.page->Field(FixedText, index);
                const TextRecord text(f.a);
                int32_t y = text.y();
                text_.DrawFieldText(text.x() + drawing_.pageOffsetX, y, f.text, text.width(),
                                    text.height(), text.colourCode(), text.style());
                break;
            }
            default:
                break;
            }
        },
        [kind, index] {
            return std::vector<ErrValue>{kind, index};
        });
    surface.Finish();
}

void CardRenderer::RedrawCircledItem(DrawSurface& surface, int index) {
    Resume(surface);
    if (!drawing_.page || index < 0 || index >= drawing_.page->Count(CircledItem))
        return;
    if (!RepairAround(CircledItem, index)) {
        // Without a kept base layer whatever look the item had is painted out first.
        UseCardFont(surface);
        drawers_.DrawCircledItem(index, true);
    }
    surface.Finish();
}

} // namespace cw
