#include "LayoutEditSession.h"

#include "AppContext.h"
#include "BasicNumbers.h"
#include "ChangedState.h"
#include "EditLocations.h"
#include "ErrorTrap.h"
#include "FieldCommit.h"
#include "FieldRecords.h"
#include "FontPrefix.h"
#include "ProgramTexts.h"
#include "UndoHistory.h"

#include <algorithm>
#include <cmath>

namespace cw {

namespace {

const std::string& T(TextId id) {
    return GetProgramText(id);
}

// The menu item that starts an action, for starting it again.
int MenuItemOfAction(EditAction action) {
    for (const EditingMenuItem& item : EditingMenuItems())
        if (item.offered && item.editAction == action && action != EditAction::None)
            return item.index;
    return -1;
}

// The check-box marker is nine pixels square until it is sized.
constexpr int kMarkerPixels = 9;
// The help topic of layout editing.
constexpr int kHelpTopic = 1020;

} // namespace

// Every entry point runs inside the error trap, and the window hears once, at the end, what
// changed.
class ChangeBatch {
public:
    explicit ChangeBatch(LayoutEditSession& session) : session_(session) { ++session_.depth_; }
    ~ChangeBatch() {
        if (--session_.depth_ == 0)
            session_.Flush();
    }

private:
    LayoutEditSession& session_;
};

LayoutEditSession::LayoutEditSession(AppContext& context, ChangedState& changed,
                                     UndoHistory* history, LayoutEditView& view)
    : ctx_(context), changed_(changed), history_(history), view_(view) {
    state_.Instructions = NoActionInstructions();
}

void LayoutEditSession::Flush() {
    if (changes_ == 0)
        return;
    unsigned changes = changes_;
    changes_ = 0;
    view_.LayoutChanged(changes);
}

// ---- Menu and buttons

void LayoutEditSession::RightClick(double x, double y) {
    // The action chosen from the menu that follows brings the panel beside this point.
    panelPlacement_.Anchor(x, y);
}

void LayoutEditSession::KeepPanelInView() {
    if (!state_.PanelVisible)
        return;
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::MovePanel, [&] {
        const double left = state_.PanelLeft, top = state_.PanelTop;
        KeepPanelInside();
        if (left == state_.PanelLeft && top == state_.PanelTop)
            return;
        if (MarkerWaitsOnPanel())
            PutMarkerOnPanel();
    });
}

void LayoutEditSession::MenuCommand(int menuIndex) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(
        loc::EditingMenu,
        [&] {
            if (EditActionOfMenuItem(menuIndex) != EditAction::None) {
                StartAction(menuIndex, true);
                return;
            }
            switch (menuIndex) {
            case menu::RefreshScreen:
                RefreshScreen(false);
                break;
            case menu::SaveChanges:
                SaveChanges();
                break;
            case menu::SaveCardAs:
                view_.SaveCardAs();
                break;
            case menu::Zoom:
                ShowActionPanel(menu::Zoom);
                state_.Instructions = ZoomInstructions();
                PlacePanelBesideAnchor();
                state_.PanelVisible = true;
                Changed(LayoutEditView::InstructionsChanged);
                break;
            case menu::AddCardSymbol:
                state_.PanelVisible = false;
                Changed(LayoutEditView::PanelChanged);
                ctx_.prompter.Message(CardSymbolMessage(), T(TextId::ProgramName), Buttons::Ok);
                break;
            case menu::Help:
                view_.ShowHelp(kHelpTopic);
                break;
            case menu::Done:
                Done(false);
                break;
            default:
                break;
            }
        },
        [&] { return std::vector<ErrValue>{menuIndex}; });
}

void LayoutEditSession::ActionButton(PanelButton button) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(
        loc::EditActionButton,
        [&] {
            switch (button) {
            case PanelButton::SaveChange:
                Commit();
                // A field the user chose not to store over others is still being placed.
                if (!state_.ActionPending)
                    SaveChanges();
                break;
            case PanelButton::CancelAction:
                Cancel();
                SetActionPending(false);
                break;
            case PanelButton::Help:
                view_.ShowHelp(kHelpTopic);
                break;
            case PanelButton::RefreshScreen:
                RefreshScreen(true);
                break;
            case PanelButton::Done:
                Done(true);
                break;
            }
        },
        [&] { return std::vector<ErrValue>{int(button)}; });
}

