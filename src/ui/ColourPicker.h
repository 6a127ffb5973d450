#pragma once

#include "ChoiceGroup.h"

namespace cw {

// "Color Selection": the colour codes 0 to 6 of card fields as swatches (black, the card's
// basic text colour, red, white, cyan, blue, green).
class ColourPicker : public ChoiceGroup {
    Q_OBJECT

public:
    explicit ColourPicker(QWidget* parent = nullptr);

    // The swatch of code 1 shows the card's basic text colour (Windows RGB).
    void SetBasicTextColour(int32_t rgb);
};

} // namespace cw
