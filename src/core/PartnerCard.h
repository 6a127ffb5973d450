#pragma once

#include "CardPage.h"
#include "FileOps.h"

#include <optional>
#include <string>

namespace cw {

class AppContext;

// Both pages of a card, read as saved.
struct SavedCardPages {
    CardPage front;
    std::optional<CardPage> back;

    const CardPage* Page(bool backPage) const {
        return backPage ? (back ? &*back : nullptr) : &front;
    }
};

// A card to compare the open card with: a card of the current format chosen from the card
// list, or a card file from anywhere (a partner's file on a memory stick).
struct PartnerCard {
    std::string name; // the card's name, as its file is named
    fs::path frontPath;
    SavedCardPages pages;

    // Reads the card whose front (or back) page file is file. A file of another format, or
    // one that is no card file, is refused: nullopt, with the reason in problem.
    static std::optional<PartnerCard> Read(const AppContext& ctx, const fs::path& file,
                                           std::string& problem);
};

// Both pages of a card of the current format in its card folder; nullopt when its front
// page is not there.
std::optional<SavedCardPages> ReadCardPages(const AppContext& ctx, const std::string& cardName);

// How many of the front page's first text fields hold names and player numbers.
int NameFieldCount(const AppContext& ctx);

} // namespace cw
