#include "CardCommand.h"

#include "Application.h"
#include "CardFormatView.h"
#include "FileOps.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

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
    if (ctx.Format.Catalogue().FormatCount == 0) {
        err << "No card format is installed in " << ctx.paths.ProgramFolder.string() << '\n';
        return std::nullopt;
    }
    int16_t slot = ctx.Format.Current();
    if (code) {
        auto found = FindFormat(ctx.Format.Catalogue(), *code);
        if (!found) {
            err << "Card format " << *code << " is not installed. Installed:";
            for (int16_t i = 0; i < ctx.Format.Catalogue().FormatCount; ++i)
                err << ' ' << ctx.Format.Catalogue().Code(i);
            err << '\n';
            return std::nullopt;
        }
        slot = *found;
    }
    if (slot < 0 || slot >= ctx.Format.Catalogue().FormatCount)
        slot = int16_t(ctx.Format.Catalogue().FormatCount - 1);
    return slot;
}

bool SetUpCardCommand(Application& app, const std::optional<std::string>& code, std::ostream& err) {
    auto slot = StartCardCommand(app, code, err);
    if (!slot)
        return false;
    NoCardFormatView noView;
    return app.Context().SetupCardFormat(*slot, noView);
}

bool CardFound(const AppContext& ctx, const std::string& card, std::ostream& err) {
    // In a two-page format "NAME_" is the back page of NAME, never a card of its own.
    if (ctx.Format.HasBackPage() && !card.empty() && card.back() == '_') {
        err << card << " is the back page of the card " << card.substr(0, card.size() - 1)
            << ", not a card; give the card's name.\n";
        return false;
    }
    const fs::path front = ctx.Card.Location().CardDir / (card + ctx.Card.Location().CardExt);
    if (ExistsAnyCase(front))
        return true;
    err << "Card " << card << " not found: " << front.string() << '\n';
    return false;
}

bool OutputFileWritable(const std::filesystem::path& file, std::ostream& err) {
    const fs::path folder = file.parent_path();
    if (!fs::is_directory(folder)) {
        err << "The folder " << folder.string() << " does not exist.\n";
        return false;
    }
    if (fs::is_directory(file)) {
        err << "Cannot write " << file.string() << ": it is a folder.\n";
        return false;
    }
    if (::access(folder.c_str(), W_OK) != 0) {
        err << "Cannot write " << file.string() << ": the folder " << folder.string()
            << " does not take new files (" << std::strerror(errno) << ").\n";
        return false;
    }
    return true;
}

bool SetUpForCard(Application& app, const std::optional<std::string>& code, const std::string& card,
                  std::ostream& err) {
    return SetUpCardCommand(app, code, err) && CardFound(app.Context(), card, err);
}

} // namespace cw
