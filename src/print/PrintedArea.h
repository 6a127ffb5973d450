#pragma once

#include "PrintedPage.h"

namespace cw {

class AppContext;

// The page of the current format as its saved print settings print it on the format's own
// paper: the sheet's size over the print scale, the side's margin and the text's shift.
// Empty when the format gives no paper size.
PrintedPage PrintedPageOf(AppContext& ctx, bool backSide);

} // namespace cw
