#pragma once

#include "CardArchive.h"

namespace cw {

class AppContext;
class ChangedState;
class PageChanger;

// Whether version is a version of the page that is open.
bool IsVersionOfOpenPage(const AppContext& ctx, const ArchivedVersion& version);

// "Restore": makes an earlier version of the open page the page again and saves it. Unsaved
// changes are asked about first (Cancel stops, No drops them); the page the restore replaces is
// kept in the history by the save, so that the restore can itself be undone. The version's tables
// take the page's place through changer, as one step. False when nothing was restored.
bool RestorePageVersion(AppContext& ctx, ChangedState& changed, PageChanger& changer,
                        const ArchivedVersion& version);

} // namespace cw
