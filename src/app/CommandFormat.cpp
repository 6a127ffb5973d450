#include "CommandFormat.h"

#include "AppContext.h"

namespace cw {

std::optional<int16_t> ChooseCommandFormat(const AppContext& ctx,
                                           const std::optional<std::string>& code,
                                           std::ostream& err) {
    const FormatCatalogue& catalogue = ctx.Catalogue;
    if (catalogue.FormatCount == 0) {
        err << "No card format is installed in " << ctx.paths.ProgramFolder.string() << '\n';
        return std::nullopt;
    }
    int16_t slot = ctx.CurrentFormat;
    if (code) {
        std::optional<int16_t> found;
        for (int16_t i = 0; i < catalogue.FormatCount && !found; ++i)
            if (EqualsIgnoreCase(catalogue.Code(i), *code))
                found = i;
        if (!found) {
            err << "Card format " << *code << " is not installed. Installed:";
            for (int16_t i = 0; i < catalogue.FormatCount; ++i)
                err << ' ' << catalogue.Code(i);
            err << '\n';
            return std::nullopt;
        }
        slot = *found;
    }
    if (slot < 0 || slot >= catalogue.FormatCount)
        slot = int16_t(catalogue.FormatCount - 1);
    return slot;
}

bool SetUpCommandFormat(AppContext& ctx, const std::optional<std::string>& code,
                        std::ostream& err) {
    auto slot = ChooseCommandFormat(ctx, code, err);
    if (!slot)
        return false;
    ctx.BackSideSelected = false;
    NoCardFormatView noView;
    return ctx.SetupCardFormat(*slot, noView);
}

bool CommandCardExists(const AppContext& ctx, const std::string& card, std::ostream& err) {
    fs::path front = ctx.Location.CardDir / (card + ctx.Location.CardExt);
    if (ExistsAnyCase(front))
        return true;
    err << "Card " << card << " not found: " << front.string() << '\n';
    return false;
}

} // namespace cw