void LayoutEditSession::StartAction(int menuIndex, bool placePanel) {
    const EditAction action = EditActionOfMenuItem(menuIndex);
    if (action == EditAction::None)
        return;
    // Every change of this session is saved as it is made; the card history keeps the card
    // as it was before the session, not each step.
    ctx_.HoldHistory(true);
    if (menuIndex == menu::AddRectangle)
        state_.LineWidthOption = 2;
    PerformEditAction(action);
    ShowActionPanel(menuIndex);
    SetActionPending(false);
    switch (menuIndex) {
    case menu::AddTextField:
        state_.LineWidthOption = 0;
        break;
    case menu::AddCheckBox:
        state_.Mobile.visible = true;
        break;
    case menu::AddRectangle:
        state_.Mobile.borderWidth = 2;
        break;
    case menu::AddHorizontalLine:
        state_.TallerEnabled = false;
        state_.LineWidthOption = 1;
        break;
    case menu::AddVerticalLine:
        state_.WiderEnabled = false;
        state_.LineWidthOption = 1;
        break;
    case menu::SetFontOnAllFields:
        state_.FontButtonsEnabled = true;
        state_.LineWidthOption = 0;
        break;
    default:
        break;
    }
    state_.Instructions = ActionInstructions(menuIndex, ctx_.Format.Defaults());
    // A menu choice brings the panel to the right-click point; an action started again after
    // a commit or cancel leaves it where the user put it.
    if (placePanel || !state_.PanelVisible)
        PlacePanelBesideAnchor();
    else
        KeepPanelInside();
    state_.PanelVisible = true;
    if (menuIndex == menu::AddCheckBox)
        PutMarkerOnPanel();
    Changed(LayoutEditView::AllChanged);
}

void LayoutEditSession::ShowActionPanel(int menuIndex) {
    state_.PanelMenuIndex = menuIndex;
    Changed(LayoutEditView::PanelChanged);
}

TwipRect LayoutEditSession::PanelBox() const {
    auto [width, height] = view_.PanelSize(state_.PanelMenuIndex);
    return {state_.PanelLeft, state_.PanelTop, width, height};
}

void LayoutEditSession::PlacePanelBesideAnchor() {
    std::tie(state_.PanelLeft, state_.PanelTop) =
        panelPlacement_.BesideAnchor(view_.PanelSize(state_.PanelMenuIndex), view_.VisibleCard());
    Changed(LayoutEditView::PanelChanged);
}

void LayoutEditSession::KeepPanelInside() {
    std::tie(state_.PanelLeft, state_.PanelTop) =
        PanelPlacement::KeptInside(PanelBox(), view_.VisibleCard());
    Changed(LayoutEditView::PanelChanged);
}

void LayoutEditSession::KeepPanelOffTheField() {
    const std::optional<TwipRect> area = PanelPlacement::AreaInUse(state_.Mobile, state_.Editor);
    if (!state_.PanelVisible || !area)
        return;
    std::tie(state_.PanelLeft, state_.PanelTop) =
        PanelClearOf(PanelBox(), *area, view_.VisibleCard());
    Changed(LayoutEditView::PanelChanged);
}

bool LayoutEditSession::MarkerWaitsOnPanel() const {
    return state_.Mobile.kind == MobileKind::Marker && !markerPlaced_ &&
           state_.EditMode == EditingStep::AddingCheckBox;
}

void LayoutEditSession::PutMarkerOnPanel() {
    auto [dx, dy] = view_.MarkerOffsetOnPanel();
    state_.Mobile.rect.left = state_.PanelLeft + dx;
    state_.Mobile.rect.top = state_.PanelTop + dy;
    Changed(LayoutEditView::PlacementChanged);
}

