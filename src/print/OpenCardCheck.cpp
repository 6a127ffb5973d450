#include "OpenCardCheck.h"

#include "AppContext.h"
#include "CardPageReader.h"

namespace cw {

std::vector<FieldOverflow> CheckOpenCard(AppContext& ctx, OverflowCheck& check) {
    std::vector<FieldOverflow> found =
        check.CheckPage(ctx.RequestForOpenPage(RenderTarget::Screen));
    if (!ctx.HasFormat() || !ctx.Format.HasBackPage())
        return found;
    const bool otherBack = !ctx.Card.BackSide();
    CardLocation other = ctx.Card.Location();
    other.CurrentCardName =
        CardNameOfPage(ctx.Card.Location().CurrentCardName, ctx.Card.BackSide()) +
        (otherBack ? "_" : "");
    auto template_ = otherBack ? ctx.Format.BackTemplateForMissingPage() : std::nullopt;
    if (auto page = ReadCardPage(other, otherBack, template_)) {
        auto more = check.CheckPage(ctx.RequestFor(*page, otherBack, RenderTarget::Screen));
        found.insert(otherBack ? found.end() : found.begin(), more.begin(), more.end());
    }
    return found;
}

} // namespace cw
