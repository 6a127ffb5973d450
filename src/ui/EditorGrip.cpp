#include "EditorGrip.h"

#include <QPainter>

namespace cw {

EditorGrip::EditorGrip(QWidget* parent) : DragHandle(parent) {
    setObjectName("EditorGrip");
    setFixedSize(Size, Size);
    setToolTip("Drag to move the field");
    hide();
}

void EditorGrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 90, 200));
    painter.setPen(Qt::white);
    // Four arrow heads' worth of a move sign: a small cross.
    int c = Size / 2;
    painter.drawLine(c, 2, c, Size - 3);
    painter.drawLine(2, c, Size - 3, c);
}

} // namespace cw