void LayoutEditSession::PanelMovedTo(double left, double top) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::MovePanel, [&] {
        state_.PanelLeft = left;
        state_.PanelTop = top;
        Changed(LayoutEditView::PanelChanged);
        // A marker on the card stays there.
        if (MarkerWaitsOnPanel())
            PutMarkerOnPanel();
    });
}

// ---- The state machine

void LayoutEditSession::PerformEditAction(EditAction action) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(
        loc::PerformEditAction,
        [&] {
            if (action != EditAction::Commit && action != EditAction::Cancel)
                state_.LastAction = action;
            switch (action) {
            case EditAction::RefreshScreen:
                view_.RedrawCard();
                return;
            case EditAction::Commit:
                Commit();
                return;
            case EditAction::Cancel:
                Cancel();
                return;
            default:
                break;
            }
            const EditingStep mode = EditModeOfAction(action);
            if (mode == EditingStep::FillingIn)
                return;
            ResetEditState();
            state_.EditMode = mode;
            state_.Mobile = Placement{};
            switch (action) {
            case EditAction::AddTextField:
                state_.CurrentField = NoField;
                state_.TextEditorPlaced = false;
                [[fallthrough]];
            case EditAction::AddRectangle:
            case EditAction::ClearArea:
                state_.RubberBandArmed = true;
                state_.Mobile.kind = MobileKind::RubberBand;
                break;
            case EditAction::AddCheckBox:
                state_.Mobile.kind = MobileKind::Marker;
                state_.Mobile.rect.width = state_.Mobile.rect.height =
                    kMarkerPixels * ctx_.TwipsPerPixel;
                state_.Mobile.colour = 0;
                break;
            case EditAction::AddHorizontalLine:
            case EditAction::AddVerticalLine:
                state_.LineCountText = "1";
                state_.LineSpacingText = "0";
                state_.LineHorizontal = action == EditAction::AddHorizontalLine;
                state_.RubberBandArmed = true;
                state_.Mobile.kind = MobileKind::LinePreview;
                break;
            case EditAction::SetFontOnAllFields:
                state_.AllFieldsFontSet = state_.AllFieldsColourSet = state_.AllFieldsDefaults =
                    false;
                state_.Mobile.kind = MobileKind::Editor;
                state_.Editor.fontName = ctx_.Format.Defaults().BasicFont;
                state_.Editor.fontSize = ctx_.Format.Defaults().BasicFontSize;
                state_.Editor.bold = ctx_.Format.Defaults().BasicFontBold;
                state_.Editor.italic = ctx_.Format.Defaults().BasicFontItalic;
                state_.WorkColour = 1;
                break;
            default:
                break;
            }
            Changed(LayoutEditView::AllChanged);
        },
        [&] { return std::vector<ErrValue>{int(action)}; });
}

void LayoutEditSession::ResetEditState() {
    state_.Mobile = Placement{};
    if (lifted_) {
        lifted_.reset();
        view_.RedrawCard();
    }
    state_.EditMode = EditingStep::FillingIn;
    state_.RubberBandArmed = false;
    state_.TextEditorPlaced = false;
    dragging_ = false;
    markerPlaced_ = false;
    state_.CurrentField = NoField;
    state_.PickedKind = 0;
    pickTouched_ = false;
    fontChosen_ = false;
    colourChosen_ = false;
    state_.Instructions = NoActionInstructions();
    state_.FontButtonsEnabled = false;
    state_.TallerEnabled = true;
    state_.WiderEnabled = true;
    state_.WorkColour = 1;
    state_.Alignment = 0;
    state_.Editor = EditorLook{};
    SetActionPending(false);
    Changed(LayoutEditView::AllChanged);
}

void LayoutEditSession::SetActionPending(bool pending) {
    if (state_.ActionPending == pending)
        return;
    state_.ActionPending = pending;
    Changed(LayoutEditView::ButtonsChanged);
}

