#include "CardOptions.h"

#include "AppContext.h"
#include "BasicNumbers.h"
#include "ErrorTrap.h"
#include "OptionsLocations.h"
#include "ProgramTexts.h"
#include "Prompter.h"

namespace cw {

namespace {

RecordItem Number(double value) {
    return {FormatNumber(value), false};
}

} // namespace

CardOptions::CardOptions(AppContext& context) : context_(context) {}

bool CardOptions::Start(int16_t slot) {
    return Load(slot);
}

bool CardOptions::Load(int16_t slot) {
    FormatDefaults loaded;
    bool ok = context_.errorTrap.Guard(
        loc::ShowFormatDefaults,
        [&] {
            // The card fields of the front page: their font block is the one on show.
            context_.Format.DefaultsFile().Load(context_.Format.Catalogue(), slot, loaded, false,
                                                false);
        },
        [&] { return std::vector<ErrValue>{int(slot)}; });
    if (!ok)
        return false;
    slot_ = slot;
    values_ = std::move(loaded);
    changed_ = fontChanged_ = colourChanged_ = false;
    return true;
}

bool CardOptions::SelectFormat(int16_t slot) {
    if (slot == slot_)
        return true;
    if (AskSaveOptions())
        return false;
    return Load(slot);
}

bool CardOptions::HasBackPage() const {
    return context_.Format.Catalogue().IsValidSlot(slot_) &&
           context_.Format.Catalogue().HasBackPage(slot_);
}

int32_t CardOptions::PrintColour(Side side) const {
    return side == Side::Front ? values_.BaseTextPrintColourFront : values_.BaseTextPrintColourBack;
}

void CardOptions::SetBaseTextColour(int32_t colour) {
    values_.BaseTextColour = colour;
    changed_ = colourChanged_ = true;
}

void CardOptions::SetPrintColour(Side side, int32_t colour) {
    (side == Side::Front ? values_.BaseTextPrintColourFront : values_.BaseTextPrintColourBack) =
        colour;
    changed_ = true;
}

void CardOptions::SetCheckBoxStyle(int32_t style) {
    values_.CheckBoxStyle = style;
    changed_ = true;
}

bool CardOptions::SetFont(const std::string& name, float size, bool bold, bool italic) {
    if (name == values_.BasicFont && size == values_.BasicFontSize &&
        bold == values_.BasicFontBold && italic == values_.BasicFontItalic)
        return false;
    values_.BasicFont = name;
    values_.BasicFontSize = size;
    values_.BasicFontBold = bold;
    values_.BasicFontItalic = italic;
    changed_ = fontChanged_ = true;
    return true;
}

std::string CardOptions::FontDescription() const {
    auto truth = [](bool value) {
        return GetProgramText(value ? TextId::WordTrue : TextId::WordFalse);
    };
    return values_.BasicFont + ", " + FormatSingle(values_.BasicFontSize) + "\n" +
           GetProgramText(TextId::WordBold) + " = " + truth(values_.BasicFontBold) + ", " +
           GetProgramText(TextId::WordItalic) + " = " + truth(values_.BasicFontItalic);
}

bool CardOptions::Save() {
    bool ok = context_.errorTrap.Guard(
        loc::SaveCardOptions,
        [&] {
            FormatDefaults saved = values_;
            auto& v = saved.DefaultsValues;
            v[0] = Number(values_.CheckBoxStyle);
            v[8] = Number(values_.BaseTextPrintColourFront);
            v[9] = Number(values_.BaseTextPrintColourBack);
            // The USER INPUT font and colour are the format's for its cards' own text on
            // either page; the blocks of the printed base text keep theirs. Only what was
            // changed is written, so a back page with a font of its own keeps it otherwise.
            for (bool back : {false, true}) {
                if (back && !HasBackPage())
                    break;
                size_t block = size_t(FormatDefaults::FontBlockStart(back, false));
                if (colourChanged_)
                    v[block] = Number(values_.BaseTextColour);
                if (fontChanged_) {
                    v[block + 1] = Number(values_.BasicFontSize);
                    v[block + 2] = {values_.BasicFont, true};
                    v[block + 3] = Number(values_.BasicFontBold ? -1 : 0);
                    v[block + 4] = Number(values_.BasicFontItalic ? -1 : 0);
                }
            }
            context_.Format.DefaultsFile().Save(context_.Format.Catalogue(), slot_, saved, false,
                                                false);
            values_ = std::move(saved);
        },
        [&] { return std::vector<ErrValue>{int(slot_)}; });
    if (ok)
        changed_ = fontChanged_ = colourChanged_ = false;
    return ok;
}

bool CardOptions::AskSaveOptions() {
    if (!changed_)
        return false;
    Answer answer = context_.prompter.Message(
        "Do you want to save the changes to " +
            context_.Format.Catalogue().Column(slot_, ColDisplayName) + "?",
        GetProgramText(TextId::ProgramName), Buttons::YesNoCancel, Icon::Question);
    if (answer == Answer::Cancel)
        return true;
    if (answer == Answer::Yes)
        return !Save();
    return false;
}

bool CardOptions::Done() {
    if (AskSaveOptions())
        return false;
    changed_ = fontChanged_ = colourChanged_ = false;
    return true;
}

} // namespace cw
