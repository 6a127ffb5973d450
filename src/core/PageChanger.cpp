#include "PageChanger.h"

#include "AppContext.h"
#include "ChangedState.h"

namespace cw {

void DirectPageChanger::ReplacePage(CardPage after, const std::string&) {
    ctx_.Page = std::move(after);
    changed_.SetChangedState(ChangedState::CardChangedCode);
    if (shown_)
        shown_();
}

} // namespace cw
