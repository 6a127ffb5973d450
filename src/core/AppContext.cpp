#include "AppContext.h"

#include "BasicNumbers.h"
#include "CardPageReader.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "LocationCodes.h"
#include "ProgramTexts.h"
#include "Prompter.h"
#include "RuntimeError.h"

namespace cw {

AppContext::AppContext(const fs::path& root, Prompter& prompter_, ErrorTrap& errorTrap_,
                       FileSystem& fileSystem_)
    : prompter(prompter_), errorTrap(errorTrap_), fileSystem(fileSystem_),
      paths(Paths::ForRoot(root)), Archive(paths.DataSysDir / "history", fileSystem_) {}

SystemSettingsFile AppContext::SettingsFile() const {
    return SystemSettingsFile(paths.ProgramFolder, fileSystem);
}

bool AppContext::ReadSystemSettings() {
    return errorTrap.Guard(loc::ReadSystemSettings,
                           [&] { SettingsFile().Read(Settings, Format.EditCatalogue()); });
}

bool AppContext::SaveSystemSettings() {
    if (OnlyReadsDataRoot)
        return true;
    BusyScope busy(prompter);
    return errorTrap.Guard(loc::SaveSystemSettings, [&] { SettingsFile().Save(Settings); });
}

bool AppContext::PatchDefaultFormat() {
    if (OnlyReadsDataRoot)
        return true;
    return errorTrap.Guard(
        loc::PatchDefaultFormat, [&] { SettingsFile().PatchDefaultFormat(Format.Current()); },
        [&] { return std::vector<ErrValue>{int(Format.Current())}; });
}

bool AppContext::LoadFormatDefaults() {
    std::optional<DefaultsRebuilt> rebuilt;
    bool finished = errorTrap.Guard(
        loc::LoadFormatDefaults,
        [&] {
            rebuilt = Format.LoadDefaults(Card.BackSide(), !OnlyReadsDataRoot && !RootReadOnly);
            SetUpViewScale();
        },
        [&] { return std::vector<ErrValue>{int(Format.Current())}; });
    if (rebuilt)
        ReportRebuiltDefaults(*rebuilt);
    return finished;
}

void AppContext::ReportRebuiltDefaults(const DefaultsRebuilt& rebuilt) {
    // The defaults are loaded for every drawing of the card: a file that stays unreadable or
    // unwritable is reported once.
    std::string key = rebuilt.file.string() + '\n' + rebuilt.reason + '\n' + rebuilt.notWritten;
    const std::string file = FileNameToUtf8(rebuilt.file.string());
    std::string text;
    if (rebuilt.reason.empty()) {
        text = "The settings file of this card format, " + file + ", could not be written (" +
               rebuilt.notWritten +
               ").\nIts settings are taken from the format's layout files for this session.";
    } else {
        text = "The settings file of this card format, " + file + ", could not be read (" +
               rebuilt.reason + ").\nIts settings were made again from the format's layout files";
        if (!rebuilt.keptAs.empty())
            text += "; the old file is kept as " +
                    FileNameToUtf8(rebuilt.keptAs.filename().string()) + ".";
        else if (!rebuilt.notWritten.empty())
            text += " for this session; the file itself was left as it is, as a new one could "
                    "not be written (" +
                    rebuilt.notWritten + ").";
        else
            text += " for this session; the file itself was left as it is.";
    }
    ReportOnce(key, text);
}

void AppContext::ReportOnce(const std::string& key, const std::string& text) {
    if (FirstReport(key))
        prompter.Message(text, GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Warning);
}

bool AppContext::ApplyFormatDefaults(bool save) {
    return errorTrap.Guard(loc::SaveFormatDefaults, [&] {
        if (save)
            Format.SaveDefaults(Card.BackSide(), !OnlyReadsDataRoot);
        else
            Format.ApplyDefaults(Card.BackSide());
        SetUpViewScale();
    });
}

BaseLayer AppContext::BaseLayerOf(bool backSide, bool useAlternative) {
    BaseLayer layer = Format.LocateBaseLayer(backSide, useAlternative);
    if (layer.file)
        return layer;
    layer.file = std::make_shared<BaseLayerFile>();
    if (!HasFormat())
        return layer;
    errorTrap.Guard(loc::DrawBaseLayer, [&] {
        layer.file = Format.ReadBaseLayer(layer);
        // Said once: the page is drawn again at every zoom and on every page printed.
        const std::optional<std::string>& problem = layer.file->problem;
        if (problem && FirstReport(layer.path.string() + '\n' + *problem))
            throw RuntimeError(RuntimeError::TypeMismatch,
                               *problem + " in " + layer.path.string() +
                                   ". The card is drawn without the lines that are not records.");
    });
    return layer;
}

RenderRequest AppContext::RequestFor(const CardPage& page, bool backSide, RenderTarget target) {
    RenderRequest request;
    request.page = &page;
    request.profile = Format.Profile();
    request.profile.defaults.Apply(backSide, false);
    request.baseLayer = BaseLayerOf(backSide, page.UseAltBaseLayer);
    request.backSide = backSide;
    request.mapping.twipsPerPixel = TwipsPerPixel;
    request.mapping.viewScale = View.ViewScale();
    request.options.target = target;
    return request;
}

void AppContext::SetUpViewScale() {
    if (HasFormat())
        View.FollowFormat(float(Format.ViewScale()), Format.Defaults().SavedZoom);
    View.SizeFor(Format.Defaults().NaturalWidth, Format.Defaults().NaturalHeight);
}

bool AppContext::SetupCardFormat(int16_t& slot, CardFormatView& view) {
    return errorTrap.Guard(
        loc::SetupCardFormat,
        [&] {
            if (Format.Catalogue().FormatCount == 0)
                throw RuntimeError(RuntimeError::SubscriptOutOfRange,
                                   "No card format is installed");
            if (slot >= Format.Catalogue().FormatCount || slot < 0)
                slot = int16_t(Format.Catalogue().FormatCount - 1);
            Format.MakeCurrent(slot);
            if (!Format.HasBackPage()) {
                view.SetSideButtonsEnabled(false);
                Card.SetBackSide(false);
                view.SelectFrontSide();
            } else {
                view.SetSideButtonsEnabled(true);
            }
            // A format whose defaults could not be had (the error has been reported) is still
            // set up, so that its name, folder and cards match the current format.
            LoadFormatDefaults();
            view.SizeCardPicture();
            CardLocation location = Card.Location();
            location.CardDir = paths.CardFolder(Format.Column(ColFolder));
            location.CardExt = Format.Column(ColExtension);
            Card.SetLocation(std::move(location));
            view.ShowFormatName(Format.Column(ColDisplayName));
            view.SetCardListPattern("*" + Card.Location().CardExt);
            const std::string& picture = Format.Column(ColPicture);
            view.ShowFormatPicture(
                picture.empty() ? std::nullopt : std::optional<fs::path>(paths.BmpsDir / picture));
            errorTrap.Guard(loc::SpecialNotice, [&] {
                auto special = ResolveExisting(Card.Location().CardDir / "special.txt");
                if (special && OnlyReadsDataRoot) {
                    view.ShowSpecialNoticeLabel(true);
                } else if (special) {
                    fs::copy_file(*special, paths.DataDir / "special.txt",
                                  fs::copy_options::overwrite_existing);
                    view.ShowSpecialNoticeLabel(true);
                } else {
                    view.ShowSpecialNoticeLabel(false);
                }
            });
            view.RefillCardList();
        },
        [&] { return std::vector<ErrValue>{int(slot)}; });
}

bool AppContext::LoadCard() {
    LoadReport report;
    // Read into a copy, so that the page is replaced once, however far the reading got.
    CardPage read = Card.Page();
    bool finished = errorTrap.Guard(
        loc::LoadCard,
        [&] {
            LoadOptions options;
            options.backSide = Card.BackSide();
            options.backTemplate = Format.BackTemplateForMissingPage();
            options.copyTemplate = !OnlyReadsDataRoot;
            options.fileSystem = &fileSystem;
            report = CardFile::LoadCard(read, Card.Location(), options);
        },
        [&] { return std::vector<ErrValue>{Card.Location().PagePath().string()}; });
    Card.Replace(std::move(read));
    if (finished)
        Card.RememberFile();
    if (finished && !report.Complete()) {
        // A command prints or exports only whole cards; the program opens what could be read.
        if (OnlyReadsDataRoot) {
            errorTrap.Trap(loc::LoadCard, IncompleteCardProblem(report),
                           {Card.Location().PagePath().string()});
            return false;
        }
        ReportIncompleteCard(report);
    }
    return finished;
}

std::string AppContext::IncompleteCardProblem(const LoadReport& report) const {
    constexpr size_t kItemsNamed = 3;
    std::string text = "The card file " + FileNameToUtf8(Card.Location().PagePath().string()) +
                       " is not a card file or is damaged. Not read: ";
    for (size_t i = 0; i < report.notRead.size() && i < kItemsNamed; ++i)
        text += (i ? "; " : "") + report.notRead[i];
    if (report.notRead.size() > kItemsNamed)
        text += "; and " + std::to_string(report.notRead.size() - kItemsNamed) + " more";
    return text + ".";
}

void AppContext::ReportIncompleteCard(const LoadReport& report) {
    std::string file = FileNameToUtf8(ResolveExisting(Card.Location().PagePath())
                                          .value_or(Card.Location().PagePath())
                                          .filename()
                                          .string());
    std::string text = "The card file " + file +
                       " could not be read completely, so the card is open with what could be "
                       "read. Not read:";
    for (const std::string& item : report.notRead)
        text += "\n  - " + item;
    text += "\nWhen you save the card, the file as it was is kept as " + file + ".bak.";
    prompter.Message(text, GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Warning);
}

std::string AppContext::ArchiveFormat() const {
    return HasFormat() ? Format.Code() : std::string();
}

std::string AppContext::ArchiveCard() const {
    return CardNameOfPage(Card.Location().CurrentCardName, Card.BackSide());
}

void AppContext::KeepReplacedPage(const fs::path& page, const std::string& replaced) {
    try {
        // A save that changed nothing keeps nothing (the page as written was just read).
        if ((Card.FileAsSeen() ? *Card.FileAsSeen() : ReadFileBytes(page)) == replaced)
            return;
        Archive.Keep(ArchiveFormat(), ArchiveCard(), page.filename().string(), replaced);
        historyProblemShown_ = false;
    } catch (const std::exception& error) {
        if (historyProblemShown_)
            return;
        historyProblemShown_ = true;
        prompter.Message("Earlier versions of your cards cannot be kept: the card history "
                         "cannot be written.\n" +
                             std::string(error.what()) +
                             "\nYour card is saved as usual; this message is not shown again "
                             "until the history works.",
                         GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Warning);
    }
}

void AppContext::HoldHistory(bool hold) {
    if (hold == historyHeld_)
        return;
    historyHeld_ = hold;
    keptWhileHeld_.clear();
}

bool AppContext::SaveCard() {
    BusyScope busy(prompter);
    // The page as it was goes into the history once the new one is safely written.
    std::optional<fs::path> page =
        HasFormat() ? ResolveExisting(Card.Location().PagePath()) : std::nullopt;
    std::optional<std::string> replaced;
    if (page) {
        try {
            replaced = ReadFileBytes(*page);
        } catch (const std::exception&) {
            // Unreadable: the save reports it.
        }
    }
    bool rewritten = false;
    bool saved = errorTrap.Guard(
        loc::SaveCard,
        [&] {
            if (!page && HasFormat()) {
                rewritten = true;
                SaveCardAnew();
                return;
            }
            CardPage written = Card.Page();
            CardFile::SaveCard(written, Card.Location(), AppVersion, fileSystem);
            Card.Saved(std::move(written));
        },
        [&] { return std::vector<ErrValue>{Card.Location().PagePath().string()}; });
    if (saved)
        Card.RememberFile();
    if (saved && replaced && !(historyHeld_ && keptWhileHeld_.count(*page))) {
        KeepReplacedPage(*page, *replaced);
        if (historyHeld_)
            keptWhileHeld_.insert(*page);
    }
    if (saved && rewritten)
        prompter.Message("The file of this card, " +
                             FileNameToUtf8(Card.Location().PagePath().filename().string()) +
                             ", was no longer in " +
                             FileNameToUtf8(Card.Location().CardDir.string()) +
                             " (the file or its folder was removed while the card was open). "
                             "The card has been saved there again as it is on the screen.",
                         GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Information);
    return saved;
}

void AppContext::SaveCardAnew() {
    // The header lines a card file keeps from its format come from the format's blank page.
    int column = Card.BackSide() ? ColBackTemplate : ColFrontTemplate;
    std::string blank = ReadExistingFile(paths.InProgramFolder(Format.Column(column)));
    CreateFolderQuietly(Card.Location().CardDir);
    CardPage written = Card.Page();
    WriteFileOver(fileSystem, Card.Location().PagePath(),
                  CardFile::ComposePage(written, blank, AppVersion));
    Card.Saved(std::move(written));
}

ErrorContextSnapshot AppContext::Snapshot() const {
    ErrorContextSnapshot snapshot;
    snapshot.ProgramFolder = paths.ProgramFolder.string();
    snapshot.CurrentCardName = Card.Location().CurrentCardName;
    snapshot.CardDir = Card.Location().CardDir.string();
    snapshot.CardExt = Card.Location().CardExt;
    snapshot.FormatHasBackPage = HasFormat() && Format.HasBackPage();
    if (Format.Current() >= 0 && Format.Current() < FormatCatalogue::Slots)
        snapshot.FormatDisplayName =
            Format.Catalogue().Formats[size_t(Format.Current())][ColDisplayName];
    snapshot.MainWindowLoaded = MainWindowLoaded;
    snapshot.CardPictureScaleMode = CardPictureScaleMode;
    snapshot.PWIDTH = View.ZoomedWidth();
    snapshot.PHEIGHT = View.ZoomedHeight();
    snapshot.BasicFont = Format.Defaults().BasicFont;
    snapshot.BasicFontSize = FormatSingle(Format.Defaults().BasicFontSize);
    snapshot.ZoomFactor = View.ZoomFactor();
    return snapshot;
}

} // namespace cw
