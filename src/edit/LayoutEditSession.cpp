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
    Instructions = NoActionInstructions();
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
    panelAnchorX_ = x;
    panelAnchorY_ = y;
}

void LayoutEditSession::KeepPanelInView() {
    if (!PanelVisible)
        return;
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::MovePanel, [&] {
        const double left = PanelLeft, top = PanelTop;
        PlacePanelAt(PanelLeft, PanelTop, -1);
        if (left == PanelLeft && top == PanelTop)
            return;
        // A marker still waiting on the panel goes with it.
        if (Mobile.kind == MobileKind::Marker && !markerPlaced_ &&
            EditMode == EditingStep::AddingCheckBox)
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
                Instructions = ZoomInstructions();
                PlacePanelAt(panelAnchorX_, panelAnchorY_, menu::Zoom);
                PanelVisible = true;
                Changed(LayoutEditView::InstructionsChanged);
                break;
            case menu::AddCardSymbol:
                PanelVisible = false;
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
                if (!ActionPending)
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
        LineWidthOption = 2;
    PerformEditAction(action);
    ShowActionPanel(menuIndex);
    SetActionPending(false);
    switch (menuIndex) {
    case menu::AddTextField:
        LineWidthOption = 0;
        break;
    case menu::AddCheckBox:
        Mobile.visible = true;
        break;
    case menu::AddRectangle:
        Mobile.borderWidth = 2;
        break;
    case menu::AddHorizontalLine:
        TallerEnabled = false;
        LineWidthOption = 1;
        break;
    case menu::AddVerticalLine:
        WiderEnabled = false;
        LineWidthOption = 1;
        break;
    case menu::SetFontOnAllFields:
        FontButtonsEnabled = true;
        LineWidthOption = 0;
        break;
    default:
        break;
    }
    Instructions = ActionInstructions(menuIndex, ctx_.Defaults);
    // A menu choice brings the panel to the right-click point; an action started again after
    // a commit or cancel leaves it where the user put it.
    if (placePanel || !PanelVisible)
        PlacePanelAt(panelAnchorX_, panelAnchorY_, menuIndex);
    else
        PlacePanelAt(PanelLeft, PanelTop, -1);
    PanelVisible = true;
    if (menuIndex == menu::AddCheckBox)
        PutMarkerOnPanel();
    Changed(LayoutEditView::AllChanged);
}

void LayoutEditSession::ShowActionPanel(int menuIndex) {
    PanelMenuIndex = menuIndex;
    Changed(LayoutEditView::PanelChanged);
}

void LayoutEditSession::PlacePanelAt(double x, double y, int menuIndex) {
    auto [width, height] = view_.PanelSize(PanelMenuIndex);
    CardArea visible = view_.VisibleCard();
    if (menuIndex < 0) {
        // Kept where it is, only moved back inside the part on show.
        PanelLeft = std::max(visible.left, std::min(x, visible.right - width));
        PanelTop = std::max(visible.top, std::min(y, visible.bottom - height));
    } else {
        // Beside the point, a quarter inch away, so that the spot clicked stays free.
        constexpr double kGap = 360;
        std::tie(PanelLeft, PanelTop) = PanelPosition(x, y, width, height, visible, kGap);
    }
    Changed(LayoutEditView::PanelChanged);
}

void LayoutEditSession::PutMarkerOnPanel() {
    auto [dx, dy] = view_.MarkerOffsetOnPanel();
    Mobile.rect.left = PanelLeft + dx;
    Mobile.rect.top = PanelTop + dy;
    Changed(LayoutEditView::PlacementChanged);
}

void LayoutEditSession::KeepPanelOffTheField() {
    if (!PanelVisible || !Mobile.visible)
        return;
    TwipRect area = Mobile.rect;
    if (Mobile.kind == MobileKind::LinePreview) {
        const LineEnds& l = Mobile.line;
        area = DragRect(l.x1, l.y1, l.x2, l.y2);
    } else if (Mobile.kind == MobileKind::Editor && Editor.index < 3) {
        area.height = 240;
    }
    auto [width, height] = view_.PanelSize(PanelMenuIndex);
    std::tie(PanelLeft, PanelTop) =
        PanelClearOf({PanelLeft, PanelTop, width, height}, area, view_.VisibleCard());
    Changed(LayoutEditView::PanelChanged);
}

void LayoutEditSession::PanelMovedTo(double left, double top) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::MovePanel, [&] {
        PanelLeft = left;
        PanelTop = top;
        Changed(LayoutEditView::PanelChanged);
        // A marker still waiting on the panel goes with it; one on the card stays there.
        if (Mobile.kind == MobileKind::Marker && !markerPlaced_ &&
            EditMode == EditingStep::AddingCheckBox)
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
                LastAction = action;
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
            EditMode = mode;
            Mobile = Placement{};
            switch (action) {
            case EditAction::AddTextField:
                CurrentField = NoField;
                TextEditorPlaced = false;
                [[fallthrough]];
            case EditAction::AddRectangle:
            case EditAction::ClearArea:
                RubberBandArmed = true;
                Mobile.kind = MobileKind::RubberBand;
                break;
            case EditAction::AddCheckBox:
                Mobile.kind = MobileKind::Marker;
                Mobile.rect.width = Mobile.rect.height = kMarkerPixels * ctx_.TwipsPerPixel;
                Mobile.colour = 0;
                break;
            case EditAction::AddHorizontalLine:
            case EditAction::AddVerticalLine:
                LineCountText = "1";
                LineSpacingText = "0";
                LineHorizontal = action == EditAction::AddHorizontalLine;
                RubberBandArmed = true;
                Mobile.kind = MobileKind::LinePreview;
                break;
            case EditAction::SetFontOnAllFields:
                AllFieldsFontSet = AllFieldsColourSet = AllFieldsDefaults = false;
                Mobile.kind = MobileKind::Editor;
                Editor.fontName = ctx_.Defaults.BasicFont;
                Editor.fontSize = ctx_.Defaults.BasicFontSize;
                Editor.bold = ctx_.Defaults.BasicFontBold;
                Editor.italic = ctx_.Defaults.BasicFontItalic;
                WorkColour = 1;
                break;
            default:
                break;
            }
            Changed(LayoutEditView::AllChanged);
        },
        [&] { return std::vector<ErrValue>{int(action)}; });
}

