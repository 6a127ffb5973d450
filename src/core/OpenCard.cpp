#include "OpenCard.h"

#include <cassert>

namespace cw {

CardPage& OpenCard::Edit() {
    if (watcher_ && !watcher_->RecordingChange()) {
        assert(!"the open page is changed outside its history");
        watcher_->PageChangedUnseen();
    }
    return page_;
}

void OpenCard::Replace(CardPage page) {
    page_ = std::move(page);
    if (watcher_)
        watcher_->PageReplaced(true);
}

void OpenCard::Rewrite(const std::function<void(CardPage&)>& change) {
    CardPage changed = page_;
    change(changed);
    page_ = std::move(changed);
    if (watcher_)
        watcher_->PageReplaced(false);
}

void OpenCard::Saved(CardPage written) {
    written.ReadIncompletely = false;
    if (written.SameContent(page_))
        page_.ReadIncompletely = false;
    else
        Replace(std::move(written));
}

} // namespace cw
