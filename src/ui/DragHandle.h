#pragma once

#include <QPoint>
#include <QWidget>

namespace cw {

// Something the user moves over the card picture with the mouse: pressed, dragged, dropped.
// While it is dragged the widget follows the pointer; at the drop it reports where its top
// left corner went, in its parent's pixels.
class DragHandle : public QWidget {
    Q_OBJECT

public:
    explicit DragHandle(QWidget* parent = nullptr);

signals:
    void pressed();
    // While it is dragged, and where it was dropped.
    void dragged(QPoint topLeft);
    void dropped(QPoint topLeft);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Where the widget's top left corner goes for the pointer at global position.
    virtual QPoint TopLeftFor(QPoint global) const;

    QPoint grab_;
    bool dragging_ = false;
};

} // namespace cw