void LayoutEditSession::ResetEditState() {
    Mobile = Placement{};
    if (lifted_) {
        lifted_.reset();
        view_.RedrawCard();
    }
    EditMode = EditingStep::FillingIn;
    RubberBandArmed = false;
    TextEditorPlaced = false;
    dragging_ = false;
    markerPlaced_ = false;
    CurrentField = NoField;
    PickedKind = 0;
    pickTouched_ = false;
    fontChosen_ = false;
    colourChosen_ = false;
    Instructions = NoActionInstructions();
    FontButtonsEnabled = false;
    TallerEnabled = true;
    WiderEnabled = true;
    WorkColour = 1;
    Alignment = 0;
    Editor = EditorLook{};
    SetActionPending(false);
    Changed(LayoutEditView::AllChanged);
}

void LayoutEditSession::SetActionPending(bool pending) {
    if (ActionPending == pending)
        return;
    ActionPending = pending;
    Changed(LayoutEditView::ButtonsChanged);
}

void LayoutEditSession::RestartLastAction() {
    int menuIndex = MenuItemOfAction(LastAction);
    if (menuIndex < 0)
        ResetEditState();
    else
        StartAction(menuIndex, false);
}

bool LayoutEditSession::Commit() {
    if (EditMode == EditingStep::FillingIn)
        return false;
    const EditingStep mode = EditMode;
    CommitOutcome outcome = CommitOutcome::Nothing;
    ctx_.errorTrap.Guard(
        loc::EditCommit,
        [&] { outcome = FieldCommit(ctx_, history_, view_.Metrics()).Commit(Pending()); },
        [&] {
            return std::vector<ErrValue>{int(EditMode), PickedKind, CurrentField};
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
        if (ctx_.HasFormat() && ctx_.Catalogue.Number(ctx_.CurrentFormat, ColBackPage) != 0)
            ctx_.prompter.Message(
                T(TextId::AllTextFieldsOnThe) +
                    T(ctx_.BackSideSelected ? TextId::BackSide : TextId::FrontSide) +
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
        Mobile.visible = false;
        Changed(LayoutEditView::PlacementChanged);
        SetActionPending(false);
        if (EditMode != EditingStep::FillingIn)
            RestartLastAction();
    });
}

bool LayoutEditSession::AskAboutPending() {
    if (!ActionPending)
        return true;
    Answer answer =
        ctx_.prompter.Message("Do you want to save the changes?", T(TextId::ProgramName),
                              Buttons::YesNoCancel, Icon::Question);
    if (answer == Answer::Cancel)
        return false;
    if (answer == Answer::Yes) {
        Commit();
        if (ActionPending)
            return false;
        SaveChanges();
        return true;
    }
    Cancel();
    SetActionPending(false);
    return true;
}

bool LayoutEditSession::SettlePending() {
    if (!ActionPending)
        return true;
    ChangeBatch batch(*this);
    bool settled = false;
    ctx_.errorTrap.Guard(loc::EditCancel, [&] { settled = AskAboutPending(); });
    return settled;
}

void LayoutEditSession::Done(bool ask) {
    if (ask) {
        if (ActionPending) {
            if (!AskAboutPending())
                return;
        } else if (changed_.CardOpen() && changed_.CardChanged() &&
                   changed_.AskSaveChanges() == Answer::No) {
            view_.ReloadCard();
        }
    }
    ResetEditState();
    PanelVisible = false;
    PanelMenuIndex = -1;
    ctx_.HoldHistory(false);
    Changed(LayoutEditView::AllChanged);
    Flush();
    view_.LayoutEditingDone();
}

void LayoutEditSession::EndLayoutEditing() {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::EditCancel, [&] {
        ResetEditState();
        PanelVisible = false;
        PanelMenuIndex = -1;
        ctx_.HoldHistory(false);
        Changed(LayoutEditView::AllChanged);
    });
}

