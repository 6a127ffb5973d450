#pragma once

#include "EditingStep.h"
#include "FormatDefaults.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cw {

// The actions of layout editing as the user meets them: the items of the editing menu, the
// instructions shown for each action, and how the floating panel is laid out for it.

// Menu items by their number (the numbers also say their order).
namespace menu {
inline constexpr int RefreshScreen = 0;
inline constexpr int EditMultipleFields = 3;
inline constexpr int SaveChanges = 4;
inline constexpr int SaveCardAs = 5;
inline constexpr int Zoom = 7;
inline constexpr int AddTextField = 20;
inline constexpr int AddCheckBox = 30;
inline constexpr int AddCardSymbol = 40;
inline constexpr int AddRectangle = 50;
inline constexpr int AddHorizontalLine = 70;
inline constexpr int AddVerticalLine = 80;
inline constexpr int EditField = 100;
inline constexpr int ClearArea = 110;
inline constexpr int DeleteField = 120;
inline constexpr int SetFontOnAllFields = 190;
inline constexpr int Help = 210;
inline constexpr int Done = 230;
// Panel layouts of a field picked by "Edit a Field" that have no menu item of their own.
inline constexpr int PickedCheckBox = 31;
inline constexpr int PickedLine = 71;
} // namespace menu

struct EditingMenuItem {
    int index = 0;
    std::string caption; // "-" for a separator; "&" marks the access key
    // The action it starts, or none for a command.
    EditAction editAction = EditAction::None;
    // Items the menu never offers are not shown.
    bool offered = true;
    bool IsSeparator() const { return caption == "-"; }
};
// Every item of the editing menu in its order, the ones it never offers included.
const std::vector<EditingMenuItem>& EditingMenuItems();
// The action a menu item starts, or none.
EditAction EditActionOfMenuItem(int menuIndex);
// The step an action arms (filling in for actions that arm nothing).
EditingStep EditModeOfAction(EditAction editAction);

// The instructions of an action, one step a line, lines separated by CR LF. basics gives the
// card's font for "Set font on all text fields".
std::string ActionInstructions(int menuIndex, const FormatDefaults& basics);
// The instructions once "Edit a Field" has picked a field of kind.
std::string PickedFieldInstructions(int kind);
// The instructions while no action is in force.
std::string NoActionInstructions();

// The pages of the floating panel.
enum PanelPage : int {
    AlignmentPage = 0,
    ColourPage = 2,
    MovePage = 3,
    ButtonBar = 4,
    LineWidthPage = 5,
    CheckBoxPage = 6,
    SizePage = 7,
    LinesPage = 8,
    ZoomPage = 10,
};

struct PagePlace {
    int page = 0;
    int left = 0; // panel twips (the panel keeps its size whatever the zoom)
    int top = 0;
};

// The panel for one menu item: its height, where the instructions start, which pages it shows
// where, and where the font buttons stand when they are shown.
struct PanelLayout {
    int height = 0;
    int labelTop = 0;
    std::vector<PagePlace> pages;
    std::optional<std::pair<int, int>> fontButton;
    std::optional<std::pair<int, int>> defaultFontButton;

    bool Shows(int page) const;
};
PanelLayout PanelLayoutFor(int menuIndex);

// The width of the panel and of its action buttons, panel twips.
inline constexpr int kPanelWidth = 5300;
inline constexpr int kActionButtonWidth = 1630;
inline constexpr int kActionButtonHeight = 255;

// The buttons every page of the layout panel has. The numbers are those the error log
// records.
enum class PanelButton : int {
    SaveChange = 10,
    CancelAction = 11,
    Help = 12,
    RefreshScreen = 14,
    Done = 15,
};

struct ActionButtonPlace {
    PanelButton button;
    int left;
    int top;
    const char* caption;
};
const std::vector<ActionButtonPlace>& ActionButtons();

// What "Add a Card Symbol" tells.
std::string CardSymbolMessage();
// What the zoom page says.
std::string ZoomInstructions();

} // namespace cw
