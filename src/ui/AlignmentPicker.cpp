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
        const char* tips[] = {"Text starts at the left edge of the field",
                              "Text ends at the right edge of the field",
                              "Text is centred in the field"};
        option->setToolTip(tips[i]);
        AddChoice(option, i);
        row->addWidget(option);
    }
    Select(0);
}

} // namespace cw
