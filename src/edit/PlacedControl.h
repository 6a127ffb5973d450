#pragma once

#include "FormatDefaults.h"
#include "LayoutRules.h"

#include <cstdint>
#include <functional>
#include <string>

namespace cw {

// The control that stands for the field being placed or edited: an in-place editor, the
// check-box marker, the rubber band or the line preview. Its place is card twips of the page.
enum class MobileKind { None, Editor, Marker, RubberBand, LinePreview };

struct Placement {
    MobileKind kind = MobileKind::None;
    bool visible = false;
    TwipRect rect;       // editor, marker, rubber band
    LineEnds line;       // line preview
    int borderWidth = 1; // rubber band border and line width, pixels
    int32_t colour = 0;  // marker and line preview (Windows RGB)
};

// How the in-place editor of a text field looks while it is placed.
struct EditorLook {
    int index = 0; // 0..2 one line (left, right, centre), 3..5 wrapped
    std::string fontName;
    double fontSize = 10;
    bool bold = false;
    bool italic = false;
    int32_t foreColour = 0;
    // A new field is typed on yellow; an existing one shows on the card's field colour.
    bool newField = true;
    bool readOnly = false;
};

// The four arrow controls of the panel.
enum class Arrow { UpDown = 0, LeftRight = 1, Taller = 2, Wider = 3 };

// Moves or resizes the placed control by one step of an arrow control (increase: the
// arrow's value went up). A line keeps its start as it grows; a check box (square) keeps
// its height equal to its width; nothing shrinks below nothing.
void NudgePlacement(Placement& mobile, Arrow arrow, bool increase, int32_t step, bool square);

// How a field picked for editing or deletion shows on the panel's controls.
struct PickedFieldLook {
    Placement mobile;
    EditorLook editor;      // text fields
    std::string editorText; // text fields: the text without its font prefix
    int alignment = -1;     // text fields: the alignment picker; -1 leaves it
    int workColour = -1;    // shapes: the colour picker's code; -1 leaves it
    int lineWidthOption = -1;
    bool lineHorizontal = true;
    bool tallerEnabled = true;
    bool widerEnabled = true;
    int panelLayout = -1; // the menu item whose panel shows it
};

// textColourOfCode gives the screen colour of a text field's colour code.
PickedFieldLook LookOfPickedField(const CardField& field, int kind, bool editing,
                                  const FormatDefaults& basics, int32_t twipsPerPixel,
                                  const std::function<int32_t(int32_t)>& textColourOfCode);

} // namespace cw
