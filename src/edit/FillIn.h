#pragma once

#include "CardPage.h"
#include "FontPrefix.h"

#include <cstdint>
#include <optional>
#include <string>

namespace cw {

// A field found under a click.
struct FieldHit {
    int kind = 0;
    int index = -1;
};

// What the hit test needs besides the card: the surface's "H" measures in card twips (for
// circled items) and the screen's twips per pixel (for tick marks).
struct HitMetrics {
    int32_t letterWidth = 120;
    int32_t letterHeight = 240;
    int32_t twipsPerPixel = 15;
};

int FindTextFieldAt(const CardPage& page, int32_t x, int32_t y);
int FindCircleAt(const CardPage& page, int32_t x, int32_t y);
int FindMarkAt(const CardPage& page, int32_t x, int32_t y, const HitMetrics& metrics);

// The field a click in filling-in mode reaches: text fields, check boxes, circles, circled
// items, frame boxes, colour dots, tick marks, option fields, in this order; within a kind
// the lowest index wins. Bounds include both edges.
std::optional<FieldHit> HitTestFillIn(const CardPage& page, int32_t x, int32_t y,
                                      const HitMetrics& metrics);

// The mark a click sets: the record's next state. Text and option fields are not marks
// (they open an editor or a list) and circled items are cycled by their drawer, which
// paints out the look it replaces; these are left alone. Returns the colour a colour dot is to
// be filled with (Windows RGB), when the record is a colour dot.
std::optional<int32_t> AdvanceMark(CardPage& page, const FieldHit& hit);

// Text of the editor after the user leaves it: tabs at both ends and trailing line breaks
// removed, trailing blanks removed, the old text's font prefix put back and double quotes
// turned into two apostrophes each. changed tells whether the result differs from oldText
// before the quotes were turned.
struct CommittedText {
    std::string text;
    bool changed = false;
};
CommittedText CommitEditorText(const std::string& oldText, const std::string& editorText);

// The choice of an option field (0 "Not Used", 1 "NoTrump", 2 "Suit", 3 "Both") that a key
// typed into its list chooses: N, S, B, U (either case) or the digits 0..3; -1 for any other.
int OptionChoiceOfKey(char key);

// Tab order: the next text field forward or backward, wrapping around.
int NextTextFieldIndex(int current, int count, bool forward);

// Where text field index of the table before is in the table after a step of the history
// (fields added or removed in front of it move it); -1 when it is gone.
int FollowTextField(const std::vector<CardField>& before, const std::vector<CardField>& after,
                    int index);

// Suit markup typed with F5..F8 at the caret; returns the new caret (after the markup).
int InsertSuitMarkup(std::string& text, int caret, char suitLetter);

// The Ctrl keys of the in-place editor, applied to the open text field. Returns false for a
// key that is not one of them.
bool ApplyEditorCtrlKey(CardField& field, char key, int32_t twipsPerPixel, bool editorBold);

// The in-place editor that shows a field: alignment 0..2 one line, 3..5 wrapped.
struct EditorStyle {
    int editorIndex = 0;
    bool multiLine = false;
    bool bold = false;
    bool italic = false;
    // 0: the least height the editor's font allows.
    int32_t height = 0;
};
EditorStyle EditorStyleFor(const CardField& field, bool defaultBold, bool defaultItalic);

} // namespace cw