void LayoutEditSession::RestartLastAction() {
    int menuIndex = MenuItemOfAction(state_.LastAction);
    if (menuIndex < 0)
        ResetEditState();
    else
        StartAction(menuIndex, false);
}

bool LayoutEditSession::Commit() {
    if (state_.EditMode == EditingStep::FillingIn)
        return false;
    const EditingStep mode = state_.EditMode;
    CommitOutcome outcome = CommitOutcome::Nothing;
    ctx_.errorTrap.Guard(
        loc::EditCommit,
        [&] { outcome = FieldCommit(ctx_, history_, view_.Metrics()).Commit(Pending()); },
        [&] {
            return std::vector<ErrValue>{int(state_.EditMode), state_.PickedKind,
                                         state_.CurrentField};
        });
    if (outcome == CommitOutcome::Declined) {
        // The fields the new one would cover are kept, and so is the new one, still being
        // placed: it can be moved or made smaller and saved again.
        return false;
    }
    if (outcome == CommitOutcome::Recorded) {
        changed_.SetChangedState(ChangedState::CardChangedCode);
        lifted_.reset();
        view_.RedrawCard();
    }
    if (mode == EditingStep::SettingAllFonts) {
        if (outcome != CommitOutcome::Recorded)
            view_.RedrawCard();
        if (ctx_.HasFormat() && ctx_.Format.Number(ColBackPage) != 0)
            ctx_.prompter.Message(
                T(TextId::AllTextFieldsOnThe) +
                    T(ctx_.Card.BackSide() ? TextId::BackSide : TextId::FrontSide) +
                    T(TextId::HaveBeenSetToThe) + T(TextId::SelectedFont),
                T(TextId::ProgramName), Buttons::Ok, Icon::Information);
    }
    SetActionPending(false);
    RestartLastAction();
    return outcome == CommitOutcome::Recorded;
}

void LayoutEditSession::Cancel() {
    ctx_.errorTrap.Guard(loc::EditCancel, [&] {
        // Nothing of a pending field reached the card: the picked field is simply shown
        // again where it was.
        if (lifted_) {
            lifted_.reset();
            view_.RedrawCard();
        }
        state_.Mobile.visible = false;
        Changed(LayoutEditView::PlacementChanged);
        SetActionPending(false);
        if (state_.EditMode != EditingStep::FillingIn)
            RestartLastAction();
    });
}

bool LayoutEditSession::AskAboutPending() {
    if (!state_.ActionPending)
        return true;
    Answer answer =
        ctx_.prompter.Message("Do you want to save the changes?", T(TextId::ProgramName),
                              Buttons::YesNoCancel, Icon::Question);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes) {
        Commit();
        if (state_.ActionPending)
            return false;
        SaveChanges();
        return true;
    }
    Cancel();
    SetActionPending(false);
    return true;
}

bool LayoutEditSession::SettlePending() {
    if (!state_.ActionPending)
        return true;
    ChangeBatch batch(*this);
    bool settled = false;
    ctx_.errorTrap.Guard(loc::EditCancel, [&] { settled = AskAboutPending(); });
    return settled;
}

void LayoutEditSession::Done(bool ask) {
    if (ask) {
        if (state_.ActionPending) {
            if (!AskAboutPending())
                return;
        } else if (changed_.CardOpen() && changed_.CardChanged() &&
                   changed_.AskSaveChanges() == Answer::No) {
            view_.ReloadCard();
        }
    }
    ResetEditState();
    state_.PanelVisible = false;
    state_.PanelMenuIndex = -1;
    ctx_.HoldHistory(false);
    Changed(LayoutEditView::AllChanged);
    Flush();
    view_.LayoutEditingDone();
}

void LayoutEditSession::EndLayoutEditing() {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::EditCancel, [&] {
        ResetEditState();
        state_.PanelVisible = false;
        state_.PanelMenuIndex = -1;
        ctx_.HoldHistory(false);
        Changed(LayoutEditView::AllChanged);
    });
}

