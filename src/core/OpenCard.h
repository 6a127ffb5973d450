#pragma once

#include "CardFile.h"
#include "CardPage.h"

#include <functional>
#include <optional>
#include <string>

namespace cw {

// The card that is open: where its page's file is, which side it is, and the page. The page
// changes in two ways only, so that whoever keeps its undo history always knows it as it is:
// - an edit the history records: Edit(), while the history's change is open;
// - a whole new state (the page read, read again, cleared, restored, names written by the
//   name dialog): Replace() or Rewrite(), after which the history starts afresh.
// (The history of the card lives above this layer; it watches the page through Watcher.)
class OpenCard {
public:
    // Keeps a history of the page (the undo history of the main window).
    class Watcher {
    public:
        virtual ~Watcher() = default;
        // The page has a new state the watcher did not make: as its file holds it (read,
        // saved), or changed from it.
        virtual void PageReplaced(bool asInFile) = 0;
        // The page is about to be changed in a way the watcher cannot know: it must not
        // trust its idea of the page before it next uses it.
        virtual void PageChangedUnseen() = 0;
        // Whether the watcher is recording a change of the page now.
        virtual bool RecordingChange() const = 0;
    };

    OpenCard() = default;
    OpenCard(const OpenCard&) = delete;
    OpenCard& operator=(const OpenCard&) = delete;

    // The page's file, and whether it is the card's back page.
    const CardLocation& Location() const { return location_; }
    bool BackSide() const { return backSide_; }
    void SetLocation(CardLocation location) { location_ = std::move(location); }
    void SetCardName(std::string name) { location_.CurrentCardName = std::move(name); }
    void SetBackSide(bool back) { backSide_ = back; }

    const CardPage& Page() const { return page_; }

    // The page to change, for a change the watcher records; with no watcher (the
    // command-line tools) for any change. An edit while a watcher records nothing is a fault
    // of the program: it is caught in debug builds, and elsewhere the watcher is told, so
    // that no undo puts back tables that would drop the edit.
    CardPage& Edit();
    // The page becomes page, as read from (or written to) its file.
    void Replace(CardPage page);
    // change is made on a copy of the page, which then replaces it: a change of the card
    // that is not a step of its history.
    void Rewrite(const std::function<void(CardPage&)>& change);
    // The page has been saved as it is (a save takes quotes out of its texts: a page that
    // differs from the one saved is replaced by it).
    void Saved(CardPage written);

    void SetWatcher(Watcher* watcher) { watcher_ = watcher; }

    // The page's file as this program last read or wrote it, to tell another program's
    // changes from its own: read again now (nothing when it cannot be read), or taken as
    // bytes (after reloading it).
    void RememberFile();
    void FileSeen(std::string bytes) { fileSeen_ = std::move(bytes); }
    const std::optional<std::string>& FileAsSeen() const { return fileSeen_; }
    // The file's bytes when another program changed it since; nullopt when it is as this
    // program left it, was never seen, or cannot be read now.
    std::optional<std::string> FileChangedSinceSeen() const;

private:
    CardLocation location_;
    bool backSide_ = false;
    CardPage page_;
    Watcher* watcher_ = nullptr;
    std::optional<std::string> fileSeen_;
};

} // namespace cw
