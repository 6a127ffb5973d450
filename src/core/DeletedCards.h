#pragma once

#include "CardArchive.h"

#include <string>
#include <vector>

namespace cw {

class AppContext;

// Deleting a card keeps its pages in the card history, so that it can be brought back.

// Moves the page files of card into the history of the current format. Returns why that
// failed, or an empty string; a page that could not be moved stays where it was.
std::string MoveCardToHistory(AppContext& ctx, const std::string& card,
                              const std::vector<fs::path>& pages);

// The deleted cards of the current format that the history holds.
std::vector<DeletedCard> DeletedCardsOfFormat(const AppContext& ctx);

// Writes the newest kept version of each page of a deleted card back into the card folder.
// Throws RuntimeError when the history holds no front page of it or a page cannot be
// written; returns the card's front page file name.
std::string RestoreCardFromHistory(AppContext& ctx, const std::string& card);

} // namespace cw
