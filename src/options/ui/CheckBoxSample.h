#pragma once

#include <QPixmap>

namespace cw {

class AppContext;

// A ticked check box in style 0 (solid), 1 (tick mark) or 2 (X mark), drawn by the card
// renderer's own check-box drawer so that it looks as it will on the card.
QPixmap CheckBoxSample(const AppContext& context, int style);

} // namespace cw