void LayoutEditSession::RefreshScreen(bool askAboutPending) {
    if (askAboutPending && ActionPending) {
        if (!AskAboutPending())
            return;
        Cancel();
        SetActionPending(false);
    } else if (changed_.CardOpen() && changed_.CardChanged() &&
               changed_.AskSaveChanges() == Answer::No) {
        // The page read again may no longer hold a picked field: what was pending goes.
        if (ActionPending)
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
    if (!ActionPending)
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
    field.editMode = EditMode;
    field.pickedKind = lifted_ ? PickedKind : 0;
    field.currentField = lifted_ ? CurrentField : -1;
    field.mobile = Mobile;
    field.editor = Editor;
    if (Mobile.kind == MobileKind::Editor && Mobile.visible)
        field.editorText = view_.EditorText();
    field.alignment = Alignment;
    field.workColour = WorkColour;
    field.colourChosen = colourChosen_;
    field.fontChosen = fontChosen_;
    field.markerPlaced = markerPlaced_;
    field.lineHorizontal = LineHorizontal;
    field.lineCountText = LineCountText;
    field.lineSpacingText = LineSpacingText;
    field.allFieldsFontSet = AllFieldsFontSet;
    field.allFieldsColourSet = AllFieldsColourSet;
    field.allFieldsDefaults = AllFieldsDefaults;
    return field;
}

// ---- Drawing, picking and placing

void LayoutEditSession::MouseDown(double x, double y) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::EditMouse, [&] {
        TwipRect point = {x, y, 0, 0};
        if (ctx_.Defaults.NaturalWidth > 0 && ctx_.Defaults.NaturalHeight > 0) {
            point.left = std::clamp(x, 0.0, ctx_.Defaults.NaturalWidth);
            point.top = std::clamp(y, 0.0, ctx_.Defaults.NaturalHeight);
        }
        if (EditMode == EditingStep::ClearingArea || EditMode == EditingStep::AddingTextField ||
            EditMode == EditingStep::AddingRectangle) {
            // The text field's area is drawn once; then the editor stands for it.
            if (EditMode == EditingStep::AddingTextField && TextEditorPlaced)
                return;
            SetActionPending(true);
            anchorX_ = point.left;
            anchorY_ = point.top;
            Mobile.kind = MobileKind::RubberBand;
            Mobile.rect = point;
            Mobile.borderWidth =
                EditMode == EditingStep::AddingRectangle ? std::max(1, LineWidthOption) : 1;
            Mobile.visible = true;
            RubberBandArmed = false;
            dragging_ = true;
        } else if (EditMode == EditingStep::AddingLine) {
            anchorX_ = point.left;
            anchorY_ = point.top;
            SetActionPending(true);
            if (LineWidthOption == 0)
                LineWidthOption = 1;
            Mobile.kind = MobileKind::LinePreview;
            Mobile.borderWidth = LineWidthOption;
            Mobile.colour = ShapeColourOfCode(WorkColour);
            int32_t px = RoundHalfEven(point.left), py = RoundHalfEven(point.top);
            Mobile.line = {px, py, px, py};
            Mobile.visible = true;
            RubberBandArmed = false;
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
        if (ctx_.Defaults.NaturalWidth > 0 && ctx_.Defaults.NaturalHeight > 0) {
            x = std::clamp(x, 0.0, ctx_.Defaults.NaturalWidth);
            y = std::clamp(y, 0.0, ctx_.Defaults.NaturalHeight);
        }
        if (Mobile.kind == MobileKind::LinePreview) {
            if (LineHorizontal) {
                Mobile.line.x1 = RoundHalfEven(std::min(anchorX_, x));
                Mobile.line.x2 = RoundHalfEven(std::max(anchorX_, x));
            } else {
                Mobile.line.y1 = RoundHalfEven(std::min(anchorY_, y));
                Mobile.line.y2 = RoundHalfEven(std::max(anchorY_, y));
            }
        } else {
            Mobile.rect = DragRect(anchorX_, anchorY_, x, y);
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
        RubberBandArmed = true;
        const bool nothing =
            Mobile.kind == MobileKind::LinePreview
                ? Mobile.line.x1 == Mobile.line.x2 && Mobile.line.y1 == Mobile.line.y2
                : Mobile.rect.Empty();
        if (nothing) {
            // A click without a drag draws nothing and changes nothing.
            Mobile.visible = false;
            SetActionPending(false);
            Changed(LayoutEditView::PlacementChanged);
            return;
        }
        KeepPanelOffTheField();
        if (EditMode != EditingStep::AddingTextField || TextEditorPlaced)
            return;
        Editor.index = (Alignment == 0   ? 0
                        : Alignment == 2 ? 2
                                         : 1) +
                       (Mobile.rect.height > 240 ? 3 : 0);
        if (!fontChosen_) {
            Editor.fontName = ctx_.Defaults.BasicFont;
            Editor.fontSize = ctx_.Defaults.BasicFontSize;
            Editor.bold = ctx_.Defaults.BasicFontBold;
            Editor.italic = ctx_.Defaults.BasicFontItalic;
        }
        Editor.foreColour = view_.TextColourOfCode(WorkColour);
        Editor.newField = true;
        Editor.readOnly = false;
        Mobile.kind = MobileKind::Editor;
        Mobile.visible = true;
        TextEditorPlaced = true;
        view_.SetEditorText({});
        Changed(LayoutEditView::PlacementChanged | LayoutEditView::EditorChanged);
    });
}

void LayoutEditSession::Click(double x, double y) {
    if (EditMode != EditingStep::DeletingField && EditMode != EditingStep::EditingField)
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
    return pickTouched_ || (PickedKind == TextField && view_.EditorText() != pickedText_);
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
    const CardField field = ctx_.Card.Page().Field(hit.kind, hit.index);
    const FormatDefaults& basics = ctx_.Defaults;
    const bool editing = EditMode == EditingStep::EditingField;
    PickedKind = hit.kind;
    CurrentField = hit.index;
    pickTouched_ = false;
    fontChosen_ = false;
    colourChosen_ = false;
    TallerEnabled = WiderEnabled = true;
    SetActionPending(true);
    Mobile = Placement{};
    Mobile.visible = true;
    int layout = -1;
    switch (hit.kind) {
    case TextField: {
        EditorStyle style = EditorStyleFor(field, basics.BasicFontBold, basics.BasicFontItalic);
        Editor.index = style.editorIndex;
        Editor.bold = style.bold;
        Editor.italic = style.italic;
        std::string prefix = GetFontPrefix(field.text);
        Editor.fontName =
            prefix.size() > 4 ? prefix.substr(2, prefix.size() - 4) : basics.BasicFont;
        const TextRecord text(field.a);
        int32_t points = text.fontPoints();
        Editor.fontSize = points > 0 ? double(points) : double(basics.BasicFontSize);
        Editor.foreColour = view_.TextColourOfCode(text.colourCode());
        Editor.newField = false;
        Editor.readOnly = !editing;
        Mobile.kind = MobileKind::Editor;
        Mobile.rect = {double(text.x()), double(text.y()), double(text.width()),
                       double(text.height())};
        Alignment = style.editorIndex % 3;
        view_.SetEditorText(StripFontPrefix(field.text));
        pickedText_ = view_.EditorText();
        layout = menu::AddTextField;
        break;
    }
    case Rectangle:
        Mobile.kind = MobileKind::RubberBand;
        Mobile.rect = BandOfRectangle(field);
        Mobile.borderWidth = BorderWidthOfRectangle(field);
        Mobile.colour = ShapeColourOfCode(RectangleRecord(field.a).colourCode());
        WorkColour = PickerCodeOfShapeColour(RectangleRecord(field.a).colourCode());
        LineWidthOption = Mobile.borderWidth;
        layout = menu::AddRectangle;
        break;
    case Line: {
        Mobile.kind = MobileKind::LinePreview;
        Mobile.line = EndsOfLine(field);
        const LineRecord line(field.a);
        Mobile.borderWidth = std::max(1, line.widthPixels());
        Mobile.colour = ShapeColourOfCode(line.colourCode());
        WorkColour = PickerCodeOfShapeColour(line.colourCode());
        LineWidthOption = std::clamp(line.widthPixels(), 1, 4);
        LineHorizontal = Mobile.line.y1 == Mobile.line.y2;
        if (LineHorizontal)
            TallerEnabled = false;
        else
            WiderEnabled = false;
        layout = menu::PickedLine;
        break;
    }
    case CheckBox:
        Mobile.kind = MobileKind::Marker;
        Mobile.rect = MarkerOfCheckBox(field, ctx_.TwipsPerPixel);
        Mobile.colour = ShapeColourOfCode(CheckBoxRecord(field.a).colourCode());
        WorkColour = PickerCodeOfShapeColour(CheckBoxRecord(field.a).colourCode());
        layout = menu::PickedCheckBox;
        break;
    default:
        break;
    }
    if (editing) {
        Instructions = PickedFieldInstructions(hit.kind);
        ShowActionPanel(layout);
        PlacePanelAt(PanelLeft, PanelTop, -1);
    }
    Lift(hit);
    KeepPanelOffTheField();
    Changed(LayoutEditView::AllChanged);
}

void LayoutEditSession::MoveMobileTo(double left, double top) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::DropOnCard, [&] {
        if (Mobile.kind == MobileKind::None)
            return;
        if (Mobile.kind == MobileKind::LinePreview) {
            int32_t dx = RoundHalfEven(left) - std::min(Mobile.line.x1, Mobile.line.x2);
            int32_t dy = RoundHalfEven(top) - std::min(Mobile.line.y1, Mobile.line.y2);
            Mobile.line = {Mobile.line.x1 + dx, Mobile.line.y1 + dy, Mobile.line.x2 + dx,
                           Mobile.line.y2 + dy};
        } else {
            Mobile.rect.left = left;
            Mobile.rect.top = top;
        }
        if (Mobile.kind == MobileKind::Marker) {
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
            if (EditMode == EditingStep::DeletingField)
                return;
            SetActionPending(true);
            int& remembered = SpinMemory[size_t(arrow)];
            const bool increase = value > remembered;
            remembered = value;
            if ((arrow == Arrow::Taller && !TallerEnabled) ||
                (arrow == Arrow::Wider && !WiderEnabled) || Mobile.kind == MobileKind::None)
                return;
            const int32_t step = ctx_.TwipsPerPixel;
            const int32_t sign = increase ? 1 : -1;
            if (Mobile.kind == MobileKind::LinePreview) {
                LineEnds& line = Mobile.line;
                switch (arrow) {
                case Arrow::UpDown:
                    line.y1 += sign * step;
                    line.y2 += sign * step;
                    break;
                case Arrow::LeftRight:
                    line.x1 += sign * step;
                    line.x2 += sign * step;
                    break;
                case Arrow::Taller:
                    if (increase)
                        line.y2 += step;
                    else if (line.y2 - line.y1 >= 10)
                        line.y2 = std::max(line.y1, line.y2 - step);
                    break;
                case Arrow::Wider:
                    if (increase)
                        line.x2 += step;
                    else if (line.x2 - line.x1 >= 10)
                        line.x2 = std::max(line.x1, line.x2 - step);
                    break;
                }
            } else {
                TwipRect& rect = Mobile.rect;
                // A check box stays square as it grows or shrinks.
                const bool square =
                    Mobile.kind == MobileKind::Marker &&
                    (EditMode == EditingStep::AddingCheckBox || PickedKind == CheckBox);
                auto resize = [&](double& size) {
                    if (increase)
                        size += step;
                    else if (size >= 10)
                        size = std::max(0.0, size - step);
                };
                switch (arrow) {
                case Arrow::UpDown:
                    rect.top += sign * step;
                    break;
                case Arrow::LeftRight:
                    rect.left += sign * step;
                    break;
                case Arrow::Taller:
                    resize(rect.height);
                    break;
                case Arrow::Wider:
                    resize(rect.width);
                    if (square)
                        rect.height = rect.width;
                    break;
                }
                if (Mobile.kind == MobileKind::Marker)
                    markerPlaced_ = true;
            }
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
        LineWidthOption = std::clamp(option, 0, 4);
        Mobile.borderWidth = std::max(1, LineWidthOption);
        pickTouched_ = true;
        Changed(LayoutEditView::PlacementChanged | LayoutEditView::PickersChanged);
    });
}

