#pragma once

#include "ChoiceGroup.h"

namespace cw {

// "Text Alignment": 0 left, 1 right, 2 centred.
class AlignmentPicker : public ChoiceGroup {
    Q_OBJECT

public:
    explicit AlignmentPicker(QWidget* parent = nullptr);
};

} // namespace cw
