#include "ErrorLinesView.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace cw {

namespace {
constexpr int kMarginX = 20;
constexpr int kMarginY = 12;
constexpr int kMinimumColumns = 64;
} // namespace

ErrorLinesView::ErrorLinesView(QWidget* parent) : QWidget(parent) {
    setFont(FixedPitchFont());
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    colours.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x20));
    setPalette(colours);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QFont ErrorLinesView::FixedPitchFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    if (QFontInfo(font).fixedPitch())
        return font;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPointSize(10);
    return fallback;
}

void ErrorLinesView::SetLines(const QStringList& lines) {
    lines_ = lines;
    shown_.clear();
    const int width = TextWidth();
    for (const QString& line : lines_)
        shown_ << Broken(line, width);
    updateGeometry();
    update();
}

QStringList ErrorLinesView::Broken(const QString& line, int width) const {
    QFontMetrics metrics(font());
    if (metrics.horizontalAdvance(line) <= width)
        return {line};
    qsizetype indentLength = 0;
    while (indentLength < line.size() && line.at(indentLength) == QLatin1Char(' '))
        ++indentLength;
    const QString indent = line.left(indentLength);
    QStringList pieces;
    QString rest = line.mid(indentLength);
    QString current = indent;
    while (!rest.isEmpty()) {
        // The most of rest that fits, ended after a blank or a slash where there is one.
        qsizetype fits = 0;
        while (fits < rest.size() &&
               metrics.horizontalAdvance(current + rest.left(fits + 1)) <= width)
            ++fits;
        if (fits == rest.size()) {
            current += rest;
            break;
        }
        qsizetype cut = fits;
        for (qsizetype i = fits; i > 0; --i)
            if (rest.at(i - 1) == QLatin1Char(' ') || rest.at(i - 1) == QLatin1Char('/')) {
                cut = i;
                break;
            }
        cut = std::max<qsizetype>(cut, 1);
        pieces << current + rest.left(cut);
        rest = rest.mid(cut);
        current = indent;
    }
    pieces << current;
    return pieces;
}

int ErrorLinesView::LineStep() const {
    QFontMetrics metrics(font());
    return metrics.boundingRect(QLatin1Char('H')).height() + metrics.height() / 2;
}

void ErrorLinesView::SetMaximumTextWidth(int pixels) {
    maximumTextWidth_ = std::max(pixels, 100);
    SetLines(lines_);
}

int ErrorLinesView::TextWidth() const {
    QFontMetrics metrics(font());
    int widest = metrics.horizontalAdvance(QString(kMinimumColumns, QLatin1Char('M')));
    for (const QString& line : lines_)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::min(widest, maximumTextWidth_);
}

QSize ErrorLinesView::sizeHint() const {
    return {TextWidth() + 2 * kMarginX,
            static_cast<int>(shown_.size()) * LineStep() + 2 * kMarginY};
}

void ErrorLinesView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QFontMetrics metrics(font());
    int step = LineStep();
    // Centre the glyphs of each line in its step.
    int baseline = kMarginY + (step + metrics.ascent() - metrics.descent()) / 2;
    for (const QString& line : shown_) {
        painter.drawText(kMarginX, baseline, line);
        baseline += step;
    }
}

} // namespace cw
