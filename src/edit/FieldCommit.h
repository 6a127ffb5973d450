#pragma once

#include "EditingStep.h"
#include "LayoutEditSession.h"

#include <string>

namespace cw {

class AppContext;
class UndoHistory;

// What is pending when "Save Change" is pressed: the action, the picked record, the control
// that stands for the field and the panel's choices.
struct PendingField {
    EditingStep editMode = EditingStep::FillingIn;
    int pickedKind = 0;
    int currentField = -1;
    Placement mobile;
    EditorLook editor;
    std::string editorText; // card bytes
    int alignment = 0;
    int workColour = 1;
    bool colourChosen = false;
    bool fontChosen = false;
    bool markerPlaced = false;
    bool lineHorizontal = true;
    std::string lineCountText = "1";
    std::string lineSpacingText = "0";
    bool allFieldsFontSet = false;
    bool allFieldsColourSet = false;
    bool allFieldsDefaults = false;
};

enum class CommitOutcome {
    Nothing,  // nothing to store: not drawn, empty, off the card, or its table full
    Recorded, // stored, as one step of the card's history
    Declined, // the user kept the fields the new one would cover: the action ends
};

// Stores the pending field on the open page: the record of its kind (appended, or written
// over the picked one), the fields it covers removed after a question, a new text field's
// cleared area. A table that is full refuses the field with a message and changes nothing.
class FieldCommit {
public:
    FieldCommit(AppContext& context, UndoHistory* history, const HitMetrics& metrics)
        : ctx_(context), history_(history), metrics_(metrics) {}

    CommitOutcome Commit(const PendingField& field);
    // Asks before the fields under area are removed (none: no question); true when the user
    // declined and nothing was removed.
    bool RemoveFieldsInArea(const TwipRect& area);

private:
    CommitOutcome CommitClearArea(const PendingField& p);
    CommitOutcome CommitTextField(const PendingField& p);
    CommitOutcome CommitCheckBox(const PendingField& p);
    CommitOutcome CommitRectangle(const PendingField& p);
    CommitOutcome CommitLines(const PendingField& p);
    CommitOutcome CommitDelete(const PendingField& p);
    CommitOutcome CommitAllFields(const PendingField& p);
    bool HasRoom(int kind, int needed, const char* what);
    // Cuts rect to the card; false when nothing of it is left.
    bool OnCard(TwipRect& rect) const;

    AppContext& ctx_;
    UndoHistory* history_;
    HitMetrics metrics_;
};

} // namespace cw
