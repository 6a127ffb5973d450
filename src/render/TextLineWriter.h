#pragma once

#include <QString>
#include <functional>

namespace cw {

class DrawSurface;
class TextDrawer;

// How the lines of a plain text look: one font for all of them, the suit markup drawn as
// symbols or shown as typed.
struct TextLineStyle {
    QString fontName = QStringLiteral("Arial");
    double fontSize = 10;
    bool bold = false;
    bool suitMarkup = true;
};

// Writes the lines of a plain text (supplemental notes, reference texts) one under the other
// on a surface, from its left edge. Tabs go to the next multiple of eight characters. On
// paper a line wider than the page goes on in the next line, broken at a blank, and a line
// that would pass the bottom of the page starts a new one.
class TextLineWriter {
public:
    static constexpr int TabStop = 8;

    TextLineWriter(TextDrawer& drawer, DrawSurface& surface, const TextLineStyle& style);

    // The surface takes the style's font; bold can be changed for single lines.
    void SetStyle(const TextLineStyle& style);
    void SetBold(bool bold);
    // Paper: the width a line may take and what starts the next page.
    void SetPaper(double lineWidth, std::function<void()> newPage);

    double LineHeight() const;
    double Y() const { return y_; }
    void MoveTo(double y) { y_ = y; }
    int PageCount() const { return pages_; }

    void Write(const QString& line);
    void WriteEmpty();

    static QString ExpandTabs(const QString& line);
    // The pieces a line is printed in on a line of width (one piece when it fits).
    QStringList BreakLine(const QString& line, double width) const;

private:
    void WritePiece(const QString& piece);
    void NextLine();

    TextDrawer& drawer_;
    DrawSurface& surface_;
    TextLineStyle style_;
    double lineWidth_ = 0;
    std::function<void()> newPage_;
    double y_ = 0;
    int pages_ = 1;
};

} // namespace cw
