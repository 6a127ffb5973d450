#include "OpenCard.h"

#include "FileOps.h"

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

void OpenCard::RememberFile() {
    fileSeen_.reset();
    if (auto file = ResolveExisting(location_.PagePath())) {
        try {
            fileSeen_ = ReadFileBytes(*file);
        } catch (const std::exception&) {
        }
    }
}

std::optional<std::string> OpenCard::FileChangedSinceSeen() const {
    if (!fileSeen_)
        return std::nullopt;
    auto file = ResolveExisting(location_.PagePath());
    if (!file)
        return std::nullopt;
    try {
        std::string now = ReadFileBytes(*file);
        if (now != *fileSeen_)
            return now;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

} // namespace cw
