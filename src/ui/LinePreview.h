#pragma once

#include <QColor>
#include <QWidget>

namespace cw {

// The line being drawn or moved over the card picture, in its width and colour. It only
// shows; the mouse goes through it to the card.
class LinePreview : public QWidget {
    Q_OBJECT

public:
    explicit LinePreview(QWidget* parent = nullptr);

    void SetColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_ = Qt::black;
};

} // namespace cw
