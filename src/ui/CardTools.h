#pragma once

#include "CardArchive.h"
#include "CardOverlay.h"
#include "ChangedState.h"
#include "OverflowCheck.h"
#include "PageChanger.h"
#include "UndoablePageChanger.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace cw {

class AppContext;
class CardCheckPanel;
class CardComparisonCommands;
class CardHistoryCommands;
class MainWindow;
class TextCodec;

// What the main window offers beyond filling in: the marks of cut-off text and "Check Card",
// and the menu commands of the comparison with a partner's card (CardComparisonCommands) and
// of the card history and deleted cards (CardHistoryCommands). It keeps the marks over the
// card picture (cut-off texts, differences) up to date as the card changes.
class CardTools : public QObject, public ChangedStateView {
    Q_OBJECT

public:
    CardTools(MainWindow& window, AppContext& context);
    ~CardTools() override;

    // Puts the commands into the menus: the file commands before the action before, "Check
    // Card" at the end of view.
    void AddCommands(QMenu* file, QAction* before, QMenu* view);

    // "Check Card": the panel listing every field of both pages whose text is cut off.
    void ShowCheckPanel();
    CardCheckPanel* checkPanel() const;
    // Opens the editor of a listed field, turning the card over when it is on the other page.
    void OpenCheckedField(bool backPage, int field);

    // "Compare with Card...".
    CardComparisonCommands& Comparison() { return *comparison_; }

    // "Card History..." and "Restore a Deleted Card...".
    CardHistoryCommands& History() { return *history_; }

    // The marks drawn again for the card as it is now.
    void RefreshMarks();
    const CardOverlay& Overlay() const { return overlay_; }
    const std::vector<FieldOverflow>& ShownOverflows() const { return shownOverflows_; }

    // ChangedStateView: every change of the card brings the marks up to date.
    void EnableSaveCommands(bool enabled) override;
    void EnableCardCommands(bool enabled, bool namesEditable) override;

    // The marks drawn again once the change under way is done.
    void ScheduleRefresh();
    // Turns the card to a page (asking to save as a click on the tab does); false when it
    // stays on the other.
    bool TurnTo(bool backPage);

private:
    const TextCodec& Codec() const;

    MainWindow& window_;
    AppContext& context_;
    OverflowCheck check_;
    CardOverlay overlay_;
    // Whole-page changes, each one step of the undo history.
    UndoablePageChanger changer_;
    CardHistoryCommands* history_;       // a child of the window
    CardComparisonCommands* comparison_; // a child of the window
    bool refreshPending_ = false;

    std::vector<FieldOverflow> shownOverflows_;
    QPointer<CardCheckPanel> checkPanel_;

    std::vector<QAction*> cardActions_;
};

} // namespace cw
