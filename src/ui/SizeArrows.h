#pragma once

#include "ArrowPad.h"

namespace cw {

// "Change Size": up makes the field taller, down shorter, right wider and left narrower, one
// pixel a click. The values rise as the field grows.
class SizeArrows : public ArrowPad {
    Q_OBJECT

public:
    explicit SizeArrows(QWidget* parent = nullptr);
};

} // namespace cw
