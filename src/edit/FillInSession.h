#pragma once

#include "CardPage.h"
#include "EditingStep.h"
#include "FillIn.h"
#include "OpenCard.h"

#include <cstdint>
#include <optional>
#include <string>

namespace cw {

class UndoHistory;

// What filling in asks of the window: open or close an editor, redraw one record, show the
// option list, and mark the card changed.
class FillInView {
public:
    virtual ~FillInView() = default;
    virtual void OpenEditor(int textFieldIndex) = 0;
    virtual void HideEditor() = 0;
    // Redraws record index of kind; fill is the colour of a colour dot's new state.
    virtual void RedrawRecord(int kind, int index, std::optional<int32_t> fill) = 0;
    // Redraws a circled item that has taken its next look.
    virtual void RedrawCircledItem(int index) = 0;
    virtual void ShowOptionList(int optionFieldIndex, int choice) = 0;
    virtual void HideOptionList() = 0;
    virtual void MarkChanged() = 0;
};

// The state of filling in a card: which text field is open, whether its text was changed,
// and what a click, a key or leaving the editor does to the card.
class FillInSession {
public:
    static constexpr int NoField = 9999;

    FillInSession(OpenCard& card, FillInView& view) : card_(card), view_(view) {}

    EditingStep EditMode = EditingStep::FillingIn;
    int CurrentField = NoField;
    bool TextDirty = false;
    bool SuppressChange = false;
    bool SuppressEvents = false;
    int OptionFieldIndex = -1;
    // Where every change of the card is recorded as one step; none in tests of filling in
    // alone.
    UndoHistory* History = nullptr;

    // A click at (x, y) in card twips. The window commits an open editor first; a click on a
    // mark leaves no editor open.
    void Click(int32_t x, int32_t y, const HitMetrics& metrics);
    // The option list's choice (0..3) for the open option field.
    void OptionChosen(int position);

    // Opens the editor on text field i.
    void OpenTextEditor(int index);
    void EditorGotFocus() { TextDirty = false; }
    void EditorTextChanged() {
        if (!SuppressChange && EditMode == EditingStep::FillingIn)
            TextDirty = true;
    }
    // The editor loses the focus with editorText; stores the cleaned text when it changed
    // and redraws the field. Returns whether the field was committed.
    bool CommitTextEditor(const std::string& editorText);
    // Tab and Shift+Tab.
    void OpenNextTextField(bool forward, bool surfaceVisible = true);
    // A Ctrl key of the editor; keeps what was typed, then reopens the field to show the
    // result. False for other keys.
    bool EditorCtrlKey(char key, const std::string& editorText, int32_t twipsPerPixel,
                       bool editorBold);

    // No field open (a card was closed or reloaded).
    void Reset();

private:
    OpenCard& card_;
    FillInView& view_;
};

} // namespace cw
