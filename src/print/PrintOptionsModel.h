#pragma once

#include "PrintSettings.h"

#include <array>
#include <optional>
#include <string>

namespace cw {

class AppContext;

// What the print options offer for the current card format, and the user's choices in them:
// the sides, black only, the paper orientation (for the formats printed either way round),
// the five boxes with their defaults, and the instructions. A window shows it; a command
// takes the saved choices from it as they are.
class PrintOptionsModel {
public:
    // The options of the current format of ctx, starting from its saved print settings.
    explicit PrintOptionsModel(AppContext& ctx);

    // Two-page formats offer all three sides and the back page's margin.
    bool HasBackPage() const { return hasBackPage_; }
    // The formats whose card is printed either way round offer the paper orientation.
    bool OrientationOffered() const { return orientationOffered_; }
    // The paper orientation the format is laid out for.
    bool FormatLandscape() const { return formatLandscape_; }
    const std::string& Instructions() const { return instructions_; }

    // The default of a box, and its label ("Default = 216").
    double DefaultValue(int box) const { return defaults_[size_t(box)]; }
    std::string DefaultLabel(int box) const;

    PrintChoices& Choices() { return choices_; }
    const PrintChoices& Choices() const { return choices_; }

    // ApplyOrientationDefaults: selects the paper orientation and shows the print size (and
    // its defaults) that go with it, by what the settings were saved with.
    void SelectOrientation(bool landscape);

    // Why the choices cannot be printed, as a message for the user; nullopt when they can.
    std::optional<std::string> Problem() const;

    // SavePrintSettings: the choices become the format's saved print settings (written to the
    // format's defaults file). False when the file could not be written.
    bool SavePrintSettings();

private:
    void ApplyOrientationDefaults();

    AppContext& ctx_;
    bool hasBackPage_ = false;
    bool orientationOffered_ = false;
    bool formatLandscape_ = false;
    std::string instructions_;
    std::array<double, PrintBoxCount> defaults_{};
    PrintChoices choices_;
};

} // namespace cw