void LayoutEditSession::RefreshScreen(bool askAboutPending) {
    if (askAboutPending && state_.ActionPending) {
        if (!AskAboutPending())
            return;
        Cancel();
        SetActionPending(false);
    } else if (changed_.CardOpen() && changed_.CardChanged() &&
               changed_.AskSaveChanges() == Answer::No) {
        // The page read again may no longer hold a picked field: what was pending goes.
        if (state_.ActionPending)
            Cancel();
        view_.ReloadCard();
    }
    view_.RedrawCard();
}

void LayoutEditSession::SaveChanges() {
    if (!changed_.CardOpen()) {
        ctx_.prompter.Beep();
        ctx_.prompter.Message(T(TextId::NoCardOpened), T(TextId::ProgramName), Buttons::Ok);
        return;
    }
    changed_.SaveCard();
}

bool LayoutEditSession::CancelPendingForUndo() {
    if (!state_.ActionPending)
        return false;
    ChangeBatch batch(*this);
    Cancel();
    SetActionPending(false);
    return true;
}

// ---- Commits

bool LayoutEditSession::RemoveFieldsInArea(const TwipRect& area) {
    return FieldCommit(ctx_, history_, view_.Metrics()).RemoveFieldsInArea(area);
}

PendingField LayoutEditSession::Pending() const {
    PendingField field;
    field.editMode = state_.EditMode;
    field.pickedKind = lifted_ ? state_.PickedKind : 0;
    field.currentField = lifted_ ? state_.CurrentField : -1;
    field.mobile = state_.Mobile;
    field.editor = state_.Editor;
    if (state_.Mobile.kind == MobileKind::Editor && state_.Mobile.visible)
        field.editorText = view_.EditorText();
    field.alignment = state_.Alignment;
    field.workColour = state_.WorkColour;
    field.colourChosen = colourChosen_;
    field.fontChosen = fontChosen_;
    field.markerPlaced = markerPlaced_;
    field.lineHorizontal = state_.LineHorizontal;
    field.lineCountText = state_.LineCountText;
    field.lineSpacingText = state_.LineSpacingText;
    field.allFieldsFontSet = state_.AllFieldsFontSet;
    field.allFieldsColourSet = state_.AllFieldsColourSet;
    field.allFieldsDefaults = state_.AllFieldsDefaults;
    return field;
}

// ---- Drawing, picking and placing

void LayoutEditSession::MouseDown(double x, double y) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::EditMouse, [&] {
        TwipRect point = {x, y, 0, 0};
        if (ctx_.Format.Defaults().NaturalWidth > 0 && ctx_.Format.Defaults().NaturalHeight > 0) {
            point.left = std::clamp(x, 0.0, ctx_.Format.Defaults().NaturalWidth);
            point.top = std::clamp(y, 0.0, ctx_.Format.Defaults().NaturalHeight);
        }
        if (state_.EditMode == EditingStep::ClearingArea ||
            state_.EditMode == EditingStep::AddingTextField ||
            state_.EditMode == EditingStep::AddingRectangle) {
            // The text field's area is drawn once; then the editor stands for it.
            if (state_.EditMode == EditingStep::AddingTextField && state_.TextEditorPlaced)
                return;
            SetActionPending(true);
            anchorX_ = point.left;
            anchorY_ = point.top;
            state_.Mobile.kind = MobileKind::RubberBand;
            state_.Mobile.rect = point;
            state_.Mobile.borderWidth = state_.EditMode == EditingStep::AddingRectangle
                                            ? std::max(1, state_.LineWidthOption)
                                            : 1;
            state_.Mobile.visible = true;
            state_.RubberBandArmed = false;
            dragging_ = true;
        } else if (state_.EditMode == EditingStep::AddingLine) {
            anchorX_ = point.left;
            anchorY_ = point.top;
            SetActionPending(true);
            if (state_.LineWidthOption == 0)
                state_.LineWidthOption = 1;
            state_.Mobile.kind = MobileKind::LinePreview;
            state_.Mobile.borderWidth = state_.LineWidthOption;
            state_.Mobile.colour = ShapeColourOfCode(state_.WorkColour);
            int32_t px = RoundHalfEven(point.left), py = RoundHalfEven(point.top);
            state_.Mobile.line = {px, py, px, py};
            state_.Mobile.visible = true;
            state_.RubberBandArmed = false;
            dragging_ = true;
            Changed(LayoutEditView::PickersChanged);
        } else {
            return;
        }
        Changed(LayoutEditView::PlacementChanged);
    });
}

