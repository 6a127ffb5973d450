#include "SizeArrows.h"

namespace cw {

SizeArrows::SizeArrows(QWidget* parent)
    : ArrowPad(false,
               "Taller by one pixel|Shorter by one pixel|Narrower by one pixel|Wider by one pixel",
               parent) {
    setObjectName("SizeArrows");
}

} // namespace cw
