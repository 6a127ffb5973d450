#include "ChangedState.h"

#include "AppContext.h"
#include "CardFile.h"
#include "ErrorTrap.h"
#include "LocationCodes.h"
#include "PageChanger.h"
#include "ProgramTexts.h"

namespace cw {

void ChangedState::SetChangedState(int code) {
    switch (code) {
    case CardChangedCode:
    case CardSavedCode:
        cardChanged_ = code == CardChangedCode;
        for (auto* view : views_)
            view->EnableSaveCommands(cardChanged_);
        break;
    case CardOpenedCode:
    case NoCardCode: {
        withNextSave_.clear();
        cardOpen_ = code == CardOpenedCode;
        bool namesEditable = !context_.HasFormat() || context_.Format.Number(ColNamesMode) != 2;
        for (auto* view : views_)
            view->EnableCardCommands(cardOpen_, namesEditable);
        break;
    }
    default:
        break;
    }
}

Answer ChangedState::AskSaveChanges() {
    if (!cardOpen_ || !cardChanged_)
        return Answer::No;
    Prompter& prompter = context_.prompter;
    prompter.Beep();
    Answer answer = prompter.Message(
        GetProgramText(TextId::AskSaveChangesTo) + context_.Card.Location().CurrentCardName,
        GetProgramText(TextId::ProgramName), Buttons::YesNoCancel, Icon::Question);
    // A save that failed (and was reported) must not let the caller go on as if the card
    // were safe: the card stays open with its changes.
    if (answer == Answer::Yes && !SaveCard())
        return Answer::Cancel;
    if (answer == Answer::No) {
        withNextSave_.clear();
        SetChangedState(CardSavedCode);
    }
    return answer;
}

bool ChangedState::MayOverwritePage() {
    std::optional<std::string> onDisk = context_.PageChangedOnDisk();
    if (!onDisk)
        return true;
    const std::string file =
        context_.Card.Location().CurrentCardName + context_.Card.Location().CardExt;
    std::optional<size_t> choice = context_.prompter.Choose(
        "The card file " + file +
            " was changed by another program since you opened it here.\n\n"
            "Overwrite it with the card as you see it, or reload it as it is now on disk "
            "(your changes here are dropped; Undo brings them back)?",
        GetProgramText(TextId::ProgramName), {"Overwrite", "Reload"});
    if (choice == size_t(0))
        return true;
    if (choice == size_t(1)) {
        bool read = context_.errorTrap.Guard(
            loc::LoadCard,
            [&] {
                CardPage reloaded;
                // The back page keeps the card's notes line of the front page, as on loading.
                reloaded.CardHeader = context_.Card.Page().CardHeader;
                CardFile::ParsePage(reloaded, *onDisk, context_.Card.BackSide());
                if (changer_)
                    changer_->ReplacePage(std::move(reloaded), "Reload from Disk");
                else
                    context_.Card.Replace(std::move(reloaded));
            },
            [&] { return std::vector<ErrValue>{context_.Card.Location().PagePath().string()}; });
        if (read) {
            context_.Card.FileSeen(std::move(*onDisk));
            SetChangedState(CardSavedCode);
        }
    }
    return false;
}

bool ChangedState::SaveCard() {
    if (!MayOverwritePage())
        return false;
    if (!context_.SaveCard())
        return false;
    std::vector<std::function<bool()>> steps = std::move(withNextSave_);
    withNextSave_.clear();
    for (auto& step : steps)
        if (!step())
            withNextSave_.push_back(std::move(step));
    if (!withNextSave_.empty()) {
        SetChangedState(CardChangedCode);
        return false;
    }
    SetChangedState(CardSavedCode);
    return true;
}

} // namespace cw