void LayoutEditSession::MouseMove(double x, double y) {
    if (!dragging_)
        return;
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::EditMouse, [&] {
        if (ctx_.Format.Defaults().NaturalWidth > 0 && ctx_.Format.Defaults().NaturalHeight > 0) {
            x = std::clamp(x, 0.0, ctx_.Format.Defaults().NaturalWidth);
            y = std::clamp(y, 0.0, ctx_.Format.Defaults().NaturalHeight);
        }
        if (state_.Mobile.kind == MobileKind::LinePreview) {
            if (state_.LineHorizontal) {
                state_.Mobile.line.x1 = RoundHalfEven(std::min(anchorX_, x));
                state_.Mobile.line.x2 = RoundHalfEven(std::max(anchorX_, x));
            } else {
                state_.Mobile.line.y1 = RoundHalfEven(std::min(anchorY_, y));
                state_.Mobile.line.y2 = RoundHalfEven(std::max(anchorY_, y));
            }
        } else {
            state_.Mobile.rect = DragRect(anchorX_, anchorY_, x, y);
        }
        Changed(LayoutEditView::PlacementChanged);
    });
}

void LayoutEditSession::MouseUp(double x, double y) {
    if (!dragging_)
        return;
    MouseMove(x, y);
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::EditMouse, [&] {
        dragging_ = false;
        state_.RubberBandArmed = true;
        const bool nothing = state_.Mobile.kind == MobileKind::LinePreview
                                 ? state_.Mobile.line.x1 == state_.Mobile.line.x2 &&
                                       state_.Mobile.line.y1 == state_.Mobile.line.y2
                                 : state_.Mobile.rect.Empty();
        if (nothing) {
            // A click without a drag draws nothing and changes nothing.
            state_.Mobile.visible = false;
            SetActionPending(false);
            Changed(LayoutEditView::PlacementChanged);
            return;
        }
        KeepPanelOffTheField();
        if (state_.EditMode != EditingStep::AddingTextField || state_.TextEditorPlaced)
            return;
        state_.Editor.index = (state_.Alignment == 0   ? 0
                               : state_.Alignment == 2 ? 2
                                                       : 1) +
                              (state_.Mobile.rect.height > 240 ? 3 : 0);
        if (!fontChosen_) {
            state_.Editor.fontName = ctx_.Format.Defaults().BasicFont;
            state_.Editor.fontSize = ctx_.Format.Defaults().BasicFontSize;
            state_.Editor.bold = ctx_.Format.Defaults().BasicFontBold;
            state_.Editor.italic = ctx_.Format.Defaults().BasicFontItalic;
        }
        state_.Editor.foreColour = view_.TextColourOfCode(state_.WorkColour);
        state_.Editor.newField = true;
        state_.Editor.readOnly = false;
        state_.Mobile.kind = MobileKind::Editor;
        state_.Mobile.visible = true;
        state_.TextEditorPlaced = true;
        view_.SetEditorText({});
        Changed(LayoutEditView::PlacementChanged | LayoutEditView::EditorChanged);
    });
}

void LayoutEditSession::Click(double x, double y) {
    if (state_.EditMode != EditingStep::DeletingField &&
        state_.EditMode != EditingStep::EditingField)
        return;
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(
        loc::PickField,
        [&] {
            auto hit = PickFieldAt(ctx_.Card.Page(), RoundHalfEven(x), RoundHalfEven(y),
                                   ctx_.TwipsPerPixel);
            if (!hit || (lifted_ && lifted_->kind == hit->kind && lifted_->index == hit->index))
                return;
            // Another field is taken only while nothing was done to the one picked.
            if (lifted_ && PickChanged()) {
                ctx_.prompter.Beep();
                return;
            }
            PickField(*hit);
        },
        [&] {
            return std::vector<ErrValue>{"X = " + std::to_string(x), "Y = " + std::to_string(y)};
        });
}

