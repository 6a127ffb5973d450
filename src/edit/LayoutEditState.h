#pragma once

#include "EditingStep.h"
#include "LayoutActions.h"
#include "PlacedControl.h"

#include <array>
#include <cstdint>
#include <string>

namespace cw {

// Where layout editing stands: the action in force, the field being placed or edited, the
// panel and its controls. The session changes it; the window shows it.
struct LayoutEditState {
    static constexpr int NoField = 9999;

    EditingStep EditMode = EditingStep::FillingIn;
    // The last action code started (below 20); -1 before the first.
    EditAction LastAction = EditAction::None;
    bool ActionPending = false;
    int CurrentField = NoField;
    int PickedKind = 0;
    bool LineHorizontal = true;
    bool RubberBandArmed = false;
    bool TextEditorPlaced = false;
    int WorkColour = 1;
    // The last value seen of each arrow control.
    std::array<int, 4> SpinMemory{};
    bool AllFieldsFontSet = false;
    bool AllFieldsColourSet = false;
    bool AllFieldsDefaults = false;

    bool PanelVisible = false;
    int PanelMenuIndex = -1;
    double PanelLeft = 0;
    double PanelTop = 0;
    std::string Instructions;
    int Alignment = 0;       // the alignment picker: 0 left, 1 right, 2 centre
    int LineWidthOption = 0; // the line-width picker: 0 "None", 1..4
    bool TallerEnabled = true;
    bool WiderEnabled = true;
    bool FontButtonsEnabled = false;
    // The "Multiple Lines" page: number of lines and the space between them.
    std::string LineCountText = "1";
    std::string LineSpacingText = "0";

    Placement Mobile;
    EditorLook Editor;
};

} // namespace cw
