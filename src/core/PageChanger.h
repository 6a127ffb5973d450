#pragma once

#include "CardPage.h"

#include <string>

namespace cw {

// Carries out a change that gives the open page a whole new state in one step (taking a
// partner's value, restoring an earlier version): every such change comes through
// ReplacePage, so that an undo stack can take each as one step.
class PageChanger {
public:
    virtual ~PageChanger() = default;
    // Makes after the open page; description names the step ("Take Partner's Value").
    virtual void ReplacePage(CardPage after, const std::string& description) = 0;
};

} // namespace cw
