#include "DragHandle.h"

#include <QMouseEvent>

namespace cw {

DragHandle::DragHandle(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SizeAllCursor);
}

void DragHandle::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    grab_ = event->position().toPoint();
    dragging_ = true;
    raise();
    emit pressed();
}

QPoint DragHandle::TopLeftFor(QPoint global) const {
    return parentWidget()->mapFromGlobal(global) - grab_;
}

void DragHandle::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    QPoint topLeft = TopLeftFor(event->globalPosition().toPoint());
    move(topLeft);
    emit dragged(topLeft);
}

void DragHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    QPoint topLeft = TopLeftFor(event->globalPosition().toPoint());
    move(topLeft);
    emit dropped(topLeft);
}

} // namespace cw
