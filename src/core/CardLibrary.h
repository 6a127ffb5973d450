#pragma once

#include "FileOps.h"
#include "Prompter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cw {

class AppContext;
class CardFormatView;
class ChangedState;
class CardPage;

// What a click in the card list or "Done" of the name dialog means.
enum class NameDialogMode : int16_t {
    NewCard = 0,
    DeleteCard = 3,
    EditNames = 4,
    CopyCard = 5,
    CopyToDiskette = 6,
};

// The entries of the name dialog nameEdit(0..4): the card's file name, my names, my player
// number, the names as they appear on partner's card, partner's player number. Texts are the
// bytes that go into the card file.
using NameEntries = std::array<std::string, 5>;

// The start-face controls the card library works with.
class CardLibraryView {
public:
    virtual ~CardLibraryView() = default;
    virtual void ShowCardList(const std::vector<std::string>& entries) = 0;
    // index -1: nothing selected.
    virtual void SelectCardInList(int index) = 0;
    // The hint for creating a first card, shown while the sample card is the only card.
    virtual void ShowFirstCardHint(bool visible) = 0;
    // The selection prompt and the button that cancels a selection.
    virtual void ShowSelectionPrompt(const std::string& text, bool cancelVisible) = 0;
    // The card status label.
    virtual void ShowCardStatus(const std::string& text) = 0;
    // Sets the side buttons without reopening anything.
    virtual void ShowSide(bool backSide) = 0;
    virtual void ShowCardFace() = 0;
};

// Where cards are copied to and from: a folder the user picks (the "diskette").
class TransferFolderChooser {
public:
    virtual ~TransferFolderChooser() = default;
    // nullopt when the user cancels.
    virtual std::optional<fs::path> ChooseTransferFolder(const std::string& caption) = 0;
};

// Which of the card's first text fields receive the name dialog's entries (name dialog entry index
// per text field, 0 = none), by the format's names mode.
std::vector<int> NameFieldEntries(int namesMode);

// Checks a file name the user typed (cards, notes files): not empty, letters, digits and
// " -_+!@,#$%^&" only. Says why not.
bool ValidateFileName(Prompter& prompter, const std::string& name);

// The cards of the current format: listing, opening, creating, naming, copying, deleting
// and the transfer to and from a removable medium. All questions go through the Prompter.
class CardLibrary {
public:
    CardLibrary(AppContext& context, ChangedState& changed, CardFormatView& formatView,
                CardLibraryView& view, TransferFolderChooser& chooser);

    // The list of front-page card files of the current format, in upper case, as UTF-8
    // (names copied from Windows in windows-1252 are decoded).
    void FillCardList();
    const std::vector<std::string>& Entries() const { return entries_; }
    // The cards' names as the user typed them (the file names without the extension), in the
    // order of Entries(); what the windows show.
    const std::vector<std::string>& ShownNames() const { return shownNames_; }
    // The shown name of a card (an entry or a card name in any letter case); the name itself
    // when no such card is listed.
    std::string ShownNameOf(const std::string& cardName) const;
    int Selected() const { return selected_; }
    NameDialogMode Mode() const { return mode_; }

    // Checks a card name: not empty, letters, digits and " -_+!@,#$%^&" only. Says why not.
    bool ValidateFileName(const std::string& name);
    // Compares fileName with the listed cards: Yes when it is free, No (after saying so) when
    // it is the source itself, otherwise the user's answer to replacing it.
    Answer CheckCardName(const std::string& fileName, const std::string& source = {});

    // Starts choosing a card for deleting or copying; false when there is no card.
    bool StartCardSelection(NameDialogMode mode);
    // "Cancel" of a selection.
    void CancelSelection();

    // A click in the card list: opens, deletes or copies the entry by the mode.
    void ListClick(int index);
    // Opens an entry on the selected side.
    bool OpenCard(int index);
    // Opens the card of this name (a file of the current format's card folder) on the
    // chosen side; false when it is not in the list or cannot be opened.
    bool OpenCardNamed(const std::string& cardName, bool backSide);

    // "Create a New Card": false when the user cancelled the save question.
    bool PrepareNewCard();
    // "Edit Names and Player Numbers": the entries to show; nullopt when no card can be named.
    std::optional<NameEntries> PrepareEditNames();
    // "Done" of the name dialog; true when the dialog is finished.
    bool FinishNameDialog(const NameEntries& entries);
    // "Cancel" of the name dialog.
    void CancelNameDialog() { mode_ = NameDialogMode::NewCard; }

    // Copies a card under a new name (asked for unless given), asking again while the name is
    // taken and the user does not want to replace it.
    bool CopyCard(int index, std::optional<std::string> newName = std::nullopt);
    // Deletes a card after asking; its pages are kept in the card history.
    bool DeleteCard(int index);
    // Brings a deleted card back from the card history; false when its name is taken now
    // and the user does not want it replaced, or when it cannot be written.
    bool RestoreDeletedCard(const std::string& card);
    bool CopyToDiskette(int index);
    bool CopyCardsFromDiskette();

    // The side buttons: reopens the open card on the chosen side; false when the user
    // cancelled the save question (the side stays as it was).
    bool SwitchSide(bool backSide);

    // Closes the open card (after the save question was answered).
    void MarkCardClosed();

    // N + "_" + ext for a card file N + ext when the format has a back page, else empty.
    std::string BackPageFileName(const std::string& fileName) const;
    // The card's base name of an entry (without the extension).
    std::string CardNameOf(const std::string& entry) const;

private:
    bool CreateCard(const NameEntries& entries);
    bool EditNames(const NameEntries& entries);
    void StoreNames(CardPage& page, const NameEntries& entries) const;
    void EndOperation();
    int IndexOf(const std::string& fileName) const;
    bool IsOpenCard(const std::string& entry) const;
    bool IsBackPageName(const std::string& fileName) const;
    bool HasBackPage() const;
    Answer Ask(const std::string& text, Buttons buttons, Icon icon = Icon::None,
               DefaultButton defaultButton = DefaultButton::First);
    void OpenCardAt(int index);

    AppContext& context_;
    ChangedState& changed_;
    CardFormatView& formatView_;
    CardLibraryView& view_;
    TransferFolderChooser& chooser_;

    std::vector<std::string> entries_;
    std::vector<std::string> shownNames_;
    int selected_ = -1;
    NameDialogMode mode_ = NameDialogMode::NewCard;
};

} // namespace cw
