#include "LinePreview.h"

#include <QPainter>

namespace cw {

LinePreview::LinePreview(QWidget* parent) : QWidget(parent) {
    setObjectName("LinePreview");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void LinePreview::SetColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void LinePreview::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), colour_);
}

} // namespace cw
