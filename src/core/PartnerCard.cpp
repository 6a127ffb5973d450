#include "PartnerCard.h"

#include "AppContext.h"
#include "CardLibrary.h"
#include "CardPageReader.h"

namespace cw {

namespace {

// The slot of the format whose card files end in extension (with its dot), or -1.
int FormatOfExtension(const FormatCatalogue& catalogue, const std::string& extension) {
    for (int slot = 0; slot < catalogue.FormatCount; ++slot)
        if (!extension.empty() && EqualsIgnoreCase(catalogue.Column(slot, ColExtension), extension))
            return slot;
    return -1;
}

std::optional<SavedCardPages> ReadPages(const AppContext& ctx, const fs::path& folder,
                                        const std::string& cardName, const std::string& extension) {
    CardLocation location{folder, cardName, extension};
    auto front = ReadCardPage(location, false, std::nullopt);
    if (!front)
        return std::nullopt;
    SavedCardPages pages{std::move(*front), std::nullopt};
    if (ctx.Format.HasBackPage()) {
        location.CurrentCardName += "_";
        pages.back = ReadCardPage(location, true, ctx.Format.BackTemplateForMissingPage());
    }
    return pages;
}

} // namespace

std::optional<PartnerCard> PartnerCard::Read(const AppContext& ctx, const fs::path& file,
                                             std::string& problem) {
    const FormatCatalogue& catalogue = ctx.Format.Catalogue();
    const std::string wanted = catalogue.Column(ctx.Format.Current(), ColExtension);
    const std::string extension = file.extension().string();
    const std::string shown = file.filename().string();
    const int slot = FormatOfExtension(catalogue, extension);
    if (slot != ctx.Format.Current()) {
        const std::string current = catalogue.Column(ctx.Format.Current(), ColDisplayName);
        if (slot < 0)
            problem = shown + " is not a card file of the format " + current +
                      " (its name would end in " + wanted + ").";
        else
            problem = shown + " is a card of the format " + catalogue.Column(slot, ColDisplayName) +
                      ", not " + current + ".  Only cards of the same format can be compared.";
        return std::nullopt;
    }
    std::string name = file.stem().string();
    // The back page was chosen: its card is the front page beside it.
    if (catalogue.HasBackPage(ctx.Format.Current()) && name.size() > 1 && name.back() == '_' &&
        ExistsAnyCase(file.parent_path() / (name.substr(0, name.size() - 1) + extension)))
        name.pop_back();
    auto pages = ReadPages(ctx, file.parent_path(), name, extension);
    if (!pages) {
        problem = "The card " + shown + " cannot be found.";
        return std::nullopt;
    }
    PartnerCard card;
    card.name = name;
    card.frontPath = ResolveExisting(file.parent_path() / (name + extension)).value_or(file);
    card.pages = std::move(*pages);
    return card;
}

std::optional<SavedCardPages> ReadCardPages(const AppContext& ctx, const std::string& cardName) {
    return ReadPages(ctx, ctx.Card.Location().CardDir, cardName, ctx.Card.Location().CardExt);
}

int NameFieldCount(const AppContext& ctx) {
    if (!ctx.HasFormat())
        return 0;
    return int(NameFieldEntries(int(ctx.Format.Number(ColNamesMode))).size());
}

} // namespace cw
