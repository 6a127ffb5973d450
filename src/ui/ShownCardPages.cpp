#include "ShownCardPages.h"

#include "AppContext.h"
#include "MainWindow.h"

namespace cw {

bool ShownCardPages::CardOpen() const {
    return window_.Session().Changed().CardOpen();
}

Answer ShownCardPages::AskSaveChanges() {
    return window_.Session().Changed().AskSaveChanges();
}

bool ShownCardPages::SaveCard() {
    return window_.Session().Changed().SaveCard();
}

bool ShownCardPages::ShowPage(bool back) {
    AppContext& ctx = window_.Session().Context();
    if (!CardOpen())
        return false;
    if (back == ctx.Card.BackSide())
        return true;
    // As a click on the side button: the open card is read again on the other page.
    if (!window_.Session().Library().SwitchSide(back))
        return false;
    window_.ShowSide(back);
    turned_ = true;
    return CardOpen() && ctx.Card.BackSide() == back;
}

void ShownCardPages::JobDone() {
    // Only a page turned shows: the job drew on paper and pictures of its own.
    if (turned_ && window_.CardFaceShown())
        window_.ShowCardFace();
    turned_ = false;
}

} // namespace cw
