#pragma once

#include "OverflowCheck.h"

#include <vector>

namespace cw {

class AppContext;

// The text fields of both pages of the open card that overflow: the shown page as it is
// now, the other as saved. The other page is only read, never created.
std::vector<FieldOverflow> CheckOpenCard(AppContext& ctx, OverflowCheck& check);

} // namespace cw
