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
    QStringList cut;
    for (const QString& line : lines_)
        if (fontMetrics().horizontalAdvance(line) > TextWidth())
            cut << line.trimmed();
    setToolTip(cut.join(QLatin1Char('\n')));
    updateGeometry();
    update();
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
            static_cast<int>(lines_.size()) * LineStep() + 2 * kMarginY};
}

void ErrorLinesView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QFontMetrics metrics(font());
    int step = LineStep();
    int width = TextWidth();
    // Centre the glyphs of each line in its step.
    int baseline = kMarginY + (step + metrics.ascent() - metrics.descent()) / 2;
    for (const QString& line : lines_) {
        painter.drawText(kMarginX, baseline, metrics.elidedText(line, Qt::ElideMiddle, width));
        baseline += step;
    }
}

} // namespace cw
