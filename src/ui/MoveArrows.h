#pragma once

#include "ArrowPad.h"

namespace cw {

// "Move Field": the arrows move the field one pixel the way they point. The vertical value
// rises as the field goes down, the horizontal one as it goes right.
class MoveArrows : public ArrowPad {
    Q_OBJECT

public:
    explicit MoveArrows(QWidget* parent = nullptr);
};

} // namespace cw
