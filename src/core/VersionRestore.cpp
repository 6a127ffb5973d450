#include "VersionRestore.h"

#include "AppContext.h"
#include "CardFile.h"
#include "CardToolLocations.h"
#include "ChangedState.h"
#include "ErrorTrap.h"
#include "PageChanger.h"

namespace cw {

bool IsVersionOfOpenPage(const AppContext& ctx, const ArchivedVersion& version) {
    return EqualsIgnoreCase(version.pageFile,
                            ctx.Card.Location().CurrentCardName + ctx.Card.Location().CardExt);
}

bool RestorePageVersion(AppContext& ctx, ChangedState& changed, PageChanger& changer,
                        const ArchivedVersion& version) {
    if (!changed.CardOpen() || !IsVersionOfOpenPage(ctx, version))
        return false;
    const bool unsaved = changed.CardChanged();
    const Answer answer = changed.AskSaveChanges();
    if (answer == Answer::Cancel)
        return false;
    // No drops the changes: the page the restore replaces (and an undo brings back) is the
    // one on disk.
    if (unsaved && answer == Answer::No && !ctx.LoadCard())
        return false;
    CardPage restored;
    bool read = ctx.errorTrap.Guard(
        loc::RestoreVersion,
        [&] {
            // The back page keeps the card's notes line of the front page, as on loading.
            restored.CardHeader = ctx.Card.Page().CardHeader;
            CardFile::ParsePage(restored, ReadFileBytes(version.file), ctx.Card.BackSide());
        },
        [&] { return std::vector<ErrValue>{version.file.string()}; });
    if (!read)
        return false;
    changer.ReplacePage(std::move(restored), "Restore Version");
    return changed.SaveCard();
}

} // namespace cw
