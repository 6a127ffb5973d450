#include "FieldCommit.h"

#include "AppContext.h"
#include "BasicNumbers.h"
#include "FieldRecords.h"
#include "ProgramTexts.h"
#include "UndoHistory.h"

#include <algorithm>

namespace cw {

namespace {

const std::string& T(TextId id) {
    return GetProgramText(id);
}

std::string KindName(int kind) {
    switch (kind) {
    case TextField:
        return "Text Field";
    case CheckBox:
        return "Check Box";
    case Rectangle:
        return "Rectangle";
    case Line:
        return "Line";
    default:
        return "Field";
    }
}

} // namespace

CommitOutcome FieldCommit::Commit(const PendingField& p) {
    const int kind = p.editMode == EditingStep::EditingField ? p.pickedKind : 0;
    if (p.editMode == EditingStep::ClearingArea)
        return CommitClearArea(p);
    if (p.editMode == EditingStep::AddingTextField || kind == TextField)
        return CommitTextField(p);
    if (p.editMode == EditingStep::AddingCheckBox || kind == CheckBox)
        return CommitCheckBox(p);
    if (p.editMode == EditingStep::AddingRectangle || kind == Rectangle)
        return CommitRectangle(p);
    if (p.editMode == EditingStep::AddingLine || kind == Line)
        return CommitLines(p);
    if (p.editMode == EditingStep::DeletingField)
        return CommitDelete(p);
    if (p.editMode == EditingStep::SettingAllFonts)
        return CommitAllFields(p);
    return CommitOutcome::Nothing;
}

bool FieldCommit::OnCard(TwipRect& rect) const {
    const double width = ctx_.Format.Defaults().NaturalWidth;
    const double height = ctx_.Format.Defaults().NaturalHeight;
    if (width > 0 && height > 0)
        rect = ClipToCard(rect, width, height);
    return !rect.Empty();
}

bool FieldCommit::HasRoom(int kind, int needed, const char* what) {
    const int capacity = InfoOfKind(kind).capacity;
    if (ctx_.Card.Page().Count(kind) + needed <= capacity)
        return true;
    ctx_.prompter.Message("This card already holds as many " + std::string(what) +
                              " as a card can (" + std::to_string(capacity) +
                              ").\r\nDelete one of them before you add another.",
                          T(TextId::ProgramName), Buttons::Ok, Icon::Warning);
    return false;
}

bool FieldCommit::RemoveFieldsInArea(const TwipRect& area) {
    const CardPage& page = ctx_.Card.Page();
    if (AnyFieldInArea(page, area, metrics_)) {
        ctx_.prompter.Beep();
        Answer answer = ctx_.prompter.Message(
            T(TextId::OperationRemovesFields) + "\r\n\r\n" + T(TextId::AskProceedAnyway),
            T(TextId::ProgramName), Buttons::YesNo, Icon::Question);
        if (answer != Answer::Yes)
            return true;
    }
    RemoveFieldsOverlapping(ctx_.Card.Edit(), area, metrics_);
    return false;
}

CommitOutcome FieldCommit::CommitClearArea(const PendingField& p) {
    TwipRect area = p.mobile.rect;
    if (p.mobile.kind != MobileKind::RubberBand || !p.mobile.visible || !OnCard(area))
        return CommitOutcome::Nothing;
    if (!HasRoom(ClearedArea, 1, "cleared areas"))
        return CommitOutcome::Nothing;
    ChangeScope change(history_, "Clear Area");
    if (RemoveFieldsInArea(area)) {
        return CommitOutcome::Declined;
    }
    CardField cleared;
    cleared.a = {RoundHalfEven(area.left),
                 RoundHalfEven(area.top),
                 RoundHalfEven(area.width),
                 RoundHalfEven(area.height),
                 0,
                 0};
    ctx_.Card.Edit().Add(ClearedArea, cleared);
    return CommitOutcome::Recorded;
}

CommitOutcome FieldCommit::CommitTextField(const PendingField& p) {
    if (p.mobile.kind != MobileKind::Editor || !p.mobile.visible)
        return CommitOutcome::Nothing;
    const bool editing = p.editMode == EditingStep::EditingField;
    TextFieldEntry entry;
    entry.rect = p.mobile.rect;
    entry.multiLine = p.editor.index >= 3;
    if (!entry.multiLine)
        entry.rect.height = 240;
    entry.alignment = p.alignment == 0 ? 0 : p.alignment == 1 ? 1 : 2;
    entry.fontName = p.editor.fontName;
    entry.fontSize = p.editor.fontSize;
    entry.bold = p.editor.bold;
    entry.italic = p.editor.italic;
    entry.text = p.editorText;
    if (!OnCard(entry.rect))
        return CommitOutcome::Nothing;
    const CardPage& page = ctx_.Card.Page();
    const FormatDefaults& basics = ctx_.Format.Defaults();
    if (editing) {
        const CardField old = page.Field(TextField, p.currentField);
        // Fields of the colours beyond the named ones keep them.
        entry.colourCode = p.colourChosen && TextRecord(old.a).colourCode() <= 7
                               ? p.workColour
                               : TextRecord(old.a).colourCode();
        ChangeScope change(history_, "Edit Text Field");
        ctx_.Card.Edit().Field(TextField, p.currentField) =
            MakeEditedTextField(old, entry, p.fontChosen, basics);
        return CommitOutcome::Recorded;
    }
    entry.colourCode =
        p.colourChosen ? p.workColour : ColourCodeOfEditorColour(p.editor.foreColour);
    if (!HasRoom(TextField, 1, "text fields") || !HasRoom(ClearedArea, 1, "cleared areas"))
        return CommitOutcome::Nothing;
    CardField field = MakeTextField(entry, basics);
    ChangeScope change(history_, "Add Text Field");
    if (RemoveFieldsInArea({double(TextRecord(field.a).x()), double(TextRecord(field.a).y()),
                            double(TextRecord(field.a).width()),
                            double(TextRecord(field.a).height())})) {
        return CommitOutcome::Declined;
    }
    TwipRect cleared = ClearedAreaAround(field);
    ctx_.Card.Edit().Add(TextField, std::move(field));
    // The printed form under the new field is blanked, with a margin.
    if (OnCard(cleared)) {
        CardField area;
        area.a = {RoundHalfEven(cleared.left),
                  RoundHalfEven(cleared.top),
                  RoundHalfEven(cleared.width),
                  RoundHalfEven(cleared.height),
                  0,
                  0};
        ctx_.Card.Edit().Add(ClearedArea, area);
    }
    return CommitOutcome::Recorded;
}

CommitOutcome FieldCommit::CommitCheckBox(const PendingField& p) {
    if (p.mobile.kind != MobileKind::Marker)
        return CommitOutcome::Nothing;
    const bool editing = p.editMode == EditingStep::EditingField;
    if (!editing && !p.markerPlaced)
        return CommitOutcome::Nothing;
    TwipRect marker = p.mobile.rect;
    const double width = ctx_.Format.Defaults().NaturalWidth;
    const double height = ctx_.Format.Defaults().NaturalHeight;
    // A box dropped partly off the card comes back onto it whole.
    if (width > 0 && height > 0) {
        marker.left = std::clamp(marker.left, 0.0, std::max(0.0, width - marker.width));
        marker.top = std::clamp(marker.top, 0.0, std::max(0.0, height - marker.height));
    }
    const CardPage& page = ctx_.Card.Page();
    const int32_t pixel = ctx_.TwipsPerPixel;
    if (editing) {
        const CardField old = page.Field(CheckBox, p.currentField);
        CardField box =
            MakeCheckBox(marker, p.colourChosen ? p.workColour : CheckBoxRecord(old.a).colourCode(),
                         pixel, true, &old);
        if (CheckBoxRecord(box.a).side() <= 0)
            return CommitOutcome::Nothing;
        ChangeScope change(history_, "Edit Check Box");
        ctx_.Card.Edit().Field(CheckBox, p.currentField) = box;
        return CommitOutcome::Recorded;
    }
    CardField box = MakeCheckBox(marker, p.workColour, pixel, false, nullptr);
    if (CheckBoxRecord(box.a).side() <= 0 || !HasRoom(CheckBox, 1, "check boxes"))
        return CommitOutcome::Nothing;
    ChangeScope change(history_, "Add Check Box");
    if (RemoveFieldsInArea(marker)) {
        return CommitOutcome::Declined;
    }
    ctx_.Card.Edit().Add(CheckBox, box);
    return CommitOutcome::Recorded;
}

CommitOutcome FieldCommit::CommitRectangle(const PendingField& p) {
    TwipRect band = p.mobile.rect;
    if (p.mobile.kind != MobileKind::RubberBand || !p.mobile.visible || !OnCard(band))
        return CommitOutcome::Nothing;
    const CardPage& page = ctx_.Card.Page();
    if (p.editMode == EditingStep::EditingField) {
        const CardField old = page.Field(Rectangle, p.currentField);
        ChangeScope change(history_, "Edit Rectangle");
        ctx_.Card.Edit().Field(Rectangle, p.currentField) =
            MakeRectangle(band, p.mobile.borderWidth, RectangleRecord(old.a).colourCode());
        return CommitOutcome::Recorded;
    }
    if (!HasRoom(Rectangle, 1, "rectangles"))
        return CommitOutcome::Nothing;
    // A rectangle frames what is under it, so it removes nothing.
    ChangeScope change(history_, "Add Rectangle");
    ctx_.Card.Edit().Add(Rectangle, MakeRectangle(band, p.mobile.borderWidth, 0));
    return CommitOutcome::Recorded;
}

CommitOutcome FieldCommit::CommitLines(const PendingField& p) {
    if (p.mobile.kind != MobileKind::LinePreview || !p.mobile.visible)
        return CommitOutcome::Nothing;
    LineEnds ends = p.mobile.line;
    const int32_t width = int32_t(ctx_.Format.Defaults().NaturalWidth);
    const int32_t height = int32_t(ctx_.Format.Defaults().NaturalHeight);
    if (width > 0 && height > 0) {
        ends.x1 = std::clamp(ends.x1, 0, width);
        ends.x2 = std::clamp(ends.x2, 0, width);
        ends.y1 = std::clamp(ends.y1, 0, height);
        ends.y2 = std::clamp(ends.y2, 0, height);
    }
    if (ends.x1 == ends.x2 && ends.y1 == ends.y2)
        return CommitOutcome::Nothing;
    const CardPage& page = ctx_.Card.Page();
    const bool horizontal = ends.y1 == ends.y2;
    if (p.editMode == EditingStep::EditingField) {
        const CardField old = page.Field(Line, p.currentField);
        int32_t colour = p.colourChosen ? p.workColour : LineRecord(old.a).colourCode();
        ChangeScope change(history_, "Edit Line");
        ctx_.Card.Edit().Field(Line, p.currentField) =
            MakeLines(ends, p.mobile.borderWidth, colour, 1, 0, horizontal).front();
        return CommitOutcome::Recorded;
    }
    int count = int(std::clamp(Val(p.lineCountText), 1.0, 1000.0));
    int32_t spacing = int32_t(std::clamp(Val(p.lineSpacingText), -100000.0, 100000.0));
    std::vector<CardField> lines =
        MakeLines(ends, p.mobile.borderWidth, p.workColour, count, spacing, p.lineHorizontal);
    // Lines that the spacing takes off the card are not kept.
    if (width > 0 && height > 0)
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [&](const CardField& l) {
                                       const LineRecord line(l.a);
                                       return std::max(line.x1(), line.x2()) < 0 ||
                                              std::min(line.x1(), line.x2()) > width ||
                                              std::max(line.y1(), line.y2()) < 0 ||
                                              std::min(line.y1(), line.y2()) > height;
                                   }),
                    lines.end());
    if (lines.empty() || !HasRoom(Line, int(lines.size()), "lines"))
        return CommitOutcome::Nothing;
    ChangeScope change(history_, lines.size() > 1 ? "Add Lines" : "Add Line");
    for (CardField& line : lines)
        ctx_.Card.Edit().Add(Line, std::move(line));
    return CommitOutcome::Recorded;
}

