#include "LineWidthPicker.h"

#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace cw {

namespace {

// A sample of the width beside its number.
QPixmap WidthSample(int width) {
    QPixmap sample(28, 8);
    sample.fill(Qt::transparent);
    QPainter painter(&sample);
    painter.fillRect(QRect(0, (8 - width) / 2, 28, width), Qt::black);
    return sample;
}

} // namespace

LineWidthPicker::LineWidthPicker(QWidget* parent) : ChoiceGroup(parent) {
    setObjectName("LineWidthPicker");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (int i = 0; i <= 4; ++i) {
        auto* option = new QRadioButton(i == 0 ? QStringLiteral("None") : QString::number(i), this);
        option->setObjectName(QStringLiteral("lineWidth%1").arg(i));
        option->setToolTip(
            i == 0 ? QStringLiteral("No border")
                   : QStringLiteral("A line %1 pixel%2 thick").arg(i).arg(i > 1 ? "s" : ""));
        if (i > 0) {
            option->setIcon(WidthSample(i));
            option->setIconSize(QSize(28, 8));
        }
        AddChoice(option, i);
        column->addWidget(option);
    }
    Select(0);
}

} // namespace cw
