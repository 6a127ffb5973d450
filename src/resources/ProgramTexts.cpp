#include "ProgramTexts.h"

#include "RuntimeError.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cw {

namespace {

struct ProgramText {
    int number;
    std::string_view text;
};

// Sorted by number, so that a lookup is a binary search.
constexpr ProgramText kTexts[] = {
    // Window title and messages of the card library and the main window.
    {9, "Version "},
    {10, "File name can not be blank."},
    {11, "You can not copy a file to itself."},
    {12, "Do you want to save changes to "},
    {13, "You already have a card named "},
    {14, ".  Do you want to replace it?"},
    {15, "You have exceeded the maximum number of "},
    {16, " entries allowed."},
    {18, "No cards available."},
    {20, "No card is opened."},
    {21, "File saved as "},
    {24, "Cardwright"},
    {25, "Deleting card "},
    {26, "Are you sure you want to delete this card?"},
    {27, "Select a card to open."},
    {28, "Insert diskette and press OK."},
    {29, "There are no card files on this diskette."},
    {30, " Select a color"},
    {32, "Please do not exceed 8 characters in the file name."},
    {35, "Error parsing text field: "},
    {36, "RIGHT CLICK FOR EDIT OPTIONS"},
    {37, " card loaded."},
    {38, "Restore Defaults"},
    {40, "This operation will remove one or more existing fields."},
    {41, "Do you want to proceed with this operation anyway?"},
    {45, "All text fields on the "},
    {46, " have been set to the "},
    {48, "selected font."},
    {62, "copy"},
    {63, "delete"},
    {64, "Select file to "},
    {67, "Editing Card: "},
    {68, "Copying card "},
    {69, "Enter name for new card."},
    {70, " card loaded."},
    // Words of the options window.
    {71, "True"},
    {72, "False"},
    {73, "Bold"},
    {74, "Italic"},
    // Print dialog instructions.
    {75, "If your printer can print on both sides of the paper, select 'Both Sides'."},
    {76, "If your printer can not print on both sides of the paper, print 'Front Side', then "
         "turn the paper over and print 'Back Side'."},
    {77, "Change the 'Print Width' and 'Print Height' values to change the size of the printed "
         "card."},
    {78, "Change the 'Back Page Margin' to change the offset form the left edge for the back "
         "page."},
    {85, "View / Edit Convention Card"},
    {86, "Save Changes"},
    // Run-time component names of the error log's header; 105 and 108 end in blanks.
    {100, "COMDLG32.OCX"},
    {101, "COMDLG32.DLL"},
    {102, "OLEPRO32.DLL"},
    {103, "OLEAUT32.DLL"},
    {104, "ASYCFILT.DLL"},
    {105, "COMCAT.DLL  "},
    {106, "MSVBVM60.DLL"},
    {107, "MSVCRT40.DLL"},
    {108, "STDOLE2.TLB "},
    {109, "MSMAPI32.OCX"},
    // Pieces of the layout-editing instructions.
    {150, "Make desired changes to: "},
    {151, "Press 'Save Changes' or 'Cancel Action'."},
    {152, "color"},
    {153, "width"},
    {154, "border width"},
    {155, "font characteristics"},
    {156, "size"},
    {157, " and "},
    {158, "Select the "},
    {159, "Fine tune the size with the 'Change Size' arrows"},
    {160, "Fine tune the location with the 'Move Field' arrows"},
    {161, "Using the left mouse button, enscribe the area "},
    {162, "Click the 'Set Fonts' button to change the font on all text fields on this card."},
    {163, "Click 'Restore Defaults' to restore the default font on all text fields on this card."},
    {164, "Drag and drop the "},
    {165, "in the approximate location."},
    {168, "Click on the field to be "},
    {169, "edited."},
    {170, "deleted."},
    {171, "location"},
    {172, "where the field should go"},
    {173, "Enter the text.  "},
    {174, " approximately "},
    {175, " card symbol "},
    {177, " check box "},
    {179, "Using the left mouse button, draw the line."},
    {181, "Make text changes in the text box (above)."},
    {182, "Click where you want the circle."},
    {183, "Click on each TEXT field that you want to edit."},
    {184, "Click where you want the square."},
    {185, "In what position do you want the new field when tabbing?"},
    {186, "Click on the text field that you want the new field to follow."},
    {187, "Click where you want the Bitmap/Icon."},
    {188, "Find the bitmap/icon file."},
    {189, " picture "},
    {190, "Select Action by clicking the appropriate button."},
    // Captions of buttons, frames and labels.
    {400, "Select Card to Load:"},
    {401, "Cancel"},
    {402, "OK"},
    {403, "Done"},
    {404, "Save Settings"},
    {409, "Printing Options"},
    {410, "Create a New Card"},
    {411, "Edit Names and Player Numbers"},
    {412, "Save Card as (JPG, GIF, BMP)"},
    {413, "Delete a Card"},
    {416, "Exit"},
    {422, "Front Side"},
    {423, "Both Sides"},
    {426, "Back Side"},
    {430, "File name for this card:"},
    {431, "Names - (as they appear on my card):"},
    {432, "My Player Number / NCBO:"},
    {433, "Names - (as they appear on partner's card):"},
    {434, "Partner's Player Number / NCBO:"},
    {435, "Names and Player Numbers"},
    // Options window captions.
    {448, "This will change the color of the Basic Text when printing."},
    {449, "Select color for PRINTED BASE TEXT"},
    {451, "Select card to change"},
    {452, "Font Color"},
    {453, "Font Selection for USER INPUT fields (Style, size, bold, italic, color)"},
    {454, "Check Box Style"},
    {455, "Change card specific defaults"},
    {457, "Changing these settings will change the default values for the user input fields on "
          "the card."},
    {458, "Changing individual fields on specific cards will override these settings."},
    {459, "Change system defaults"},
    {460, "Edit Options"},
    {492, "Set Font"},
    {496, "Color"},
    // Menu captions of the main window.
    {559, "Print My Card"},
    {560, "&File"},
    {562, "Print Partner's Card"},
    {565, "Copy Card to Diskette"},
    {566, "Copy Cards from Diskette"},
    {567, "Exit"},
    {568, "&Options"},
    {577, "&Help"},
    {578, "Help on Cardwright"},
    {579, "About Cardwright"},
    {580, "Select Default Card Format"},
};

constexpr bool IsSortedByNumber() {
    for (size_t i = 1; i < std::size(kTexts); ++i)
        if (kTexts[i - 1].number >= kTexts[i].number)
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

const std::string& GetProgramText(int number) {
    auto end = std::end(kTexts);
    auto found = std::lower_bound(std::begin(kTexts), end, number,
                                  [](const ProgramText& t, int n) { return t.number < n; });
    if (found == end || found->number != number)
        throw RuntimeError(RuntimeError::InvalidCall, "Invalid procedure call or argument");
    return TextStrings()[static_cast<size_t>(found - std::begin(kTexts))];
}

} // namespace cw
