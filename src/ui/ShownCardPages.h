#pragma once

#include "CardPages.h"

namespace cw {

class MainWindow;

// The pages of the card open in the main window: a job that turns to the other page turns
// the window's side buttons with it, and the card face shows the last page when it is done.
class ShownCardPages : public CardPages {
public:
    explicit ShownCardPages(MainWindow& window) : window_(window) {}

    bool CardOpen() const override;
    Answer AskSaveChanges() override;
    bool SaveCard() override;
    bool ShowPage(bool back) override;
    void JobDone() override;

private:
    MainWindow& window_;
    bool turned_ = false;
};

} // namespace cw
