#include "TextDrawer.h"

#include "BasicNumbers.h"
#include "DrawingContext.h"
#include "ErrorTrap.h"
#include "RenderLocations.h"

#include <QStringList>
#include <cmath>
#include <optional>

namespace cw {

namespace {

struct SuitTag {
    char16_t tag;
    char16_t symbol;
    Rgb colour;
};

// The suits are drawn through their Unicode characters, which the suit font carries: a PDF's
// text then reads "1♣", for searching, copying and screen readers.
constexpr char16_t kClub = 0x2663, kDiamond = 0x2666, kHeart = 0x2665, kSpade = 0x2660;
constexpr SuitTag kSuitTags[] = {
    {u'c', kClub, colour::Black},   {u'd', kDiamond, colour::Red}, {u'h', kHeart, colour::Red},
    {u's', kSpade, colour::Black},  {u'1', kSpade, colour::Red},   {u'2', kClub, colour::Red},
    {u'3', kDiamond, colour::Blue}, {u'4', kHeart, colour::Blue},  {u'5', kSpade, colour::Blue},
};

const SuitTag* FindSuitTag(QChar character) {
    char16_t lower = character.toLower().unicode();
    for (const SuitTag& tag : kSuitTags)
        if (tag.tag == lower)
            return &tag;
    return nullptr;
}

QString TrimSpaces(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

const QString kSuitFont = QStringLiteral("Pip4");
const QString kLetterH = QStringLiteral("H");

} // namespace

TextDrawer::TextDrawer(ErrorTrap& errors, const DrawingContext& drawing, RenderState& state)
    : errors_(errors), dc_(drawing), state_(state) {}

const TextCodec& TextDrawer::Codec() const {
    return TextCodec::Of(dc_.profile.traits);
}

int32_t TextDrawer::Pixel() const {
    return dc_.twipsPerPixel;
}

namespace {

// Codes 2..6 name the same colours for text and for shapes.
std::optional<Rgb> NamedColour(int32_t code) {
    switch (code) {
    case 2:
        return colour::Red;
    case 3:
        return colour::White;
    case 4:
        return colour::Cyan;
    case 5:
        return colour::Blue;
    case 6:
        return colour::Green;
    default:
        return std::nullopt;
    }
}

} // namespace

Rgb TextDrawer::ResolveColour(int32_t code, char kind) {
    Rgb result = colour::Black;
    errors_.Guard(loc::ResolveColour, [&] {
        if (kind == 'r') {
            // Codes 0 and 1 are black; codes without a name are colours themselves.
            result = code <= 1 && code >= 0 ? colour::Black : NamedColour(code).value_or(code);
            state_.ShapeColour = result;
            return;
        }
        int32_t textCode = code >= 30 ? (code & 7) : code;
        if (auto named = NamedColour(textCode)) {
            result = *named;
            return;
        }
        switch (textCode) {
        case 1:
            if (Printing() && dc_.drawingBaseText) {
                if (dc_.profile.colourScheme == 1)
                    result = colour::Black;
                else
                    result = dc_.backSide ? dc_.fonts.BaseTextPrintColourBack
                                          : dc_.fonts.BaseTextPrintColourFront;
            } else {
                result = dc_.fonts.BaseTextColour;
            }
            break;
        case 10:
            result = colour::Red;
            break;
        case 11:
            result = colour::LightGrey;
            break;
        case 12:
            result = colour::DarkGreen;
            break;
        default: // 0, and the codes without a colour of their own
            result = colour::Black;
            break;
        }
    });
    return result;
}

QString TextDrawer::GetFontPrefix(const QString& text) {
    if (!text.startsWith(QLatin1String("#<")))
        return {};
    qsizetype end = text.indexOf(QLatin1String(">#"), 2);
    return end < 0 ? QString() : text.left(end + 2);
}

QString TextDrawer::StripFontPrefix(const QString& text) {
    if (!text.startsWith(QLatin1String("#<")))
        return text;
    qsizetype end = text.indexOf(QLatin1String(">#"), 2);
    return end < 0 ? QString() : text.mid(end + 2);
}

QString TextDrawer::ApplyFieldFont(DrawSurface& surface, const QString& text, int32_t style) {
    QString rest = text;
    errors_.Guard(loc::ApplyFieldFont, [&] {
        QString name = Codec().Decode(dc_.fonts.BasicFont);
        if (text.startsWith(QLatin1String("#<"))) {
            qsizetype end = text.indexOf(QLatin1String(">#"), 2);
            if (end < 0) {
                rest.clear();
            } else {
                name = text.mid(2, end - 2);
                rest = text.mid(end + 2);
            }
        }
        surface.SetFontName(name);
        // The low byte holds alignment and style bits; the size is in whole points above it.
        int32_t points = (style & ~0xFF) / 256;
        double size = points == 0 ? double(dc_.fonts.BasicFontSize) : double(points);
        if (Printing() && !dc_.drawingBaseText)
            size -= state_.PrintFontReduction;
        surface.SetFontSize(size);
        if (!Printing())
            surface.SetFontSize(surface.FontSize() * dc_.viewScale);
    });
    return rest;
}

void TextDrawer::ApplyFontStyle(int32_t style) {
    DrawSurface& surface = *surface_;
    bool bold = dc_.fonts.BasicFontBold;
    bool italic = dc_.fonts.BasicFontItalic;
    surface.SetFontUnderline((style & 128) != 0);
    if ((style & 64) == 0) {
        bold = (style & 16) != 0;
        italic = (style & 32) != 0;
    }
    surface.SetFontBold(bold);
    surface.SetFontItalic(italic);
}

int32_t TextDrawer::AlignTextX(int32_t left, int32_t width, const QString& line, int32_t style) {
    int32_t x = left + 2;
    errors_.Guard(loc::AlignTextX, [&] {
        if (!surface_)
            return;
        // The style goes on first so that bold text is measured bold.
        ApplyFontStyle(style);
        switch (style & 7) {
        case 1:
        case 4:
            x = ToInt32(left + width - SuitTextWidth(line, *surface_));
            break;
        case 2:
        case 5:
            x = ToInt32(left + (width - SuitTextWidth(line, *surface_)) / 2);
            break;
        default:
            x = left + 2;
            break;
        }
    });
    return x;
}

void TextDrawer::DrawSuitSymbol(const QString& before, QChar symbol, Rgb colour,
                                DrawSurface& surface) {
    errors_.Guard(loc::DrawSuitSymbol, [&] {
        QString fontName = surface.FontName();
        Rgb foreColor = surface.ForeColor();
        bool bold = surface.FontBold();
        double y = surface.CurrentY();
        surface.Print(before);
        surface.SetFontName(kSuitFont);
        surface.SetFontBold(true);
        surface.SetForeColor(Printing() && state_.PrintBlackWhite ? colour::Black : colour);
        surface.Print(QString(symbol));
        surface.SetFontName(fontName);
        surface.SetForeColor(foreColor);
        surface.SetFontBold(bold);
        surface.SetCurrentY(y);
    });
}

namespace {

// Walks text with suit markup: plain(piece) for each run of plain text and symbol(before,
// tag) for each suit tag with the plain text in front of it, in the order they are drawn.
template <class Plain, class Symbol>
void ForEachSuitPiece(const QString& text, Plain&& plain, Symbol&& symbol) {
    const qsizetype length = text.size();
    qsizetype start = 0;
    for (;;) {
        qsizetype open = text.indexOf(u'<', start);
        if (open < 0 || length < open + 3)
            break;
        if (text.at(open + 2) != u'>') {
            plain(text.mid(start, open + 1 - start));
            start = open + 1;
            continue;
        }
        if (const SuitTag* tag = FindSuitTag(text.at(open + 1)))
            symbol(text.mid(start, open - start), *tag);
        else
            plain(text.mid(start, open + 3 - start));
        start = open + 3;
    }
    if (start < length)
        plain(start == 0 ? text : text.mid(start));
}

} // namespace

void TextDrawer::DrawSuitText(double x, double y, const QString& text, DrawSurface& surface) {
    errors_.Guard(loc::DrawSuitText, [&] {
        surface.SetCurrentX(x);
        surface.SetCurrentY(y);
        ForEachSuitPiece(
            text, [&](const QString& piece) { surface.Print(piece); },
            [&](const QString& before, const SuitTag& tag) {
                DrawSuitSymbol(before, QChar(tag.symbol), tag.colour, surface);
            });
    });
}

double TextDrawer::SuitTextWidth(const QString& text, DrawSurface& surface) const {
    double width = 0;
    ForEachSuitPiece(
        text, [&](const QString& piece) { width += surface.TextWidth(piece); },
        [&](const QString& before, const SuitTag& tag) {
            width += surface.TextWidth(before);
            const QString fontName = surface.FontName();
            const bool bold = surface.FontBold();
            surface.SetFontName(kSuitFont);
            surface.SetFontBold(true);
            width += surface.TextWidth(QString(QChar(tag.symbol)));
            surface.SetFontName(fontName);
            surface.SetFontBold(bold);
        });
    return width;
}

void TextDrawer::DrawVerticalText(int32_t x, int32_t y, const QString& text) {
    errors_.Guard(loc::DrawVerticalText, [&] {
        if (!surface_)
            return;
        DrawSurface& surface = *surface_;
        QString trimmed = TrimSpaces(text);
        double letterWidth = surface.TextWidth(kLetterH);
        for (QChar c : trimmed) {
            QString one(c);
            surface.SetCurrentX(x + ToInt32(letterWidth - surface.TextWidth(one)) / 2);
            surface.SetCurrentY(y);
            surface.Print(one);
            y += ToInt32(surface.TextHeight(kLetterH) * (c == u' ' ? 0.5 : 0.75));
        }
    });
}

void TextDrawer::DrawRotatedText(DrawSurface& surface, const QString& text, double x, double y,
                                 const QString& fontName, int32_t size, int weight, int escapement,
                                 bool italic, bool underline, bool strikeOut) {
    errors_.Guard(loc::DrawRotatedText, [&] {
        RotatedFont font;
        font.name = fontName;
        font.cellPoints = size;
        font.weight = weight;
        font.angle = escapement / 10.0;
        font.italic = italic;
        font.underline = underline;
        font.strikeOut = strikeOut;
        surface.SetCurrentX(x);
        surface.SetCurrentY(y);
        surface.PrintRotated(text, font);
    });
}

void TextDrawer::DrawFieldText(int32_t x, int32_t& y, const std::string& text, int32_t width,
                               int32_t height, int32_t colourCode, int32_t style, bool vertical) {
    errors_.Guard(
        loc::DrawFieldText,
        [&] { DrawFieldTextBody(x, y, text, width, height, colourCode, style, vertical); },
        [&text] { return std::vector<ErrValue>{text}; });
}

void TextDrawer::DrawFieldTextBody(int32_t x, int32_t& y, const std::string& text, int32_t width,
                                   int32_t height, int32_t colourCode, int32_t style,
                                   bool vertical) {
    if (!surface_)
        return;
    DrawSurface& surface = *surface_;
    if (Printing() && !dc_.drawingBaseText)
        y += state_.UserTextPrintOffset;

    const bool bold = surface.FontBold();
    const bool italic = surface.FontItalic();
    const double size = surface.FontSize();
    const QString fontName = surface.FontName();

    Rgb bar = state_.FieldBackColour;
    if (colourCode >= 10 && colourCode <= 12) {
        bar = ResolveColour(colourCode, 't');
        surface.SetForeColor(colourCode == 11 ? colour::Black : colour::White);
    } else if (colourCode >= 30) {
        surface.SetForeColor(ResolveColour(colourCode & 7, 't'));
    } else if (colourCode >= 7) {
        // Codes without a colour of their own: black text, no bar of their own.
        surface.SetForeColor(colour::Black);
    } else {
        surface.SetForeColor(ResolveColour(colourCode, 't'));
    }

    QString body = ApplyFieldFont(surface, Codec().Decode(text), style);
    if (vertical) {
        ApplyFontStyle(style & 0x78);
        DrawVerticalText(x, y, body);
    } else {
        ApplyFontStyle(style);
        DrawBar(x, y, width, height, colourCode, bar);
        lastFit_ = {};
        if (!body.isEmpty()) {
            lastFit_ = FitFieldText(body, width, height);
            // What does not fit even at the smallest size stops at the field's edges: a
            // one-line field's at its sides, a wrapped field's at its bottom too.
            if (lastFit_.cut) {
                const double reach = height == SingleLineHeight ? 4.0 * height : 0.0;
                surface.SetClip(QRectF(x, y - reach, width, height + 2 * reach));
            }
            if (height == SingleLineHeight) {
                DrawSuitText(AlignTextX(x, width, body, style), y, body, surface);
            } else {
                QStringList paragraphs = body.split(QStringLiteral("\r\n"));
                qsizetype count = std::min<qsizetype>(paragraphs.size(), MaxParagraphs);
                for (qsizetype i = 0; i < count; ++i)
                    DrawParagraph(x, y, width, paragraphs.at(i), style);
            }
            if (lastFit_.cut)
                surface.SetClip(std::nullopt);
        }
    }
    surface.SetFontName(fontName);
    surface.SetFontBold(bold);
    surface.SetFontItalic(italic);
    surface.SetFontSize(size);
}

void TextDrawer::DrawBar(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colourCode,
                         Rgb barColour) {
    DrawSurface& surface = *surface_;
    const int32_t p = Pixel();
    if (!Printing() && !state_.ExportingImage) {
        if (colourCode > 29)
            return;
        double bottom = height == SingleLineHeight ? y + surface.TextHeight(kLetterH) - 2 * p
                                                   : double(y + height);
        surface.Line(x, y + 2 * p, x + width, bottom, barColour, LineMode::BoxFill);
        return;
    }
    if (!dc_.profile.traits.colourBarsBehindText)
        return;
    bool cardText = !dc_.drawingBaseText;
    if (!cardText && !(colourCode >= 9 && colourCode <= 29))
        return;
    if (height == SingleLineHeight) {
        double letterHeight = surface.TextHeight(kLetterH);
        if (cardText) {
            surface.SetDrawWidth(1);
            surface.Line(x - p, y - p, x + width + 2 * p, y + letterHeight + 2 * p, barColour,
                         LineMode::BoxFill);
        } else {
            surface.Line(x - p, y - 4 * p, x + width + 2 * p, y + letterHeight + p, barColour,
                         LineMode::BoxFill);
        }
    } else {
        surface.Line(x - p, y - p, x + width + 2 * p, y + height + p, barColour, LineMode::BoxFill);
    }
}

void TextDrawer::DrawLine(int32_t x, int32_t& y, int32_t width, const QString& line,
                          int32_t style) {
    DrawSuitText(AlignTextX(x, width, line, style), y, line, *surface_);
    y += int32_t(std::floor(surface_->TextHeight(kLetterH)));
}

void TextDrawer::DrawParagraph(int32_t x, int32_t& y, int32_t width, const QString& paragraph,
                               int32_t style) {
    for (const QString& line : WrapParagraph(width, paragraph))
        DrawLine(x, y, width, line, style);
}

QStringList TextDrawer::WrapParagraph(int32_t width, const QString& paragraph) const {
    DrawSurface& surface = *surface_;
    if (paragraph.size() < LongParagraph && surface.TextWidth(paragraph) <= width + 1)
        return {paragraph};
    // Greedy wrapping: the line grows a character at a time; once it is too wide it breaks
    // at the last space in it, or, without one, before the character just added.
    QStringList lines;
    QString line;
    for (QChar c : paragraph) {
        line.append(c);
        if (surface.TextWidth(line) <= width)
            continue;
        qsizetype space = line.lastIndexOf(u' ');
        if (space >= 0) {
            lines << line.left(space);
            line.remove(0, space + 1);
        } else if (line.size() > 1) {
            lines << line.left(line.size() - 1);
            line = QString(c);
        }
        // A single character wider than the field stays: a line is never empty.
    }
    QString rest = TrimSpaces(line);
    if (!rest.isEmpty())
        lines << rest;
    return lines;
}

bool TextDrawer::FitsField(const QString& body, int32_t width, int32_t height) const {
    DrawSurface& surface = *surface_;
    if (height == SingleLineHeight)
        return SuitTextWidth(body, surface) <= width - 2;
    const QStringList paragraphs = body.split(QStringLiteral("\r\n"));
    if (paragraphs.size() > MaxParagraphs)
        return false;
    const double step = std::floor(surface.TextHeight(kLetterH));
    qsizetype lines = 0;
    for (const QString& paragraph : paragraphs) {
        const QStringList wrapped = WrapParagraph(width, paragraph);
        for (const QString& line : wrapped)
            if (SuitTextWidth(line, surface) > width + 1)
                return false;
        lines += wrapped.size();
    }
    return lines == 0 || (lines - 1) * step + surface.TextHeight(kLetterH) <= height;
}

size_t qHash(const FitKey& key, size_t seed) {
    return qHashMulti(seed, key.body, key.fontName, key.width, key.height, key.fontSize,
                      key.deviceTwipsPerPixel, key.flags);
}

FieldFit TextDrawer::FitFieldText(const QString& body, int32_t width, int32_t height) {
    DrawSurface& surface = *surface_;
    // The surface's size is the field's size in points times the view's scale on screen.
    const double scale = Printing() ? 1.0 : dc_.viewScale;
    const FitKey key{body,
                     surface.FontName(),
                     width,
                     height,
                     surface.FontSize(),
                     surface.DeviceTwipsPerPixel(),
                     (surface.FontBold() ? 1 : 0) | (surface.FontItalic() ? 2 : 0) |
                         (Printing() ? 4 : 0)};
    if (auto kept = fits_.constFind(key); kept != fits_.constEnd()) {
        if (kept->Shrunk())
            surface.SetFontSize(kept->points * scale);
        return *kept;
    }
    if (fits_.size() >= MaxKeptFits)
        fits_.clear();
    const FieldFit fit = MeasureFit(body, width, height, scale);
    fits_.insert(key, fit);
    return fit;
}

FieldFit TextDrawer::MeasureFit(const QString& body, int32_t width, int32_t height, double scale) {
    DrawSurface& surface = *surface_;
    FieldFit fit;
    fit.ownPoints = fit.points = surface.FontSize() / (scale > 0 ? scale : 1.0);
    if (FitsField(body, width, height))
        return fit;
    const double smallest =
        std::min(fit.ownPoints, std::max(fit.ownPoints * SmallestShare, MinimumPoints));
    for (double points = fit.ownPoints - ShrinkStepPoints; points > smallest;
         points -= ShrinkStepPoints) {
        surface.SetFontSize(points * scale);
        if (FitsField(body, width, height)) {
            fit.points = points;
            return fit;
        }
    }
    surface.SetFontSize(smallest * scale);
    fit.points = smallest;
    fit.cut = !FitsField(body, width, height);
    return fit;
}

void TextDrawer::CalibratePrinterFont(DrawSurface& printer, const DrawSurface& screen) {
    errors_.Guard(loc::CalibratePrinterFont, [&] {
        state_.PrintFontReduction = 0;
        const double size = printer.FontSize();
        const QString sample = QStringLiteral("This is a test.  The quick brown fox jumps over "
                                              "the lazy dog. Now is the time for all good men.");
        const double screenWidth = screen.TextWidth(sample);
        if (printer.TextWidth(sample) <= screenWidth)
            return;
        const QString shorter = sample.left(sample.size() - 5) + u' ';
        while (printer.TextWidth(shorter) > screenWidth && size - state_.PrintFontReduction > 1.0) {
            state_.PrintFontReduction += 0.1f;
            printer.SetFontSize(size - state_.PrintFontReduction);
        }
    });
}

} // namespace cw
