#include "ChangedState.h"

#include "AppContext.h"
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
        cardOpen_ = code == CardOpenedCode;
        bool namesEditable = !context_.HasFormat() ||
                             context_.Catalogue.Number(context_.CurrentFormat, ColNamesMode) != 2;
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
        GetProgramText(TextId::AskSaveChangesTo) + context_.Location.CurrentCardName,
        GetProgramText(TextId::ProgramName), Buttons::YesNoCancel, Icon::Question);
    // A save that failed (and was reported) must not let the caller go on as if the card
    // were safe: the card stays open with its changes.
    if (answer == Answer::Yes && !SaveCard())
        return Answer::Cancel;
    if (answer == Answer::No)
        SetChangedState(CardSavedCode);
    return answer;
}

bool ChangedState::SaveCard() {
    if (!context_.SaveCard())
        return false;
    SetChangedState(CardSavedCode);
    return true;
}

} // namespace cw
