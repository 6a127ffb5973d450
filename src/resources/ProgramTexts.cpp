#include "ProgramTexts.h"

#include "RuntimeError.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cw {

namespace {

struct ProgramText {
    TextId id;
    std::string_view text;
};

// Sorted by number, so that a lookup is a binary search.
constexpr ProgramText kTexts[] = {
    // Window title and messages of the card library and the main window.
    {TextId::VersionPrefix, "Version "},
    {TextId::FileNameBlank, "File name can not be blank."},
    {TextId::CopyFileToItself, "You can not copy a file to itself."},
    {TextId::AskSaveChangesTo, "Do you want to save changes to "},
    {TextId::CardAlreadyNamed, "You already have a card named "},
    {TextId::AskReplaceIt, ".  Do you want to replace it?"},
    {TextId::ExceededMaximumOf, "You have exceeded the maximum number of "},
    {TextId::EntriesAllowed, " entries allowed."},
    {TextId::NoCardsAvailable, "No cards available."},
    {TextId::NoCardOpened, "No card is opened."},
    {TextId::FileSavedAs, "File saved as "},
    {TextId::ProgramName, "Cardwright"},
    {TextId::DeletingCard, "Deleting card "},
    {TextId::AskDeleteCard, "Are you sure you want to delete this card?"},
    {TextId::SelectCardToOpen, "Select a card to open."},
    {TextId::InsertDiskette, "Insert diskette and press OK."},
    {TextId::NoCardFilesOnDiskette, "There are no card files on this diskette."},
    {TextId::SelectColour, " Select a color"},
    {TextId::NameOverEightCharacters, "Please do not exceed 8 characters in the file name."},
    {TextId::ErrorParsingTextField, "Error parsing text field: "},
    {TextId::RightClickForEditOptions, "RIGHT CLICK FOR EDIT OPTIONS"},
    {TextId::CardLoaded, " card loaded."},
    {TextId::RestoreDefaults, "Restore Defaults"},
    {TextId::OperationRemovesFields, "This operation will remove one or more existing fields."},
    {TextId::AskProceedAnyway, "Do you want to proceed with this operation anyway?"},
    {TextId::AllTextFieldsOnThe, "All text fields on the "},
    {TextId::HaveBeenSetToThe, " have been set to the "},
    {TextId::SelectedFont, "selected font."},
    {TextId::CopyVerb, "copy"},
    {TextId::DeleteVerb, "delete"},
    {TextId::SelectFileTo, "Select file to "},
    {TextId::EditingCard, "Editing Card: "},
    {TextId::CopyingCard, "Copying card "},
    {TextId::EnterNewCardName, "Enter name for new card."},
    {TextId::CardLoadedStatus, " card loaded."},
    // Words of the options window.
    {TextId::WordTrue, "True"},
    {TextId::WordFalse, "False"},
    {TextId::WordBold, "Bold"},
    {TextId::WordItalic, "Italic"},
    // Print dialog instructions.
    {TextId::PrintHintBothSides,
     "If your printer can print on both sides of the paper, select 'Both Sides'."},
    {TextId::PrintHintOneSideAtATime,
     "If your printer can not print on both sides of the paper, print 'Front Side', then "
     "turn the paper over and print 'Back Side'."},
    {TextId::PrintHintSize,
     "Change the 'Print Width' and 'Print Height' values to change the size of the printed "
     "card."},
    {TextId::PrintHintBackPageMargin,
     "Change the 'Back Page Margin' to change the offset from the left edge for the back "
     "page."},
    {TextId::ViewEditCard, "View / Edit Convention Card"},
    {TextId::SaveChanges, "Save Changes"},
    // Run-time component names of the error log's header; 105 and 108 end in blanks.
    {TextId::ComponentComdlg32Ocx, "COMDLG32.OCX"},
    {TextId::ComponentComdlg32Dll, "COMDLG32.DLL"},
    {TextId::ComponentOlepro32Dll, "OLEPRO32.DLL"},
    {TextId::ComponentOleaut32Dll, "OLEAUT32.DLL"},
    {TextId::ComponentAsycfiltDll, "ASYCFILT.DLL"},
    {TextId::ComponentComcatDll, "COMCAT.DLL  "},
    {TextId::ComponentMsvbvm60Dll, "MSVBVM60.DLL"},
    {TextId::ComponentMsvcrt40Dll, "MSVCRT40.DLL"},
    {TextId::ComponentStdole2Tlb, "STDOLE2.TLB "},
    {TextId::ComponentMsmapi32Ocx, "MSMAPI32.OCX"},
    // Pieces of the layout-editing instructions.
    {TextId::MakeDesiredChangesTo, "Make desired changes to: "},
    {TextId::PressSaveOrCancel, "Press 'Save Change' or 'Cancel Action'."},
    {TextId::WordColour, "color"},
    {TextId::WordWidth, "width"},
    {TextId::WordBorderWidth, "border width"},
    {TextId::WordFontCharacteristics, "font characteristics"},
    {TextId::WordSize, "size"},
    {TextId::WordAnd, " and "},
    {TextId::SelectThe, "Select the "},
    {TextId::FineTuneSize, "Fine tune the size with the 'Change Size' arrows"},
    {TextId::FineTuneLocation, "Fine tune the location with the 'Move Field' arrows"},
    {TextId::DrawTheAreaWithMouse, "Using the left mouse button, draw the area "},
    {TextId::ClickSetFonts,
     "Click the 'Set Fonts' button to change the font on all text fields on this card."},
    {TextId::ClickRestoreDefaults,
     "Click 'Restore Defaults' to restore the default font on all text fields on this card."},
    {TextId::DragAndDropThe, "Drag and drop the "},
    {TextId::InTheApproximateLocation, "in the approximate location."},
    {TextId::ClickOnFieldToBe, "Click on the field to be "},
    {TextId::WordEdited, "edited."},
    {TextId::WordDeleted, "deleted."},
    {TextId::WordLocation, "location"},
    {TextId::WhereFieldShouldGo, "where the field should go"},
    {TextId::EnterTheText, "Enter the text.  "},
    {TextId::WordApproximately, " approximately "},
    {TextId::WordCardSymbol, " card symbol "},
    {TextId::WordCheckBox, " check box "},
    {TextId::DrawTheLineWithMouse, "Using the left mouse button, draw the line."},
    {TextId::MakeTextChangesAbove, "Make text changes in the text box (above)."},
    {TextId::ClickWhereCircle, "Click where you want the circle."},
    {TextId::ClickEachTextFieldToEdit, "Click on each TEXT field that you want to edit."},
    {TextId::ClickWhereSquare, "Click where you want the square."},
    {TextId::AskTabPosition, "In what position do you want the new field when tabbing?"},
    {TextId::ClickFieldToFollow, "Click on the text field that you want the new field to follow."},
    {TextId::ClickWhereBitmap, "Click where you want the Bitmap/Icon."},
    {TextId::FindBitmapFile, "Find the bitmap/icon file."},
    {TextId::WordPicture, " picture "},
    {TextId::SelectAction, "Select Action by clicking the appropriate button."},
    // Captions of buttons, frames and labels.
    {TextId::SelectCardToLoad, "Select Card to Load:"},
    {TextId::Cancel, "Cancel"},
    {TextId::Ok, "OK"},
    {TextId::Done, "Done"},
    {TextId::SaveSettings, "Save Settings"},
    {TextId::PrintingOptions, "Printing Options"},
    {TextId::CreateNewCard, "Create a New Card"},
    {TextId::EditNamesAndNumbers, "Edit Names and Player Numbers"},
    {TextId::SaveCardAsPicture, "Save Card as Picture or PDF..."},
    {TextId::DeleteCard, "Delete a Card"},
    {TextId::ExitButton, "Exit"},
    {TextId::FrontSide, "Front Side"},
    {TextId::BothSides, "Both Sides"},
    {TextId::BackSide, "Back Side"},
    {TextId::FileNameForCard, "File name for this card:"},
    {TextId::NamesOnMyCard, "Names - (as they appear on my card):"},
    {TextId::MyPlayerNumber, "My Player Number / NCBO:"},
    {TextId::NamesOnPartnersCard, "Names - (as they appear on partner's card):"},
    {TextId::PartnersPlayerNumber, "Partner's Player Number / NCBO:"},
    {TextId::NamesAndPlayerNumbers, "Names and Player Numbers"},
    // Options window captions.
    {TextId::BaseTextColourExplanation,
     "This will change the color of the Basic Text when printing."},
    {TextId::SelectBaseTextColour, "Select color for PRINTED BASE TEXT"},
    {TextId::SelectCardToChange, "Select card to change"},
    {TextId::FontColour, "Font Color"},
    {TextId::UserInputFontSelection,
     "Font Selection for USER INPUT fields (Style, size, bold, italic, color)"},
    {TextId::CheckBoxStyle, "Check Box Style"},
    {TextId::CardSpecificDefaults, "Change card specific defaults"},
    {TextId::DefaultsChangeExplanation,
     "Changing these settings will change the default values for the user input fields on "
     "the card."},
    {TextId::FieldsOverrideDefaults,
     "Changing individual fields on specific cards will override these settings."},
    {TextId::SystemDefaults, "Change system defaults"},
    {TextId::EditOptions, "Edit Options"},
    {TextId::SetFont, "Set Font"},
    {TextId::ColourCaption, "Color"},
    // Menu captions of the main window.
    {TextId::PrintMyCard, "Print My Card"},
    {TextId::FileMenu, "&File"},
    {TextId::PrintPartnersCard, "Print Partner's Card"},
    {TextId::CopyCardToDiskette, "Copy a Card to a Folder..."},
    {TextId::CopyCardsFromDiskette, "Copy Cards from a Folder..."},
    {TextId::ExitMenuItem, "Exit"},
    {TextId::OptionsMenu, "&Options"},
    {TextId::HelpMenu, "&Help"},
    {TextId::HelpOnCardwright, "Help on Cardwright"},
    {TextId::AboutCardwright, "About Cardwright"},
    {TextId::SelectDefaultFormat, "Select Default Card Format"},
};

constexpr bool IsSortedByNumber() {
    for (size_t i = 1; i < std::size(kTexts); ++i)
        if (kTexts[i - 1].id >= kTexts[i].id)
            return false;
    return true;
}
static_assert(IsSortedByNumber(), "program texts must be sorted by number without duplicates");

// The texts as strings, built once, so that callers can hold references to them.
const std::array<std::string, std::size(kTexts)>& TextStrings() {
    static const auto strings = [] {
        std::array<std::string, std::size(kTexts)> built;
        for (size_t i = 0; i < std::size(kTexts); ++i)
            built[i] = std::string(kTexts[i].text);
        return built;
    }();
    return strings;
}

} // namespace

const std::string& GetProgramTextByNumber(int number) {
    const auto id = static_cast<TextId>(number);
    auto end = std::end(kTexts);
    auto found =
        std::lower_bound(std::begin(kTexts), end, id,
                         [](const ProgramText& t, TextId wanted) { return t.id < wanted; });
    if (found == end || found->id != id)
        throw RuntimeError(RuntimeError::InvalidCall, "Invalid procedure call or argument");
    return TextStrings()[static_cast<size_t>(found - std::begin(kTexts))];
}

const std::string& GetProgramText(TextId id) {
    return GetProgramTextByNumber(static_cast<int>(id));
}

} // namespace cw
