#include "LayoutActions.h"

#include "BasicNumbers.h"
#include "CardPage.h"
#include "ProgramTexts.h"

#include <algorithm>

namespace cw {

namespace {

const std::string& T(TextId id) {
    return GetProgramText(id);
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

// "Using the left mouse button, draw the area  approximately where the field should go."
std::string DrawAreaStep() {
    return T(TextId::DrawTheAreaWithMouse) + T(TextId::WordApproximately) +
           T(TextId::WhereFieldShouldGo) + ".";
}

} // namespace

const std::vector<EditingMenuItem>& EditingMenuItems() {
    static const std::vector<EditingMenuItem> items = {
        {menu::RefreshScreen, "&Refresh Screen", -1, true},
        {menu::EditMultipleFields, "Edit Multiple Fields", 10, false},
        {menu::SaveChanges, "Save Changes", -1, true},
        {menu::SaveCardAs, "Save Card as Picture or PDF...", -1, true},
        {menu::Zoom, "Zoom", -1, true},
        {10, "-", -1, true},
        {menu::AddTextField, "Add a Text Field", 0, true},
        {menu::AddCheckBox, "Add a Check box", 1, true},
        {menu::AddCardSymbol, "Add a Card Symbol", -1, true},
        {menu::AddRectangle, "Add a Rectangle", 2, true},
        {60, "-", -1, true},
        {menu::AddHorizontalLine, "Add a Horizontal Line", 8, true},
        {menu::AddVerticalLine, "Add a Vertical Line", 9, true},
        {90, "-", -1, true},
        {menu::EditField, "Edit a Field", 6, true},
        {menu::ClearArea, "Clear an area", 5, true},
        {menu::DeleteField, "Delete a Field", 7, true},
        {130, "-", -1, false},
        {140, "Add a Click Square", 4, false},
        {150, "Add a Click Circle", 3, false},
        {170, "Add a Bitmap / Icon", 11, false},
        {180, "-", -1, true},
        {menu::SetFontOnAllFields, "Set font on all text fields for this card", 12, true},
        {200, "-", -1, true},
        {menu::Help, "Help", -1, true},
        {220, "-", -1, true},
        {menu::Done, "Done", -1, true},
        {500, "-", -1, false},
        {510, "Set Test Values", -1, false},
        {520, "Reset Values", -1, false},
    };
    return items;
}

int EditActionOfMenuItem(int menuIndex) {
    for (const EditingMenuItem& item : EditingMenuItems())
        if (item.index == menuIndex)
            return item.offered ? item.editAction : -1;
    return -1;
}

int EditModeOfAction(int editAction) {
    switch (editAction) {
    case 0:
        return 2;
    case 1:
        return 3;
    case 2:
        return 6;
    case 5:
        return 1;
    case 6:
        return 13;
    case 7:
        return 11;
    case 8:
    case 9:
        return 12;
    case 12:
        return 19;
    default:
        return 0;
    }
}

std::string ActionInstructions(int menuIndex, const FormatDefaults& basics) {
    switch (menuIndex) {
    case menu::AddTextField:
        return Lines({"1. " + DrawAreaStep(), "2 " + T(TextId::EnterTheText),
                      "3. " + T(TextId::SelectThe) + T(TextId::WordColour) + T(TextId::WordAnd) +
                          T(TextId::WordFontCharacteristics) + ".",
                      "4. " + T(TextId::FineTuneLocation), "5. " + T(TextId::FineTuneSize),
                      "6. " + T(TextId::PressSaveOrCancel)});
    case menu::AddCheckBox:
        return Lines(
            {"1. " + T(TextId::SelectThe) + T(TextId::WordCheckBox) + T(TextId::WordColour) + ".",
             "2. " + T(TextId::DragAndDropThe) + T(TextId::WordCheckBox) +
                 T(TextId::InTheApproximateLocation),
             "3. " + T(TextId::FineTuneLocation), "4. " + T(TextId::PressSaveOrCancel)});
    case menu::AddRectangle:
        return Lines({"1. " + T(TextId::SelectThe) + T(TextId::WordBorderWidth) + ".",
                      "2. " + DrawAreaStep(), "3. " + T(TextId::FineTuneLocation),
                      "4. " + T(TextId::FineTuneSize), "5. " + T(TextId::PressSaveOrCancel)});
    case menu::AddHorizontalLine:
    case menu::AddVerticalLine:
        return Lines({"1. " + T(TextId::SelectThe) + T(TextId::WordWidth) + ".",
                      "2. " + T(TextId::DrawTheLineWithMouse), "3. " + T(TextId::FineTuneSize),
                      "4. " + T(TextId::FineTuneLocation), "5. " + T(TextId::PressSaveOrCancel)});
    case menu::EditField:
        return "1. " + T(TextId::ClickOnFieldToBe) + T(TextId::WordEdited);
    case menu::ClearArea:
        return Lines(
            {"1. " + T(TextId::DrawTheAreaWithMouse), "2. " + T(TextId::PressSaveOrCancel)});
    case menu::DeleteField:
        return Lines({"1. " + T(TextId::ClickOnFieldToBe) + T(TextId::WordDeleted),
                      "2. " + T(TextId::PressSaveOrCancel)});
    case menu::SetFontOnAllFields: {
        std::string font =
            " (Font = " + basics.BasicFont + ", Font Size = " + FormatSingle(basics.BasicFontSize);
        if (basics.BasicFontBold)
            font += ", Bold";
        if (basics.BasicFontItalic)
            font += ", Italic";
        return Lines({T(TextId::ClickSetFonts), "", T(TextId::ClickRestoreDefaults) + font + ")"});
    }
    case menu::Zoom:
        return ZoomInstructions();
    default:
        return NoActionInstructions();
    }
}

std::string PickedFieldInstructions(int kind) {
    const std::string start = "1. " + T(TextId::MakeDesiredChangesTo);
    switch (kind) {
    case TextField:
        return Lines({start + T(TextId::WordColour) + ", " + T(TextId::WordLocation) + ", " +
                          T(TextId::WordSize) + ", " + T(TextId::WordAnd) +
                          T(TextId::WordFontCharacteristics) + ".",
                      "2. " + T(TextId::MakeTextChangesAbove),
                      "3. " + T(TextId::PressSaveOrCancel)});
    case Rectangle:
        return Lines({start + T(TextId::WordLocation) + ", " + T(TextId::WordSize) +
                          T(TextId::WordAnd) + T(TextId::WordBorderWidth) + ".",
                      "2. " + T(TextId::PressSaveOrCancel)});
    case Line:
        return Lines({start + T(TextId::WordLocation) + ", " + T(TextId::WordBorderWidth) +
                          T(TextId::WordAnd) + T(TextId::WordSize) + ".",
                      "2. " + T(TextId::PressSaveOrCancel)});
    case CheckBox:
        return Lines({start + T(TextId::WordColour) + ", " + T(TextId::WordLocation) + ", " +
                          T(TextId::WordAnd) + T(TextId::WordSize) + ".",
                      "2. " + T(TextId::PressSaveOrCancel)});
    default:
        return ActionInstructions(menu::EditField, FormatDefaults{});
    }
}

std::string NoActionInstructions() {
    return T(TextId::SelectAction);
}

bool PanelLayout::Shows(int page) const {
    return page == ButtonBar || std::any_of(pages.begin(), pages.end(),
                                            [page](const PagePlace& p) { return p.page == page; });
}

PanelLayout PanelLayoutFor(int menuIndex) {
    auto layout = [](int height, int labelTop, std::vector<PagePlace> places) {
        PanelLayout panel;
        panel.height = height;
        panel.labelTop = labelTop;
        panel.pages = std::move(places);
        return panel;
    };
    switch (menuIndex) {
    case menu::AddTextField: {
        PanelLayout panel = layout(3950, 2611,
                                   {{AlignmentPage, 120, 850},
                                    {ColourPage, 3090, 850},
                                    {MovePage, 120, 1450},
                                    {SizePage, 1720, 1450}});
        panel.fontButton = std::pair{3470, 1750};
        return panel;
    }
    case menu::AddCheckBox:
        return layout(3290, 1950,
                      {{ColourPage, 3030, 850}, {MovePage, 120, 850}, {CheckBoxPage, 1860, 850}});
    case menu::PickedCheckBox:
        return layout(3290, 1950,
                      {{ColourPage, 3150, 850}, {MovePage, 80, 850}, {SizePage, 1600, 850}});
    case menu::AddRectangle:
        return layout(3800, 2500,
                      {{MovePage, 120, 850}, {LineWidthPage, 3620, 850}, {SizePage, 1800, 850}});
    case menu::AddHorizontalLine:
    case menu::AddVerticalLine:
        return layout(4450, 3150,
                      {{MovePage, 120, 850},
                       {LineWidthPage, 3690, 850},
                       {SizePage, 1920, 850},
                       {ColourPage, 2970, 2450},
                       {LinesPage, 120, 1985}});
    case menu::PickedLine:
        return layout(4050, 2750,
                      {{ColourPage, 120, 2000},
                       {MovePage, 120, 850},
                       {LineWidthPage, 3690, 850},
                       {SizePage, 1920, 850}});
    case menu::SetFontOnAllFields: {
        PanelLayout panel = layout(2900, 1550, {{ColourPage, 1620, 850}});
        panel.fontButton = std::pair{120, 950};
        panel.defaultFontButton = std::pair{3710, 950};
        return panel;
    }
    case menu::Zoom:
        return layout(4200, 2900, {{ZoomPage, 390, 850}});
    default: // Edit a Field, Clear an area, Delete a Field
        return layout(2125, 800, {});
    }
}

const std::vector<ActionButtonPlace>& ActionButtons() {
    static const std::vector<ActionButtonPlace> buttons = {
        {10, 150, 240, "Save Change"}, {11, 1830, 240, "Cancel Action"},  {15, 3510, 240, "Done"},
        {12, 3510, 510, "Help"},       {14, 1830, 510, "Refresh Screen"},
    };
    return buttons;
}

std::string CardSymbolMessage() {
    return Lines({"Add card symbols to text fields by pressing:",
                  "F5 for club, F6 for diamond, F7 for heart, and F8 for spade.", "",
                  "The symbols will appear when you leave the text field."});
}

std::string ZoomInstructions() {
    return Lines({"Click the up arrow to zoom in or ", "Click the down arrow to zoom out, or "}) +
           "\r\n";
}

} // namespace cw
