#include "GradientBackground.h"

#include "ViewScaling.h"

#include <QPainter>

namespace cw {

GradientBackground::GradientBackground(int scheme, QWidget* parent)
    : QWidget(parent), scheme_(scheme) {
    setAutoFillBackground(false);
}

void GradientBackground::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGradient(painter, size(), scheme_);
}

} // namespace cw
