#include "CheckBoxMarker.h"

#include <QPainter>

namespace cw {

CheckBoxMarker::CheckBoxMarker(QWidget* parent) : DragHandle(parent) {
    setObjectName("CheckBoxMarker");
    setToolTip("Drag the check box onto the card");
    hide();
}

void CheckBoxMarker::SetColour(const QColor& colour) {
    if (colour == colour_)
        return;
    colour_ = colour;
    update();
}

void CheckBoxMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
    painter.setPen(colour_.lightness() < 96 ? QColor(Qt::gray) : QColor(Qt::black));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace cw
