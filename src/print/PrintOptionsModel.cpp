#include "PrintOptionsModel.h"

#include "AppContext.h"
#include "BasicNumbers.h"
#include "ErrorTrap.h"
#include "PrintLocations.h"
#include "ProgramTexts.h"
#include "Prompter.h"

#include <cmath>

namespace cw {

const char* PrintBoxCaption(int box) {
    static const char* const captions[PrintBoxCount] = {
        "Print Width", "Print Height", "Back Page Left Margin", "Front Page Left Margin",
        "Y Text Alignment"};
    return box >= 0 && box < PrintBoxCount ? captions[box] : "";
}

int32_t PrintFlagsOf(const PrintChoices& choices) {
    int32_t flags = printflag::SettingsPresent;
    if (choices.landscape)
        flags |= printflag::Landscape;
    switch (choices.side) {
    case PrintSide::Front:
        flags |= printflag::FrontSide;
        break;
    case PrintSide::Back:
        flags |= printflag::BackSide;
        break;
    case PrintSide::Both:
        flags |= printflag::BothSides;
        if (choices.oneSheet)
            flags |= printflag::OneSheet;
        break;
    }
    if (choices.blackOnly)
        flags |= printflag::BlackOnly;
    return flags;
}

PrintOptionsModel::PrintOptionsModel(AppContext& ctx) : ctx_(ctx) {
    const FormatCatalogue& catalogue = ctx.Format.Catalogue();
    const int16_t format = ctx.Format.Current();
    hasBackPage_ = catalogue.HasBackPage(format);
    orientationOffered_ = ctx.Format.Traits().paperTurn == PaperTurn::Chosen;
    formatLandscape_ = catalogue.Number(format, ColOrientation) != 2;

    choices_.blackOnly = false;
    if (hasBackPage_) {
        choices_.side = PrintSide::Both;
        instructions_ = GetProgramText(TextId::PrintHintBothSides) + "\n\n" +
                        GetProgramText(TextId::PrintHintOneSideAtATime) + "\n\n" +
                        GetProgramText(TextId::PrintHintSize) + "\n\n" +
                        GetProgramText(TextId::PrintHintBackPageMargin);
    } else {
        choices_.side = PrintSide::Front;
        instructions_ = GetProgramText(TextId::PrintHintSize);
    }

    // The paper starts the way the format is laid out; saved choices come back bit by bit.
    choices_.landscape = formatLandscape_;
    const FormatDefaults& d = ctx.Format.Defaults();
    const int32_t flags = d.PrintFlags;
    if (flags & printflag::SettingsPresent) {
        if (orientationOffered_)
            choices_.landscape = (flags & printflag::Landscape) != 0;
        if (flags & printflag::FrontSide)
            choices_.side = PrintSide::Front;
        if (flags & printflag::BackSide)
            choices_.side = PrintSide::Back;
        if (flags & printflag::BothSides)
            choices_.side = PrintSide::Both;
        choices_.blackOnly = (flags & printflag::BlackOnly) != 0;
        choices_.oneSheet = (flags & printflag::OneSheet) != 0;
    }
    // A one-page card has only its front, whatever settings it was given.
    if (!hasBackPage_)
        choices_.side = PrintSide::Front;
    if (choices_.side != PrintSide::Both)
        choices_.oneSheet = false;

    defaults_[BoxPrintWidth] = catalogue.Number(format, ColPrintWidth);
    defaults_[BoxPrintHeight] = catalogue.Number(format, ColPrintHeight);
    defaults_[BoxBackMargin] = catalogue.Number(format, ColBackMargin);
    defaults_[BoxFrontMargin] = catalogue.Number(format, ColFrontMargin);
    defaults_[BoxTextAlign] = catalogue.Number(format, ColTextAlign);
    if (orientationOffered_) {
        ApplyOrientationDefaults();
    } else {
        choices_.boxes[BoxPrintWidth] = d.PrintWidthSetting;
        choices_.boxes[BoxPrintHeight] = d.PrintHeightSetting;
    }
    choices_.boxes[BoxBackMargin] = d.BackMarginSetting;
    choices_.boxes[BoxFrontMargin] = d.FrontMarginSetting;
    choices_.boxes[BoxTextAlign] = d.TextAlignSetting;
}

std::string PrintOptionsModel::DefaultLabel(int box) const {
    return "Default = " + FormatNumber(defaults_[size_t(box)]);
}

void PrintOptionsModel::SelectOrientation(bool landscape) {
    if (!orientationOffered_)
        return;
    choices_.landscape = landscape;
    ApplyOrientationDefaults();
}

void PrintOptionsModel::ApplyOrientationDefaults() {
    // The sizes come from the format's own print width and height (columns 21 and 22), made
    // for the paper turned the way the format is laid out. A width of 0 lets the width follow
    // the height, so the card keeps its proportions.
    const FormatCatalogue& catalogue = ctx_.Format.Catalogue();
    const double width = catalogue.Number(ctx_.Format.Current(), ColPrintWidth);
    const double height = catalogue.Number(ctx_.Format.Current(), ColPrintHeight);
    const FormatDefaults& d = ctx_.Format.Defaults();
    const int32_t flags = d.PrintFlags;
    const bool savedTurned = (flags & printflag::SettingsPresent) &&
                             ((flags & printflag::Landscape) != 0) != formatLandscape_;
    const bool ownSelected = choices_.landscape == formatLandscape_;

    double labelWidth = width, labelHeight = height;
    double boxWidth = d.PrintWidthSetting, boxHeight = d.PrintHeightSetting;
    if (!savedTurned && ownSelected) {
        boxWidth = width;
        boxHeight = height;
    } else if (savedTurned && ownSelected) {
        labelWidth = boxWidth = 0;
        labelHeight = boxHeight = height;
    }
    defaults_[BoxPrintWidth] = labelWidth;
    defaults_[BoxPrintHeight] = labelHeight;
    choices_.boxes[BoxPrintWidth] = boxWidth;
    choices_.boxes[BoxPrintHeight] = boxHeight;
}

std::optional<std::string> PrintOptionsModel::Problem() const {
    for (int box = 0; box < PrintBoxCount; ++box) {
        const double value = std::round(choices_.boxes[size_t(box)]);
        if (!std::isfinite(value) || std::fabs(value) > 32767)
            return std::string(PrintBoxCaption(box)) + " must be a number from -32767 to 32767.";
    }
    // The printed size is the default size times default / (2 x default - entered): an entry
    // of twice the default or more has no size at all.
    for (int box : {BoxPrintWidth, BoxPrintHeight}) {
        const double value = std::round(choices_.boxes[size_t(box)]);
        const double largest = 2 * std::round(defaults_[size_t(box)]) - 1;
        if (value < 0 || (defaults_[size_t(box)] > 0 && value > largest))
            return std::string(PrintBoxCaption(box)) + " must be a number from 0 to " +
                   FormatNumber(std::max(largest, 0.0)) + " (millimetres; the default is " +
                   FormatNumber(defaults_[size_t(box)]) + ").";
    }
    return std::nullopt;
}

bool PrintOptionsModel::SavePrintSettings() {
    if (Problem())
        return false;
    BusyScope busy(ctx_.prompter);
    bool saved = false;
    ctx_.errorTrap.Guard(loc::SavePrintSettings, [&] {
        FormatDefaults& d = ctx_.Format.EditDefaults();
        d.PrintFlags = PrintFlagsOf(choices_);
        d.PrintWidthSetting = ToInt16(choices_.boxes[BoxPrintWidth]);
        d.PrintHeightSetting = ToInt16(choices_.boxes[BoxPrintHeight]);
        d.BackMarginSetting = ToInt16(choices_.boxes[BoxBackMargin]);
        d.FrontMarginSetting = ToInt16(choices_.boxes[BoxFrontMargin]);
        d.TextAlignSetting = ToInt16(choices_.boxes[BoxTextAlign]);
        saved = ctx_.ApplyFormatDefaults(true);
    });
    return saved;
}

} // namespace cw