bool LayoutEditSession::PickChanged() const {
    return pickTouched_ || (state_.PickedKind == TextField && view_.EditorText() != pickedText_);
}

void LayoutEditSession::Lift(std::optional<FieldHit> hit) {
    bool same = hit.has_value() == lifted_.has_value() &&
                (!hit || (hit->kind == lifted_->kind && hit->index == lifted_->index));
    if (same)
        return;
    lifted_ = hit;
    view_.RedrawCard();
}

void LayoutEditSession::PickField(const FieldHit& hit) {
    const bool editing = state_.EditMode == EditingStep::EditingField;
    const PickedFieldLook look = LookOfPickedField(
        ctx_.Card.Page().Field(hit.kind, hit.index), hit.kind, editing, ctx_.Format.Defaults(),
        ctx_.TwipsPerPixel, [this](int32_t code) { return view_.TextColourOfCode(code); });
    state_.PickedKind = hit.kind;
    state_.CurrentField = hit.index;
    pickTouched_ = false;
    fontChosen_ = false;
    colourChosen_ = false;
    SetActionPending(true);
    state_.Mobile = look.mobile;
    state_.TallerEnabled = look.tallerEnabled;
    state_.WiderEnabled = look.widerEnabled;
    if (look.workColour >= 0)
        state_.WorkColour = look.workColour;
    if (look.lineWidthOption >= 0)
        state_.LineWidthOption = look.lineWidthOption;
    if (hit.kind == Line)
        state_.LineHorizontal = look.lineHorizontal;
    if (hit.kind == TextField) {
        state_.Editor = look.editor;
        state_.Alignment = look.alignment;
        view_.SetEditorText(look.editorText);
        pickedText_ = view_.EditorText();
    }
    const int layout = look.panelLayout;
    if (editing) {
        state_.Instructions = PickedFieldInstructions(hit.kind);
        ShowActionPanel(layout);
        KeepPanelInside();
    }
    Lift(hit);
    KeepPanelOffTheField();
    Changed(LayoutEditView::AllChanged);
}

void LayoutEditSession::MoveMobileTo(double left, double top) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::DropOnCard, [&] {
        if (state_.Mobile.kind == MobileKind::None)
            return;
        if (state_.Mobile.kind == MobileKind::LinePreview) {
            int32_t dx =
                RoundHalfEven(left) - std::min(state_.Mobile.line.x1, state_.Mobile.line.x2);
            int32_t dy =
                RoundHalfEven(top) - std::min(state_.Mobile.line.y1, state_.Mobile.line.y2);
            state_.Mobile.line = {state_.Mobile.line.x1 + dx, state_.Mobile.line.y1 + dy,
                                  state_.Mobile.line.x2 + dx, state_.Mobile.line.y2 + dy};
        } else {
            state_.Mobile.rect.left = left;
            state_.Mobile.rect.top = top;
        }
        if (state_.Mobile.kind == MobileKind::Marker) {
            SetActionPending(true);
            markerPlaced_ = true;
        }
        pickTouched_ = true;
        Changed(LayoutEditView::PlacementChanged);
    });
}

// ---- The panel's controls

