#include "Commands.h"

#include "Application.h"

namespace cw {

std::string FormatsListing(const FormatCatalogue& catalogue) {
    std::string text;
    for (int slot = 0; slot < catalogue.FormatCount; ++slot) {
        text += std::to_string(slot) + "\t" + catalogue.Code(slot) + "\t" +
                catalogue.Column(slot, ColExtension) + "\t" + catalogue.Column(slot, ColBackPage) +
                "\t" + catalogue.Column(slot, ColDisplayName) + "\n";
    }
    return text;
}

int RunFormatsCommand(Application& app, std::ostream& out) {
    if (!app.RunStartup())
        return 1;
    out << FormatsListing(app.Context().Catalogue);
    return 0;
}

} // namespace cw
