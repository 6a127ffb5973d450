#pragma once

#include "FormatDefaults.h"

#include <array>
#include <cstdint>
#include <string>

namespace cw {

class AppContext;

// The per-format defaults that every card of a format starts from, as the card options
// window edits them: the font and colour of the USER INPUT fields, the colour the PRINTED
// BASE TEXT is printed in (front and back page), and how ticked check boxes look. The values
// are read from the format's defaults file and written back there only on "Save Changes";
// the open card and the main window's settings are not touched meanwhile.
class CardOptions {
public:
    // The swatch colours 0 to 4 of both groups: black, red, cyan, blue, green.
    static constexpr std::array<int32_t, 5> SwatchColours = {0, 255, 16776960, 16711680, 65280};
    enum class Side { Front, Back };

    explicit CardOptions(AppContext& context);

    // Starts on slot; false (after the error trap) when its defaults cannot be read.
    bool Start(int16_t slot);

    // A click on another format in the list: AskSaveOptions first; on Cancel the format being
    // edited stays, with its changes, and false is returned.
    bool SelectFormat(int16_t slot);

    // When changes are pending: "Do you want to save the changes to <format>?" with Yes, No
    // and Cancel; Yes saves. Returns true when the user cancelled (or saving failed).
    bool AskSaveOptions();
    // "Save Changes": writes the format's defaults file. False (after the error trap) on
    // failure; the changes are then still pending.
    bool Save();
    // "Done": AskSaveOptions; true when the window may close.
    bool Done();

    int16_t EditedFormat() const { return slot_; }
    bool HasBackPage() const;
    bool Changed() const { return changed_; }

    // The values on show. The USER INPUT font and colour apply to the card fields of both
    // pages; the front page's are shown.
    const std::string& BasicFont() const { return values_.BasicFont; }
    float BasicFontSize() const { return values_.BasicFontSize; }
    bool BasicFontBold() const { return values_.BasicFontBold; }
    bool BasicFontItalic() const { return values_.BasicFontItalic; }
    int32_t BaseTextColour() const { return values_.BaseTextColour; }
    int32_t PrintColour(Side side) const;
    int32_t CheckBoxStyle() const { return values_.CheckBoxStyle; }

    void SetBaseTextColour(int32_t colour);
    void SetPrintColour(Side side, int32_t colour);
    void SetCheckBoxStyle(int32_t style);
    // The font dialog's answer: when any of the four differs, all four are taken and the
    // window is marked changed. Returns whether anything changed.
    bool SetFont(const std::string& name, float size, bool bold, bool italic);

    // "Arial, 10" + line break + "Bold = False, Italic = True".
    std::string FontDescription() const;

private:
    bool Load(int16_t slot);

    AppContext& context_;
    int16_t slot_ = -1;
    FormatDefaults values_;
    bool changed_ = false;
    bool fontChanged_ = false;
    bool colourChanged_ = false;
};

} // namespace cw