CommitOutcome FieldCommit::CommitDelete(const PendingField& p) {
    if (p.pickedKind == 0 || p.currentField < 0 ||
        p.currentField >= ctx_.Card.Page().Count(p.pickedKind))
        return CommitOutcome::Nothing;
    ChangeScope change(history_, "Delete " + KindName(p.pickedKind));
    ctx_.Card.Edit().Remove(p.pickedKind, p.currentField);
    return CommitOutcome::Recorded;
}

CommitOutcome FieldCommit::CommitAllFields(const PendingField& p) {
    AllFieldsChoice choice;
    choice.fontSet = p.allFieldsFontSet;
    choice.colourSet = p.allFieldsColourSet;
    choice.defaults = p.allFieldsDefaults;
    choice.fontName = p.editor.fontName;
    choice.fontSize = p.editor.fontSize;
    choice.bold = p.editor.bold;
    choice.italic = p.editor.italic;
    choice.colourCode = p.workColour;
    // Some formats print their red fields in red whatever the card's colours.
    const bool keepRed = ctx_.Format.Traits().redFieldsStayRed;
    ChangeScope change(history_, "Set Font on All Text Fields");
    return SetFontOnAllTextFields(ctx_.Card.Edit(), choice, ctx_.Format.Defaults(), keepRed)
               ? CommitOutcome::Recorded
               : CommitOutcome::Nothing;
}

} // namespace cw
