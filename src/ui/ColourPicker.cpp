#include "ColourPicker.h"

#include "Colour.h"

#include <QGridLayout>
#include <QPainter>
#include <QToolButton>

namespace cw {

namespace {

struct Swatch {
    const char* name;
    Rgb colour;
};
constexpr Swatch kSwatches[7] = {{"Black", colour::Black}, {"Basic text colour", colour::Black},
                                 {"Red", colour::Red},     {"White", colour::White},
                                 {"Cyan", colour::Cyan},   {"Blue", colour::Blue},
                                 {"Green", colour::Green}};

QIcon SwatchIcon(Rgb value, bool basic) {
    QPixmap square(14, 14);
    square.fill(ToQColor(value));
    QPainter painter(&square);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 13, 13);
    if (basic) {
        // The card's own colour is marked, as it follows the card's settings.
        painter.setPen(value == colour::White ? Qt::black : Qt::white);
        painter.drawText(QRect(0, 0, 14, 14), Qt::AlignCenter, QStringLiteral("B"));
    }
    return QIcon(square);
}

} // namespace

ColourPicker::ColourPicker(QWidget* parent) : ChoiceGroup(parent) {
    setObjectName("ColourPicker");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    for (int code = 0; code < 7; ++code) {
        auto* swatch = new QToolButton(this);
        swatch->setObjectName(QStringLiteral("colour%1").arg(code));
        swatch->setToolTip(kSwatches[code].name);
        swatch->setIcon(SwatchIcon(kSwatches[code].colour, code == 1));
        swatch->setIconSize(QSize(14, 14));
        swatch->setAutoRaise(true);
        AddChoice(swatch, code);
        grid->addWidget(swatch, 0, code);
    }
}

void ColourPicker::SetBasicTextColour(int32_t rgb) {
    if (auto* swatch = qobject_cast<QToolButton*>(button(1)))
        swatch->setIcon(SwatchIcon(rgb, true));
}

} // namespace cw