void LayoutEditSession::AlignmentClicked(int index) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::AlignmentPicker, [&] {
        SetActionPending(true);
        Alignment = std::clamp(index, 0, 2);
        // One-line stays one-line and wrapped stays wrapped.
        if (Mobile.kind == MobileKind::Editor)
            Editor.index = Alignment + (Editor.index >= 3 ? 3 : 0);
        pickTouched_ = true;
        Changed(LayoutEditView::EditorChanged | LayoutEditView::PickersChanged);
    });
}

void LayoutEditSession::ColourClicked(int code) {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::ColourPicker, [&] {
        SetActionPending(true);
        WorkColour = code;
        colourChosen_ = true;
        pickTouched_ = true;
        if (EditMode == EditingStep::AddingTextField ||
            (EditMode == EditingStep::EditingField && PickedKind == TextField)) {
            Editor.foreColour =
                EditorColourOfCode(code, Editor.foreColour, ctx_.Defaults.BaseTextColour);
            Changed(LayoutEditView::EditorChanged);
        } else if (EditMode == EditingStep::SettingAllFonts) {
            AllFieldsColourSet = true;
        } else {
            Mobile.colour = ShapeColourOfCode(code);
            Changed(LayoutEditView::PlacementChanged);
        }
        Changed(LayoutEditView::PickersChanged);
    });
}

