#include "FillInSession.h"

#include "FieldRecords.h"
#include "UndoHistory.h"

namespace cw {

namespace {

// What the history calls a click on a field of kind.
const char* ClickName(int kind) {
    switch (kind) {
    case CheckBox:
        return "Tick";
    case Circle:
    case CircledItem:
        return "Circle";
    case FrameBox:
    case TickMark:
        return "Mark";
    case ColourDot:
        return "Colour Dot";
    default:
        return "Change";
    }
}

// What the history calls a Ctrl key of the editor; moves of one field follow each other as
// one step.
std::string CtrlKeyName(char key) {
    switch (key) {
    case 'L':
    case 'R':
    case 'M':
        return "Alignment";
    case 'B':
        return "Bold";
    default:
        return "Move Field";
    }
}

} // namespace

void FillInSession::Click(int32_t x, int32_t y, const HitMetrics& metrics) {
    if (EditMode != EditingStep::FillingIn)
        return;
    view_.HideOptionList();
    auto hit = HitTestFillIn(card_.Page(), x, y, metrics);
    if (!hit)
        return;
    if (hit->kind == TextField) {
        OpenTextEditor(hit->index);
        return;
    }
    // A mark was clicked: the text field was left (the window has committed it) and no
    // editor is open now, so nothing (a zoom, F4) is to open one again.
    CurrentField = NoField;
    if (hit->kind == OptionField) {
        OptionFieldIndex = hit->index;
        SuppressEvents = true;
        view_.ShowOptionList(
            hit->index, OptionFieldRecord(card_.Page().Field(OptionField, hit->index).a).state());
        SuppressEvents = false;
        return;
    }
    ChangeScope change(History, ClickName(hit->kind));
    if (hit->kind == CircledItem) {
        AdvanceMark(card_.Edit(), *hit);
        view_.RedrawCircledItem(hit->index);
        view_.MarkChanged();
        return;
    }
    auto fill = AdvanceMark(card_.Edit(), *hit);
    view_.RedrawRecord(hit->kind, hit->index, fill);
    view_.MarkChanged();
}

void FillInSession::OptionChosen(int position) {
    if (SuppressEvents)
        return;
    if (OptionFieldIndex >= 0 && OptionFieldIndex < card_.Page().Count(OptionField)) {
        ChangeScope change(History, "Option");
        CardField& field = card_.Edit().Field(OptionField, OptionFieldIndex);
        MutableOptionFieldRecord option(field.a);
        if (option.state() != position) {
            view_.MarkChanged();
            option.state() = position;
            view_.RedrawRecord(OptionField, OptionFieldIndex, std::nullopt);
        }
    }
    view_.HideOptionList();
}

void FillInSession::OpenTextEditor(int index) {
    if (index < 0 || index >= card_.Page().Count(TextField))
        return;
    SuppressChange = true;
    CurrentField = index;
    view_.OpenEditor(index);
    SuppressChange = false;
}

bool FillInSession::CommitTextEditor(const std::string& editorText) {
    if (SuppressEvents || EditMode == EditingStep::AddingTextField ||
        EditMode == EditingStep::EditingField || CurrentField >= 9990 ||
        CurrentField >= card_.Page().Count(TextField))
        return false;
    view_.HideEditor();
    if (TextDirty) {
        ChangeScope change(History, "Typing");
        TextDirty = false;
        CardField& field = card_.Edit().Field(TextField, CurrentField);
        CommittedText committed = CommitEditorText(field.text, editorText);
        if (committed.changed)
            view_.MarkChanged();
        field.text = std::move(committed.text);
    }
    view_.RedrawRecord(TextField, CurrentField, std::nullopt);
    return true;
}

void FillInSession::OpenNextTextField(bool forward, bool surfaceVisible) {
    int count = card_.Page().Count(TextField);
    if (count == 0 || !surfaceVisible || EditMode != EditingStep::FillingIn ||
        CurrentField == NoField)
        return;
    OpenTextEditor(NextTextFieldIndex(CurrentField, count, forward));
}

bool FillInSession::EditorCtrlKey(char key, const std::string& editorText, int32_t twipsPerPixel,
                                  bool editorBold) {
    if (CurrentField < 0 || CurrentField >= card_.Page().Count(TextField))
        return false;
    CardField probe = card_.Page().Field(TextField, CurrentField);
    if (!ApplyEditorCtrlKey(probe, key, twipsPerPixel, editorBold))
        return false;
    // What was typed so far must not be lost when the field is reopened; it is a step of its
    // own, so that it never merges into the key's (nudges of one field merge with each other).
    CommitTextEditor(editorText);
    std::string name = CtrlKeyName(key);
    ChangeScope change(History, name,
                       name == "Move Field" ? "move " + std::to_string(CurrentField) : "");
    ApplyEditorCtrlKey(card_.Edit().Field(TextField, CurrentField), key, twipsPerPixel, editorBold);
    view_.MarkChanged();
    // Reopen the same field so that the editor shows the result.
    int field = CurrentField;
    CurrentField = field - 1;
    OpenTextEditor(field);
    return true;
}

void FillInSession::Reset() {
    CurrentField = NoField;
    TextDirty = false;
    OptionFieldIndex = -1;
}

} // namespace cw
