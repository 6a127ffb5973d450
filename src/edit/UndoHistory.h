#pragma once

#include "CardPage.h"
#include "ChangedState.h"
#include "OpenCard.h"

#include <QString>
#include <QUndoCommand>
#include <QUndoStack>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cw {

// What one step did to the open page: the tables that differ, each before and after, and the
// header lines, the kind-21 record and the base-layer flag when they differ. Pages are small,
// so a step simply keeps the whole tables it touched.
struct PageDelta {
    struct Table {
        int kind = 0;
        std::vector<CardField> before;
        std::vector<CardField> after;
    };
    std::vector<Table> tables;
    std::optional<std::pair<CardField, CardField>> kind21;
    std::optional<std::pair<std::array<std::string, 7>, std::array<std::string, 7>>> header;
    std::optional<std::pair<bool, bool>> altBaseLayer;

    static PageDelta Between(const CardPage& before, const CardPage& after);
    bool Empty() const;
    // The kinds whose tables the step changed.
    std::vector<int> Kinds() const;
    void ApplyBefore(CardPage& page) const;
    void ApplyAfter(CardPage& page) const;
    // Folds a later step into this one: one step from this one's before to later's after.
    void Absorb(const PageDelta& later);
};

class UndoHistory;

// One step of the card's history that replaces the tables it changed. Undo puts the before
// state back, redo the after state; either way the history tells its owner to redraw.
class ReplacePageCommand : public QUndoCommand {
public:
    // A step from before to after. The page must be before when the command is pushed: the
    // push makes it after.
    ReplacePageCommand(UndoHistory& history, const CardPage& before, const CardPage& after,
                       const QString& text);
    // A step that has already happened (the page is after when the command is pushed).
    // Steps with the same non-empty mergeKey that follow each other become one.
    ReplacePageCommand(UndoHistory& history, PageDelta delta, const QString& text,
                       QString mergeKey);

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

    const PageDelta& Delta() const { return delta_; }

private:
    UndoHistory& history_;
    PageDelta delta_;
    QString mergeKey_;
    bool pushedApplied_ = false;
};

// The undo history of the open page. Every change of the card goes through it: the change
// is made on the page, then recorded as one step (ChangeScope). Undo and redo restore the
// page's tables exactly and ask the owner to redraw. The changed state follows the history:
// undoing back to the saved state leaves the card unchanged, as in any editor; saving marks
// the state as saved and keeps the history; opening another card or page starts it afresh.
//
// The history watches the open card: a page given a whole new state (read again from its
// file, names written by the name dialog, another card opened) starts it afresh, so that an
// undo never puts back tables that would drop such a change.
class UndoHistory : public ChangedStateView, private OpenCard::Watcher {
public:
    UndoHistory(OpenCard& card, ChangedState& changed);
    ~UndoHistory() override;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    QUndoStack& Stack() { return stack_; }
    const CardPage& Page() const { return card_.Page(); }

    // Called after an undo or redo changed the page (the kinds whose tables changed).
    void SetRestoredHandler(std::function<void(const std::vector<int>& kinds)> handler) {
        restored_ = std::move(handler);
    }

    // Forgets every step; the page as it is becomes the starting point.
    void Reset();

    // After a change: records what changed since the last step as one step. Nothing is
    // recorded when nothing changed. text says what the step did ("Tick", "Add Text Field");
    // empty picks a name from the kinds that changed. Returns whether a step was recorded.
    bool Record(const std::string& text = {}, const std::string& mergeKey = {});

    // Replaces the page by after as one step (the page is changed now).
    void ReplacePage(const CardPage& after, const std::string& text);

    bool CanUndo() const { return stack_.canUndo(); }
    bool CanRedo() const { return stack_.canRedo(); }
    // Both return false when there was nothing to do.
    bool Undo();
    bool Redo();

    // The name a step gets from the kinds it changed.
    static std::string NameOfChange(const PageDelta& delta);

    // ChangedStateView: a save keeps the history and marks its state as saved; a card opened
    // or closed starts it afresh.
    void EnableSaveCommands(bool enabled) override;
    void EnableCardCommands(bool enabled, bool namesEditable) override;

private:
    friend class ReplacePageCommand;
    friend class ChangeScope;
    // Puts a step's before or after state on the page.
    void Apply(const PageDelta& delta, bool after);
    void CleanChanged(bool clean);
    // OpenCard::Watcher
    void PageReplaced(bool asInFile) override { asInFile ? Reset() : Forget(); }
    void PageChangedUnseen() override { changedUnseen_ = true; }
    bool RecordingChange() const override { return scopeDepth_ > 0 || applying_; }
    // Starts afresh from a page given a state the history did not make; no undo leads back
    // to a state that counts as saved, since the page is not known to be the file's.
    void Forget();
    // Forgets when the page was changed where the history could not see it.
    void ForgetIfChangedUnseen();

    OpenCard& card_;
    ChangedState& changed_;
    QUndoStack stack_;
    // The page as the history last left it.
    CardPage baseline_;
    std::function<void(const std::vector<int>&)> restored_;
    bool followingChangedState_ = false;
    int scopeDepth_ = 0;
    bool applying_ = false;
    bool changedUnseen_ = false;
};

// A change of the card: the page may be edited while the scope is open, and the change is
// recorded when it closes. Scopes nest; only the outermost one records. A null history
// records nothing.
class ChangeScope {
public:
    explicit ChangeScope(UndoHistory* history, std::string text = {}, std::string mergeKey = {});
    ~ChangeScope();
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

    void SetText(std::string text) { text_ = std::move(text); }
    void SetMergeKey(std::string key) { mergeKey_ = std::move(key); }

private:
    UndoHistory* history_;
    std::string text_;
    std::string mergeKey_;
    bool outermost_ = false;
};

} // namespace cw
