#pragma once

#include "Prompter.h"

#include <functional>
#include <vector>

namespace cw {

class AppContext;
class PageChanger;

// The controls that follow the open card's state: the save commands while there are unsaved
// changes, the card commands while a card is open.
class ChangedStateView {
public:
    virtual ~ChangedStateView() = default;
    virtual void EnableSaveCommands(bool enabled) = 0;
    // namesEditable: "Edit Names and Player Numbers" is offered for this format.
    virtual void EnableCardCommands(bool enabled, bool namesEditable) = 0;
};

// Whether a card is open and whether it has unsaved changes. The two flags change only
// through SetChangedState, which also enables and disables the commands that depend on them.
class ChangedState {
public:
    static constexpr int CardChangedCode = 0;
    static constexpr int CardSavedCode = 1;
    static constexpr int CardOpenedCode = 2;
    static constexpr int NoCardCode = 3;

    explicit ChangedState(AppContext& context) : context_(context) {}

    void AddView(ChangedStateView* view) { views_.push_back(view); }
    // Where a page reloaded from disk goes, so that the reload is one undoable step. Without
    // one the page is read again in place.
    void SetPageChanger(PageChanger* changer) { changer_ = changer; }

    // 0 card changed, 1 saved (nothing unsaved), 2 card open, 3 no card.
    void SetChangedState(int code);

    // Asks whether to save an open, changed card: Yes saves it, No marks it unchanged.
    // Returns the answer, or No when nothing was asked; Cancel when the save failed.
    Answer AskSaveChanges();

    // Saves the open page; on success nothing is left unsaved. When another program changed
    // the page's file since it was opened, asks first: Overwrite saves, Reload shows the file
    // as it is on disk (and saves nothing), Cancel saves nothing.
    bool SaveCard();

    // Work that belongs to the open card's next save, such as the front page's notes line
    // changed while the back page is open: run once the page is saved, dropped when the
    // card's changes are given up or another card (or none) is opened. A step that fails
    // (false, having said why) leaves the card unsaved, to be tried again with the next save.
    void RunWithNextSave(std::function<bool()> step) { withNextSave_.push_back(std::move(step)); }

    bool CardOpen() const { return cardOpen_; }
    bool CardChanged() const { return cardChanged_; }

private:
    // False when the user chose not to overwrite a file changed on disk.
    bool MayOverwritePage();

    AppContext& context_;
    PageChanger* changer_ = nullptr;
    std::vector<ChangedStateView*> views_;
    std::vector<std::function<bool()>> withNextSave_;
    bool cardOpen_ = false;
    bool cardChanged_ = false;
};

} // namespace cw
