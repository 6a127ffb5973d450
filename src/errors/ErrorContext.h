#pragma once

#include <optional>
#include <string>

namespace cw {

// The program's state as an error record describes it, taken when the error dialog opens.
// A source that cannot tell a value leaves its default.
struct ErrorContextSnapshot {
    std::string ProgramFolder;
    std::string CurrentCardName;
    // Where the open card's page files are and their extension (".acb"), and whether its
    // format has a back page: the error report attaches both pages.
    std::string CardDir;
    std::string CardExt;
    bool FormatHasBackPage = false;
    // Display name of the current card format; absent when the current format index is out
    // of range or its slot is empty, and then the record has no "Card Format:" line.
    std::optional<std::string> FormatDisplayName;
    bool MainWindowLoaded = false;
    int CardPictureScaleMode = 0;
    float PWIDTH = 0;
    float PHEIGHT = 0;
    std::string BasicFont;
    std::string BasicFontSize;
    float ZoomFactor = 0;
};

// Implemented by the application, which owns the values above.
class ErrorContextSource {
public:
    virtual ~ErrorContextSource() = default;
    virtual ErrorContextSnapshot Snapshot() const = 0;
};

} // namespace cw
