#include "CardCommand.h"

#include "Application.h"

namespace cw {

std::optional<int16_t> FindFormat(const FormatCatalogue& catalogue, const std::string& code) {
    for (int16_t slot = 0; slot < catalogue.FormatCount; ++slot)
        if (EqualsIgnoreCase(catalogue.Code(slot), code))
            return slot;
    return std::nullopt;
}

std::optional<int16_t> StartCardCommand(Application& app, const std::optional<std::string>& code,
                                        std::ostream& err) {
    if (!app.RunStartup(Application::StartupMode::Command))
        return std::nullopt;
    AppContext& ctx = app.Context();
    if (ctx.Catalogue.FormatCount == 0) {
        err << "No card format is installed in " << ctx.paths.ProgramFolder.string() << '\n';
        return std::nullopt;
    }
    int16_t slot = ctx.CurrentFormat;
    if (code) {
        auto found = FindFormat(ctx.Catalogue, *code);
        if (!found) {
            err << "Card format " << *code << " is not installed. Installed:";
            for (int16_t i = 0; i < ctx.Catalogue.FormatCount; ++i)
                err << ' ' << ctx.Catalogue.Code(i);
            err << '\n';
            return std::nullopt;
        }
        slot = *found;
    }
    if (slot < 0 || slot >= ctx.Catalogue.FormatCount)
        slot = int16_t(ctx.Catalogue.FormatCount - 1);
    return slot;
}

} // namespace cw
