#include "UndoablePageChanger.h"

#include "UndoHistory.h"

namespace cw {

void UndoablePageChanger::ReplacePage(CardPage after, const std::string& description) {
    history_.ReplacePage(after, description);
    if (done_)
        done_();
}

} // namespace cw
