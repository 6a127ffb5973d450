#include "ArrowPad.h"

#include <QGridLayout>
#include <QStringList>
#include <QToolButton>

namespace cw {

ArrowPad::ArrowPad(bool downRaises, const QString& tips, QWidget* parent) : QWidget(parent) {
    // tips: up, down, left and right, separated by "|".
    const QStringList tip = tips.split('|');
    auto make = [&](Qt::ArrowType type, int index, const char* name) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setAutoRepeatDelay(350);
        button->setAutoRepeatInterval(60);
        button->setToolTip(tip.value(index));
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    up_ = make(Qt::UpArrow, 0, "upArrow");
    down_ = make(Qt::DownArrow, 1, "downArrow");
    left_ = make(Qt::LeftArrow, 2, "leftArrow");
    right_ = make(Qt::RightArrow, 3, "rightArrow");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    grid->addWidget(up_, 0, 1);
    grid->addWidget(left_, 1, 0);
    grid->addWidget(right_, 1, 2);
    grid->addWidget(down_, 2, 1);
    const int sign = downRaises ? 1 : -1;
    connect(up_, &QToolButton::clicked, this, [this, sign] { Step(true, -sign); });
    connect(down_, &QToolButton::clicked, this, [this, sign] { Step(true, sign); });
    connect(left_, &QToolButton::clicked, this, [this] { Step(false, -1); });
    connect(right_, &QToolButton::clicked, this, [this] { Step(false, 1); });
}

QToolButton* ArrowPad::arrow(Qt::ArrowType type) const {
    switch (type) {
    case Qt::UpArrow:
        return up_;
    case Qt::DownArrow:
        return down_;
    case Qt::LeftArrow:
        return left_;
    default:
        return right_;
    }
}

void ArrowPad::SetVerticalEnabled(bool enabled) {
    up_->setEnabled(enabled);
    down_->setEnabled(enabled);
}

void ArrowPad::SetHorizontalEnabled(bool enabled) {
    left_->setEnabled(enabled);
    right_->setEnabled(enabled);
}

void ArrowPad::Step(bool vertical, int by) {
    if (vertical) {
        vertical_ += by;
        emit verticalChanged(vertical_);
    } else {
        horizontal_ += by;
        emit horizontalChanged(horizontal_);
    }
}

} // namespace cw
