#include "CardPages.h"

#include "AppContext.h"

namespace cw {

NamedCardPages::NamedCardPages(AppContext& ctx, std::string cardName)
    : ctx_(ctx), name_(std::move(cardName)) {}

bool NamedCardPages::Exists() const {
    return ExistsAnyCase(ctx_.Card.Location().CardDir / (name_ + ctx_.Card.Location().CardExt));
}

bool NamedCardPages::Open() {
    open_ = false;
    return ShowPage(false);
}

bool NamedCardPages::ShowPage(bool back) {
    if (open_ && back == ctx_.Card.BackSide())
        return true;
    if (back && !ctx_.Format.HasBackPage())
        return false;
    // The side decides which font block of the format's defaults is in force.
    ctx_.Card.SetBackSide(back);
    ctx_.ApplyFormatDefaults(false);
    ctx_.Card.SetCardName(name_ + (back ? "_" : ""));
    open_ = ctx_.LoadCard();
    return open_;
}

} // namespace cw
