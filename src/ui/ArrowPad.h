#pragma once

#include <QWidget>

class QToolButton;

namespace cw {

// Four arrow buttons in a cross, working like two up-down controls: each click moves the
// vertical or the horizontal value by one and reports the new value. Held down, a button
// repeats.
class ArrowPad : public QWidget {
    Q_OBJECT

public:
    int VerticalValue() const { return vertical_; }
    int HorizontalValue() const { return horizontal_; }
    void SetVerticalEnabled(bool enabled);
    void SetHorizontalEnabled(bool enabled);
    QToolButton* arrow(Qt::ArrowType type) const;

signals:
    void verticalChanged(int value);
    void horizontalChanged(int value);

protected:
    // downRaises: the down arrow raises the vertical value (else the up arrow does); the right
    // arrow always raises the horizontal one.
    ArrowPad(bool downRaises, const QString& tips, QWidget* parent);

private:
    void Step(bool vertical, int by);

    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    QToolButton* left_ = nullptr;
    QToolButton* right_ = nullptr;
    int vertical_ = 0;
    int horizontal_ = 0;
};

} // namespace cw
