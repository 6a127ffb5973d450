#include "MoveArrows.h"

namespace cw {

MoveArrows::MoveArrows(QWidget* parent)
    : ArrowPad(true,
               "Move up one pixel|Move down one pixel|Move left one pixel|Move right one pixel",
               parent) {
    setObjectName("MoveArrows");
}

} // namespace cw
