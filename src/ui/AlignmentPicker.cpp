#include "AlignmentPicker.h"

#include <QHBoxLayout>
#include <QRadioButton>

namespace cw {

AlignmentPicker::AlignmentPicker(QWidget* parent) : ChoiceGroup(parent) {
    setObjectName("AlignmentPicker");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    const char* captions[] = {"Left", "Right", "Center"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QStringLiteral("alignment%1").arg(i));
        AddChoice(option, i);
        row->addWidget(option);
    }
    Select(0);
}

} // namespace cw
