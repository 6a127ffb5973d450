#pragma once

#include <QWidget>

namespace cw {

// The rectangle drawn with the mouse over the card picture: the area to clear, the place of
// a new text field, or a rectangle with its border width. It only shows; the mouse goes
// through it to the card.
class RubberBand : public QWidget {
    Q_OBJECT

public:
    explicit RubberBand(QWidget* parent = nullptr);

    // A rectangle to be stored is drawn solid in its border width; an area to be chosen is
    // drawn dashed. colour: the solid outline's.
    void SetLook(int borderWidth, bool solid, const QColor& colour = Qt::black);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int borderWidth_ = 1;
    bool solid_ = false;
    QColor colour_ = Qt::black;
};

} // namespace cw
