#include "TextLineWriter.h"

#include "DrawSurface.h"
#include "TextDrawer.h"

#include <QStringList>

namespace cw {

namespace {

const QString kLetterH = QStringLiteral("H");

} // namespace

TextLineWriter::TextLineWriter(TextDrawer& drawer, DrawSurface& surface, const TextLineStyle& style)
    : drawer_(drawer), surface_(surface) {
    SetStyle(style);
}

void TextLineWriter::SetStyle(const TextLineStyle& style) {
    style_ = style;
    surface_.SetFontName(style.fontName);
    surface_.SetFontSize(style.fontSize);
    surface_.SetFontBold(style.bold);
    surface_.SetFontItalic(false);
    surface_.SetFontUnderline(false);
}

void TextLineWriter::SetBold(bool bold) {
    surface_.SetFontBold(bold);
}

void TextLineWriter::SetPaper(double lineWidth, std::function<void()> newPage) {
    lineWidth_ = lineWidth;
    newPage_ = std::move(newPage);
}

double TextLineWriter::LineHeight() const {
    return surface_.TextHeight(kLetterH);
}

QString TextLineWriter::ExpandTabs(const QString& line) {
    if (!line.contains(u'\t'))
        return line;
    QString out;
    for (QChar c : line) {
        if (c == u'\t')
            out.append(QString(TabStop - out.size() % TabStop, u' '));
        else
            out.append(c);
    }
    return out;
}

QStringList TextLineWriter::BreakLine(const QString& line, double width) const {
    QStringList pieces;
    QString rest = line;
    while (width > 0 && rest.size() > 1 && surface_.TextWidth(rest) > width) {
        // The longest start of the rest that fits, ended at a blank when there is one.
        qsizetype fits = 1;
        while (fits < rest.size() && surface_.TextWidth(rest.left(fits + 1)) <= width)
            ++fits;
        qsizetype blank = rest.lastIndexOf(u' ', fits);
        qsizetype cut = blank > 0 ? blank : fits;
        pieces.append(rest.left(cut));
        rest = rest.mid(blank > 0 ? blank + 1 : cut);
    }
    pieces.append(rest);
    return pieces;
}

void TextLineWriter::NextLine() {
    y_ += LineHeight();
}

void TextLineWriter::WritePiece(const QString& piece) {
    // A line that would pass the bottom of the page goes on the next page.
    const double pageHeight = surface_.PageHeight();
    if (newPage_ && pageHeight > 0 && y_ > 0 && y_ + LineHeight() > pageHeight) {
        newPage_();
        ++pages_;
        y_ = 0;
    }
    if (style_.suitMarkup) {
        drawer_.DrawSuitText(0, y_, piece, surface_);
    } else {
        surface_.SetCurrentX(0);
        surface_.SetCurrentY(y_);
        surface_.Print(piece);
    }
    NextLine();
}

void TextLineWriter::Write(const QString& line) {
    QString expanded = ExpandTabs(line);
    if (!newPage_ || lineWidth_ <= 0) {
        WritePiece(expanded);
        return;
    }
    for (const QString& piece : BreakLine(expanded, lineWidth_))
        WritePiece(piece);
}

void TextLineWriter::WriteEmpty() {
    WritePiece(QString());
}

} // namespace cw
