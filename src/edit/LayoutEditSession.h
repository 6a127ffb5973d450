#pragma once

#include "FillIn.h"
#include "LayoutEditState.h"
#include "LayoutRules.h"
#include "PanelPlacement.h"
#include "PlacedControl.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace cw {

class AppContext;
class UndoHistory;
class ChangedState;
struct PendingField;

struct FontChoice {
    std::string name;
    double size = 10;
    bool bold = false;
    bool italic = false;
};

// What layout editing asks of the window.
class LayoutEditView {
public:
    // What LayoutChanged reports as changed.
    enum Change : unsigned {
        ModeChanged = 1,
        PanelChanged = 2,
        InstructionsChanged = 4,
        PlacementChanged = 8,
        ButtonsChanged = 16,
        PickersChanged = 32,
        EditorChanged = 64,
        AllChanged = 127,
    };
    virtual ~LayoutEditView() = default;
    // Parts of the state on show changed (Change flags).
    virtual void LayoutChanged(unsigned changes) = 0;
    // The page is to be drawn again (a field was recorded, removed, lifted or put back).
    virtual void RedrawCard() = 0;
    // The text in the in-place editor, as card bytes, and a text to put in it.
    virtual std::string EditorText() const = 0;
    virtual void SetEditorText(const std::string& text) = 0;
    // The font dialog; nullopt when it was cancelled.
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& preset) = 0;
    // The page is read again from its file (its unsaved changes are dropped).
    virtual void ReloadCard() = 0;
    virtual void ShowHelp(int topic) = 0;
    virtual void SaveCardAs() = 0;
    // "Done": filling in goes on.
    virtual void LayoutEditingDone() = 0;
    // The part of the card on show, the panel's size for a menu item and where the check-box
    // marker sits on the panel (from its top left corner), all in card twips.
    virtual CardArea VisibleCard() const = 0;
    virtual std::pair<double, double> PanelSize(int menuIndex) const = 0;
    virtual std::pair<double, double> MarkerOffsetOnPanel() const = 0;
    // Measures for the fields a cleared area covers.
    virtual HitMetrics Metrics() const = 0;
    // The text colour of a field's colour code.
    virtual int32_t TextColourOfCode(int32_t code) const = 0;
};

// Changing the layout of the open page: the actions of the editing menu, what the mouse,
// the panel's arrows and pickers do while one is in force, and what each action records
// when it is committed. The state machine: filling in -> an action is armed ->
// the first press, drop or pick makes it pending -> "Save Change" commits it or "Cancel
// Action" drops it, and the same action is armed again -> "Done" returns to filling in.
// Every committed change is one step of the card's history.
class LayoutEditSession {
public:
    static constexpr int NoField = LayoutEditState::NoField;

    LayoutEditSession(AppContext& context, ChangedState& changed, UndoHistory* history,
                      LayoutEditView& view);

    // What the window shows of layout editing. Changed only by the session's actions.
    const LayoutEditState& State() const { return state_; }
    // The "Multiple Lines" page's entries as typed.
    void SetLineCountText(std::string text) { state_.LineCountText = std::move(text); }
    void SetLineSpacingText(std::string text) { state_.LineSpacingText = std::move(text); }

    // The picked field, drawn by the panel's controls instead of on the card while it is
    // edited or about to be deleted.
    std::optional<FieldHit> Lifted() const { return lifted_; }

    // ---- The user's actions (card twips of the page)

    // A right click: the point anchors the panel of the action chosen next; the editing menu
    // is to be shown.
    void RightClick(double x, double y);
    // The part of the card on show changed (scrolled, zoomed, resized): the panel is moved
    // back inside it.
    void KeepPanelInView();
    // The point where the panel goes when an action starts (a menu chosen on the panel
    // leaves the panel where it is).
    void AnchorPanel(double x, double y) { panelPlacement_.Anchor(x, y); }
    // An item of the editing menu.
    void MenuCommand(int menuIndex);
    // Layout editing ends without a question (the card is put away): what was pending is
    // dropped and the panel closes.
    void EndLayoutEditing();
    // The panel's action buttons: 10 "Save Change", 11 "Cancel Action", 12 "Help",
    // 14 "Refresh Screen", 15 "Done".
    void ActionButton(PanelButton button);

    void MouseDown(double x, double y);
    void MouseMove(double x, double y);
    void MouseUp(double x, double y);
    // A click that picks a field ("Edit a Field", "Delete a Field").
    void Click(double x, double y);
    // The editor or the marker was dragged to a new top left corner.
    void MoveMobileTo(double left, double top);
    // The panel was dragged to a new top left corner.
    void PanelMovedTo(double left, double top);

    // A Change of an arrow control with its new value.
    void ArrowChanged(Arrow arrow, int value);
    void LineWidthClicked(int option);
    void AlignmentClicked(int index);
    void ColourClicked(int code);
    void FontButtonClicked();
    void DefaultFontButtonClicked();

    // 0..12 start an action, 18 redraws, 20 commits, 21 cancels.
    void PerformEditAction(EditAction action);
    void ResetEditState();
    void SetActionPending(bool pending);
    // RemoveFieldsInArea: asks before fields under area are removed; true when the user
    // declined (nothing removed).
    bool RemoveFieldsInArea(const TwipRect& area);

    // Undo pressed while an action is pending drops the pending field first; true when it
    // did.
    bool CancelPendingForUndo();
    // Before the page changes under a pending field (a redo, the card put away, the program
    // ended) the user is asked as "Done" asks: Yes stores it and saves the card, No drops it.
    // False when the page is not to change: Cancel, or the field could not be stored and is
    // still being placed.
    bool SettlePending();

private:
    void StartAction(int menuIndex, bool placePanel);
    void ShowActionPanel(int menuIndex);
    void PlacePanelBesideAnchor();
    void KeepPanelInside();
    void KeepPanelOffTheField();
    // A check-box marker not yet put on the card waits on the panel and moves with it.
    bool MarkerWaitsOnPanel() const;
    void PutMarkerOnPanel();
    TwipRect PanelBox() const;
    bool Commit();
    void Cancel();
    void RestartLastAction();
    void Done(bool ask);
    // Asks what becomes of the pending field (see SettlePending).
    bool AskAboutPending();
    void RefreshScreen(bool askAboutPending);
    void SaveChanges();

    // What a commit stores, as it stands now.
    PendingField Pending() const;

    void PickField(const FieldHit& hit);
    void Lift(std::optional<FieldHit> hit);
    bool PickChanged() const;
    void Changed(unsigned changes) { changes_ |= changes; }
    void Flush();

    AppContext& ctx_;
    ChangedState& changed_;
    UndoHistory* history_;
    LayoutEditView& view_;
    LayoutEditState state_;

    double anchorX_ = 0, anchorY_ = 0; // the drag's anchor
    PanelPlacement panelPlacement_;
    bool dragging_ = false;
    bool markerPlaced_ = false;
    bool fontChosen_ = false;
    bool colourChosen_ = false;
    bool pickTouched_ = false;
    std::string pickedText_;
    std::optional<FieldHit> lifted_;
    unsigned changes_ = 0;
    int depth_ = 0;
    friend class ChangeBatch;
};

} // namespace cw
