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
    if (written.CardHeader == page_.CardHeader &&
        written.UseAltBaseLayer == page_.UseAltBaseLayer) {
        bool same = written.FooterRecord() == page_.FooterRecord();
        for (int kind = 0; same && kind < CardPage::KindSlots; ++kind)
            same = written.Fields(kind) == page_.Fields(kind);
        if (same) {
            page_.ReadIncompletely = false;
            return;
        }
    }
    Replace(std::move(written));
}

} // namespace cw