void LayoutEditSession::FontButtonClicked() {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::FontButton, [&] {
        SetActionPending(true);
        const bool textField = EditMode == EditingStep::AddingTextField ||
                               (EditMode == EditingStep::EditingField && PickedKind == TextField);
        if (!textField && EditMode != EditingStep::SettingAllFonts)
            return;
        const FormatDefaults& basics = ctx_.Defaults;
        FontChoice preset =
            EditMode == EditingStep::SettingAllFonts
                ? FontChoice{basics.BasicFont, basics.BasicFontSize, basics.BasicFontBold,
                             basics.BasicFontItalic}
                : FontChoice{Editor.fontName, Editor.fontSize, Editor.bold, Editor.italic};
        std::optional<FontChoice> choice = view_.ChooseFont(preset);
        if (!choice)
            return;
        Editor.fontName = choice->name;
        Editor.fontSize = choice->size;
        Editor.bold = choice->bold;
        Editor.italic = choice->italic;
        fontChosen_ = true;
        pickTouched_ = true;
        if (EditMode == EditingStep::SettingAllFonts)
            AllFieldsFontSet = true;
        Changed(LayoutEditView::EditorChanged);
    });
}

void LayoutEditSession::DefaultFontButtonClicked() {
    ChangeBatch batch(*this);
    ctx_.errorTrap.Guard(loc::FontButton, [&] {
        SetActionPending(true);
        AllFieldsDefaults = true;
    });
}

} // namespace cw
