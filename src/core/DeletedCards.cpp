#include "DeletedCards.h"

#include "AppContext.h"
#include "FileOps.h"
#include "RuntimeError.h"

namespace cw {

std::string MoveCardToHistory(AppContext& ctx, const std::string& card,
                              const std::vector<fs::path>& pages) {
    // All pages or none: a card whose front page went while its back page could not is no
    // longer listed, yet is not whole in the history either.
    std::vector<std::pair<fs::path, fs::path>> moved; // page, its version
    try {
        for (const fs::path& page : pages)
            moved.emplace_back(page, ctx.Archive.MoveIn(ctx.ArchiveFormat(), card, page));
    } catch (const std::exception& error) {
        for (const auto& [page, version] : moved) {
            if (ctx.fileSystem.Rename(version, page) == 0)
                continue;
            try {
                AtomicReplace(ctx.fileSystem, page, ReadFileBytes(version),
                              ctx.Card.Location().ScratchPath());
                ctx.fileSystem.Remove(version);
            } catch (const std::exception&) {
                // The page stays in the history, where "Restore a Deleted Card" finds it.
            }
        }
        return error.what();
    }
    return {};
}

std::vector<DeletedCard> DeletedCardsOfFormat(const AppContext& ctx) {
    if (!ctx.HasFormat())
        return {};
    return ctx.Archive.DeletedCards(ctx.ArchiveFormat(), ctx.Card.Location().CardDir,
                                    ctx.Card.Location().CardExt);
}

std::string RestoreCardFromHistory(AppContext& ctx, const std::string& card) {
    const std::string& ext = ctx.Card.Location().CardExt;
    const std::string format = ctx.ArchiveFormat();
    auto front = ctx.Archive.Versions(format, card, card + ext);
    if (front.empty())
        throw RuntimeError::FileNotFoundError(
            (ctx.Archive.CardFolder(format, card) / (card + ext)).string());
    // The back page first: a card is listed by its front page, so a card that could not be
    // brought back whole does not appear.
    std::vector<ArchivedVersion> pages;
    if (ctx.Format.HasBackPage()) {
        auto back = ctx.Archive.Versions(format, card, card + "_" + ext);
        if (!back.empty())
            pages.push_back(back.front());
    }
    pages.push_back(front.front());
    for (const ArchivedVersion& page : pages) {
        fs::path target = ctx.Card.Location().CardDir / page.pageFile;
        AtomicReplace(ctx.fileSystem, target, ReadFileBytes(page.file),
                      ctx.Card.Location().ScratchPath());
    }
    return front.front().pageFile;
}

} // namespace cw
