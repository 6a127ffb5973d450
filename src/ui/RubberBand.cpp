#include "RubberBand.h"

#include <QPainter>

namespace cw {

RubberBand::RubberBand(QWidget* parent) : QWidget(parent) {
    setObjectName("RubberBand");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void RubberBand::SetLook(int borderWidth, bool solid, const QColor& colour) {
    if (borderWidth == borderWidth_ && solid == solid_ && colour == colour_)
        return;
    borderWidth_ = std::max(1, borderWidth);
    solid_ = solid;
    colour_ = colour;
    update();
}

void RubberBand::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(solid_ ? colour_ : QColor(0, 90, 200), borderWidth_);
    pen.setStyle(solid_ ? Qt::SolidLine : Qt::DashLine);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    // The pen is centred on the edge: inset it by half its width to stay inside the widget.
    qreal inset = borderWidth_ / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

} // namespace cw
