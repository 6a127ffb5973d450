#pragma once

#include "ChoiceGroup.h"

namespace cw {

// "Line Thickness": 0 "None", then widths of 1 to 4 pixels.
class LineWidthPicker : public ChoiceGroup {
    Q_OBJECT

public:
    explicit LineWidthPicker(QWidget* parent = nullptr);
};

} // namespace cw
