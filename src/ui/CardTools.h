#pragma once

#include "CardArchive.h"
#include "CardComparison.h"
#include "CardOverlay.h"
#include "ChangedState.h"
#include "OverflowCheck.h"
#include "PageChanger.h"
#include "PartnerCard.h"
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
class CardHistoryCommands;
class ComparisonPanel;
class MainWindow;
class TextCodec;

// What the main window offers beyond filling in: the marks of cut-off text and "Check Card",
// the comparison with a partner's card, and the menu commands of the card history and
// deleted cards (CardHistoryCommands). It keeps the marks over the card picture up to date
// as the card changes.
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

    // "Compare with Card...": asks for the card, then compares.
    void ChooseCardToCompare();
    // Compares the open card with the card whose page file is file; a card of another format
    // is refused with a message.
    bool CompareWith(const fs::path& file);
    void EndComparison();
    bool Comparing() const { return partner_.has_value(); }
    const std::vector<FieldDifference>& Differences() const { return differences_; }
    // Shows a difference on the card (turning the card over when needed) and chooses it.
    void ChooseDifference(int index);
    // Copies the partner's value of the chosen difference onto the card, as one step.
    bool TakePartnersValue();
    ComparisonPanel* comparisonPanel() const;

    // "Card History..." and "Restore a Deleted Card...".
    CardHistoryCommands& History() { return *history_; }

    // The marks drawn again for the card as it is now.
    void RefreshMarks();
    const CardOverlay& Overlay() const { return overlay_; }
    const std::vector<FieldOverflow>& ShownOverflows() const { return shownOverflows_; }

    // ChangedStateView: every change of the card brings the marks up to date.
    void EnableSaveCommands(bool enabled) override;
    void EnableCardCommands(bool enabled, bool namesEditable) override;

private:
    void ScheduleRefresh();
    void Recompare();
    void ShowComparison();
    void ShowChosenDifference();
    bool TurnTo(bool backPage);
    const TextCodec& Codec() const;

    MainWindow& window_;
    AppContext& context_;
    OverflowCheck check_;
    CardOverlay overlay_;
    // Whole-page changes, each one step of the undo history.
    UndoablePageChanger changer_;
    CardHistoryCommands* history_; // a child of the window
    bool refreshPending_ = false;

    std::vector<FieldOverflow> shownOverflows_;
    QPointer<CardCheckPanel> checkPanel_;

    std::optional<PartnerCard> partner_;
    std::vector<FieldDifference> differences_;
    std::optional<FieldDifference> chosen_;
    QPointer<ComparisonPanel> comparisonPanel_;

    // The card the comparison was started for.
    std::string comparedCard_;
    std::vector<QAction*> cardActions_;
};

} // namespace cw
