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
        {menu::RefreshScreen, "&Refresh Screen", EditAction::None, true},
        {menu::EditMultipleFields, "Edit Multiple Fields", EditAction::EditMultipleFields, false},
        {menu::SaveChanges, "Save Changes", EditAction::None, true},
        {menu::SaveCardAs, "Save Card as Picture or PDF...", EditAction::None, true},
        {menu::Zoom, "Zoom", EditAction::None, true},
        {10, "-", EditAction::None, true},
        {menu::AddTextField, "Add a Text Field", EditAction::AddTextField, true},
        {menu::AddCheckBox, "Add a Check box", EditAction::AddCheckBox, true},
        {menu::AddCardSymbol, "Add a Card Symbol", EditAction::None, true},
        {menu::AddRectangle, "Add a Rectangle", EditAction::AddRectangle, true},
        {60, "-", EditAction::None, true},
        {menu::AddHorizontalLine, "Add a Horizontal Line", EditAction::AddHorizontalLine, true},
        {menu::AddVerticalLine, "Add a Vertical Line", EditAction::AddVerticalLine, true},
        {90, "-", EditAction::None, true},
        {menu::EditField, "Edit a Field", EditAction::EditField, true},
        {menu::ClearArea, "Clear an area", EditAction::ClearArea, true},
        {menu::DeleteField, "Delete a Field", EditAction::DeleteField, true},
        {130, "-", EditAction::None, false},
        {140, "Add a Click Square", EditAction::AddClickSquare, false},
        {150, "Add a Click Circle", EditAction::AddClickCircle, false},
        {170, "Add a Bitmap / Icon", EditAction::AddBitmap, false},
        {180, "-", EditAction::None, true},
        {menu::SetFontOnAllFields, "Set font on all text fields for this card",
         EditAction::SetFontOnAllFields, true},
        {200, "-", EditAction::None, true},
        {menu::Help, "Help", EditAction::None, true},
        {220, "-", EditAction::None, true},
        {menu::Done, "Done", EditAction::None, true},
        {500, "-", EditAction::None, false},
        {510, "Set Test Values", EditAction::None, false},
        {520, "Reset Values", EditAction::None, false},
    };
    return items;
}

EditAction EditActionOfMenuItem(int menuIndex) {
    for (const EditingMenuItem& item : EditingMenuItems())
        if (item.index == menuIndex)
            return item.offered ? item.editAction : EditAction::None;
    return EditAction::None;
}

EditingStep EditModeOfAction(EditAction editAction) {
    switch (editAction) {
    case EditAction::AddTextField:
        return EditingStep::AddingTextField;
    case EditAction::AddCheckBox:
        return EditingStep::AddingCheckBox;
    case EditAction::AddRectangle:
        return EditingStep::AddingRectangle;
    case EditAction::ClearArea:
        return EditingStep::ClearingArea;
    case EditAction::EditField:
        return EditingStep::EditingField;
    case EditAction::DeleteField:
        return EditingStep::DeletingField;
    case EditAction::AddHorizontalLine:
    case EditAction::AddVerticalLine:
        return EditingStep::AddingLine;
    case EditAction::SetFontOnAllFields:
        return EditingStep::SettingAllFonts;
    default:
        return EditingStep::FillingIn;
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
        {PanelButton::SaveChange, 150, 240, "Save Change"},
        {PanelButton::CancelAction, 1830, 240, "Cancel Action"},
        {PanelButton::Done, 3510, 240, "Done"},
        {PanelButton::Help, 3510, 510, "Help"},
        {PanelButton::RefreshScreen, 1830, 510, "Refresh Screen"},
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
