#pragma once

#include "DragHandle.h"

#include <QColor>

namespace cw {

// The check box being placed: a small square in the box's colour inside a one-pixel border,
// dragged from the panel and dropped on the card.
class CheckBoxMarker : public DragHandle {
    Q_OBJECT

public:
    explicit CheckBoxMarker(QWidget* parent = nullptr);

    void SetColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Qt::black;
};

} // namespace cw
