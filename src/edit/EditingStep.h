#pragma once

namespace cw {

// The layout actions. The numbers are those the error log records for an action (its
// diagnostic value), so they stay as they are.
enum class EditAction : int {
    None = -1,
    AddTextField = 0,
    AddCheckBox = 1,
    AddRectangle = 2,
    AddClickCircle = 3, // never offered
    AddClickSquare = 4, // never offered
    ClearArea = 5,
    EditField = 6,
    DeleteField = 7,
    AddHorizontalLine = 8,
    AddVerticalLine = 9,
    EditMultipleFields = 10, // never offered
    AddBitmap = 11,          // never offered
    SetFontOnAllFields = 12,
    RefreshScreen = 18,
    Commit = 20,
    Cancel = 21,
};

// What the card picture waits for: filling in, or the step of a layout action in force.
enum class EditingStep : int {
    FillingIn = 0,
    ClearingArea = 1,
    AddingTextField = 2,
    AddingCheckBox = 3,
    AddingRectangle = 6,
    DeletingField = 11,
    AddingLine = 12,
    EditingField = 13,
    SettingAllFonts = 19,
};

} // namespace cw