void LayoutEditSession::ArrowChanged(Arrow arrow, int value) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(
        loc::ArrowStep,
        [&] {
            // A field marked for deletion stays where it is.
            if (state_.EditMode == EditingStep::DeletingField)
                return;
            SetActionPending(true);
            int& remembered = state_.SpinMemory[size_t(arrow)];
            const bool increase = value > remembered;
            remembered = value;
            if ((arrow == Arrow::Taller && !state_.TallerEnabled) ||
                (arrow == Arrow::Wider && !state_.WiderEnabled) ||
                state_.Mobile.kind == MobileKind::None)
                return;
            // A check box stays square as it grows or shrinks.
            const bool square =
                state_.Mobile.kind == MobileKind::Marker &&
                (state_.EditMode == EditingStep::AddingCheckBox || state_.PickedKind == CheckBox);
            NudgePlacement(state_.Mobile, arrow, increase, ctx_.TwipsPerPixel, square);
            if (state_.Mobile.kind == MobileKind::Marker)
                markerPlaced_ = true;
            pickTouched_ = true;
            Changed(LayoutEditView::PlacementChanged);
        },
        [&] {
            return std::vector<ErrValue>{int(arrow), value};
        });
}

void LayoutEditSession::LineWidthClicked(int option) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::LineWidthPicker, [&] {
        SetActionPending(true);
        state_.LineWidthOption = std::clamp(option, 0, 4);
        state_.Mobile.borderWidth = std::max(1, state_.LineWidthOption);
        pickTouched_ = true;
        Changed(LayoutEditView::PlacementChanged | LayoutEditView::PickersChanged);
    });
}

void LayoutEditSession::AlignmentClicked(int index) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::AlignmentPicker, [&] {
        SetActionPending(true);
        state_.Alignment = std::clamp(index, 0, 2);
        // One-line stays one-line and wrapped stays wrapped.
        if (state_.Mobile.kind == MobileKind::Editor)
            state_.Editor.index = state_.Alignment + (state_.Editor.index >= 3 ? 3 : 0);
        pickTouched_ = true;
        Changed(LayoutEditView::EditorChanged | LayoutEditView::PickersChanged);
    });
}

void LayoutEditSession::ColourClicked(int code) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::ColourPicker, [&] {
        SetActionPending(true);
        state_.WorkColour = code;
        colourChosen_ = true;
        pickTouched_ = true;
        if (state_.EditMode == EditingStep::AddingTextField ||
            (state_.EditMode == EditingStep::EditingField && state_.PickedKind == TextField)) {
            state_.Editor.foreColour = EditorColourOfCode(code, state_.Editor.foreColour,
                                                          ctx_.Format.Defaults().BaseTextColour);
            Changed(LayoutEditView::EditorChanged);
        } else if (state_.EditMode == EditingStep::SettingAllFonts) {
            state_.AllFieldsColourSet = true;
        } else {
            state_.Mobile.colour = ShapeColourOfCode(code);
            Changed(LayoutEditView::PlacementChanged);
        }
        Changed(LayoutEditView::PickersChanged);
    });
}

void LayoutEditSession::FontButtonClicked() {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::FontButton, [&] {
        SetActionPending(true);
        const bool textField =
            state_.EditMode == EditingStep::AddingTextField ||
            (state_.EditMode == EditingStep::EditingField && state_.PickedKind == TextField);
        if (!textField && state_.EditMode != EditingStep::SettingAllFonts)
            return;
        const FormatDefaults& basics = ctx_.Format.Defaults();
        FontChoice preset = state_.EditMode == EditingStep::SettingAllFonts
                                ? FontChoice{basics.BasicFont, basics.BasicFontSize,
                                             basics.BasicFontBold, basics.BasicFontItalic}
                                : FontChoice{state_.Editor.fontName, state_.Editor.fontSize,
                                             state_.Editor.bold, state_.Editor.italic};
        std::optional<FontChoice> choice = view_.ChooseFont(preset);
        if (!choice)
            return;
        state_.Editor.fontName = choice->name;
        state_.Editor.fontSize = choice->size;
        state_.Editor.bold = choice->bold;
        state_.Editor.italic = choice->italic;
        fontChosen_ = true;
        pickTouched_ = true;
        if (state_.EditMode == EditingStep::SettingAllFonts)
            state_.AllFieldsFontSet = true;
        Changed(LayoutEditView::EditorChanged);
    });
}

void LayoutEditSession::DefaultFontButtonClicked() {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::FontButton, [&] {
        SetActionPending(true);
        state_.AllFieldsDefaults = true;
    });
}

} // namespace cw
