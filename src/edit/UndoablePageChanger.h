#pragma once

#include "PageChanger.h"

#include <functional>

namespace cw {

class UndoHistory;

// Whole-page changes (a partner's value taken, an earlier version restored) as steps of the
// open page's undo history, so that Undo takes each back.
class UndoablePageChanger : public PageChanger {
public:
    // done: what follows every change (the window closes an open field's editor).
    explicit UndoablePageChanger(UndoHistory& history, std::function<void()> done = {})
        : history_(history), done_(std::move(done)) {}

    void ReplacePage(CardPage after, const std::string& description) override;

private:
    UndoHistory& history_;
    std::function<void()> done_;
};

} // namespace cw
