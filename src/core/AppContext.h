#pragma once

#include "CardArchive.h"
#include "CardFile.h"
#include "CardFormatView.h"
#include "CardPage.h"
#include "ErrorContext.h"
#include "FileOps.h"
#include "FormatState.h"
#include "OpenCard.h"
#include "Paths.h"
#include "RenderRequest.h"
#include "SystemSettings.h"
#include "ViewState.h"

#include <cstdint>
#include <set>
#include <string>

namespace cw {

class ErrorTrap;
class Prompter;

inline constexpr const char* kAppVersion = "6.3.19";

// The state of one run of the program, with clear owners: settings, the formats, the view,
// the open card. Windows and commands reach it through one reference; tests build a fresh one
// on a temporary data root.
class AppContext : public ErrorContextSource {
public:
    AppContext(const fs::path& root, Prompter& prompter, ErrorTrap& errorTrap,
               FileSystem& fileSystem = FileSystem::Default());

    Prompter& prompter;
    ErrorTrap& errorTrap;
    FileSystem& fileSystem;

    Paths paths;
    std::string AppVersion = kAppVersion;
    int16_t TwipsPerPixel = 15;

    SystemSettings Settings;
    FormatState Format{paths, fileSystem};
    ViewState View;

    OpenCard Card;
    bool MainWindowLoaded = false;
    // Set for the command-line tools: the data root's files are read, never created, changed
    // or deleted (its settings, the formats' defaults, a card's missing back page, notices).
    bool OnlyReadsDataRoot = false;
    // The data root cannot be written (the user was told at start-up): files the program
    // would make by itself (a format's defaults) are not attempted.
    bool RootReadOnly = false;
    // Scale mode of the card picture (0: user scale in card twips).
    int CardPictureScaleMode = 0;

    ErrorContextSnapshot Snapshot() const override;

    // Procedures: each traps its own errors and returns whether it finished.
    bool ReadSystemSettings();
    bool SaveSystemSettings();
    bool PatchDefaultFormat();
    // Makes slot current (the last format when slot is past the end) and sets up view,
    // defaults, card folder and the window through view.
    bool SetupCardFormat(int16_t& slot, CardFormatView& view);
    bool LoadFormatDefaults();
    // save false: distributes the defaults; save true: writes the settings back to the file.
    bool ApplyFormatDefaults(bool save);
    // Scale and zoomed size of the card.
    void SetUpViewScale();
    bool LoadCard();
    bool SaveCard();
    // The bytes of the open page's file when another program has changed it since it was
    // opened or last saved here; nullopt when it is as this program left it (or unreadable,
    // which the save reports).
    std::optional<std::string> PageChangedOnDisk() const {
        return HasFormat() ? Card.FileChangedSinceSeen() : std::nullopt;
    }

    // Tells the user text (a warning) unless the same key has been reported in this run: a
    // file that stays unreadable is drawn again and again, and said once.
    void ReportOnce(const std::string& key, const std::string& text);
    // True the first time key is asked about in this run.
    bool FirstReport(const std::string& key) { return reported_.insert(key).second; }

    SystemSettingsFile SettingsFile() const;
    bool HasFormat() const { return Format.HasFormat(); }
    // The printed base layer of a side of the current format for the open page (its
    // alternative layer when the page asks for it). Read once and again only when its file
    // changes; a file that cannot be read is reported and gives a layer without records.
    BaseLayer BaseLayerOf(bool backSide, bool useAlternative);
    // A drawing of page on a side of the current format, for target, at the view's zoom.
    RenderRequest RequestFor(const CardPage& page, bool backSide, RenderTarget target);
    // The same for the open page on the shown side.
    RenderRequest RequestForOpenPage(RenderTarget target) {
        return RequestFor(Card.Page(), Card.BackSide(), target);
    }

    // Earlier versions of the card pages: every save keeps the page it replaces.
    CardArchive Archive;
    // While held (a session of layout editing, whose every committed change is saved), only
    // the first save of a page keeps the page it replaces: the session is one version.
    void HoldHistory(bool hold);
    // The history's folder of the open card's format, and the open card's name there.
    std::string ArchiveFormat() const;
    std::string ArchiveCard() const;
    // Keeps what page held before a save replaced it. A history that cannot be written is
    // reported once (until it works again) and never stops the save.
    void KeepReplacedPage(const fs::path& page, const std::string& replaced);

private:
    // Writes the open page to a file that has gone, from the format's blank page.
    void SaveCardAnew();
    void ReportRebuiltDefaults(const DefaultsRebuilt& rebuilt);
    void ReportIncompleteCard(const LoadReport& report);
    // Why a page that was read incompletely is refused, naming the file and what was not read.
    std::string IncompleteCardProblem(const LoadReport& report) const;
    bool historyProblemShown_ = false;
    bool historyHeld_ = false;
    // The pages whose earlier version was kept since the history was held.
    std::set<fs::path> keptWhileHeld_;

    std::set<std::string> reported_;
};

} // namespace cw
