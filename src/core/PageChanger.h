#pragma once

#include "CardPage.h"

#include <functional>
#include <string>

namespace cw {

class AppContext;
class ChangedState;

// Carries out a change that gives the open page a whole new state in one step (taking a
// partner's value, restoring an earlier version): every such change comes through
// ReplacePage, so that an undo stack can take each as one step.
class PageChanger {
public:
    virtual ~PageChanger() = default;
    // Makes after the open page; description names the step ("Take Partner's Value").
    virtual void ReplacePage(CardPage after, const std::string& description) = 0;
};

// Replaces the page at once: the tables, the card marked changed, then shown.
class DirectPageChanger : public PageChanger {
public:
    DirectPageChanger(AppContext& ctx, ChangedState& changed, std::function<void()> shown = {})
        : ctx_(ctx), changed_(changed), shown_(std::move(shown)) {}
    void ReplacePage(CardPage after, const std::string& description) override;

private:
    AppContext& ctx_;
    ChangedState& changed_;
    std::function<void()> shown_;
};

} // namespace cw
