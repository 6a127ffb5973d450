#include "MainSession.h"

#include "AppContext.h"
#include "CardFileLocator.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "FileOps.h"
#include "LocationCodes.h"
#include "ProgramTexts.h"

namespace cw {

MainSession::MainSession(AppContext& context, CardFormatView& formatView,
                         CardLibraryView& libraryView, TransferFolderChooser& chooser)
    : context_(context), formatView_(formatView), libraryView_(libraryView), changed_(context),
      library_(context, changed_, formatView, libraryView, chooser) {}

bool MainSession::Load() {
    AppContext& ctx = context_;
    ctx.MainWindowLoaded = true;
    return ctx.errorTrap.Guard(loc::MainWindowLoad, [&] {
        ctx.View.LetFormatSetZoom();
        ctx.ReadSystemSettings();
        if (ctx.Format.Catalogue().IsValidSlot(ctx.Settings.DefaultFormat))
            ctx.View.FollowFormat(
                float(ctx.Format.Catalogue().Number(ctx.Settings.DefaultFormat, ColViewScale)), 0);
        for (int slot = 0; slot < ctx.Format.Catalogue().FormatCount; ++slot)
            CreateFolderQuietly(
                ctx.paths.CardFolder(ctx.Format.Catalogue().Column(slot, ColFolder)));
        ctx.SetupCardFormat(ctx.Settings.DefaultFormat, formatView_);
        loadedFormat_ = ctx.Format.Current();
        libraryView_.ShowCardStatus(GetProgramText(TextId::NoCardOpened) +
                                    ctx.Card.Location().CurrentCardName);
        changed_.SetChangedState(ChangedState::CardSavedCode);
        changed_.SetChangedState(ChangedState::NoCardCode);
        library_.CancelNameDialog();
    });
}

void MainSession::ResetZoom() {
    context_.View.ResetZoom();
    context_.SetUpViewScale();
}

MainSession::CloseResult MainSession::QueryUnload(bool cardFaceShown) {
    if (cardFaceShown) {
        ResetZoom();
        return CloseResult::ReturnedToStartFace;
    }
    if (changed_.AskSaveChanges() == Answer::Cancel) {
        ResetZoom();
        return CloseResult::Cancelled;
    }
    if (context_.Format.Current() != loadedFormat_)
        context_.PatchDefaultFormat();
    RemoveEmptyCardFolders();
    return CloseResult::Closed;
}

void MainSession::RemoveEmptyCardFolders() {
    const FormatCatalogue& catalogue = context_.Format.Catalogue();
    for (int slot = 0; slot < catalogue.FormatCount; ++slot) {
        fs::path folder = context_.paths.CardFolder(catalogue.Column(slot, ColFolder));
        std::error_code ec;
        if (!fs::is_directory(folder, ec))
            continue;
        // Like a search for "*.*": only files count, so a folder holding only folders is
        // tried too, and its removal fails quietly.
        if (ListFolder(folder, "*").empty())
            fs::remove(folder, ec);
    }
}

void MainSession::SaveChanges() {
    if (!changed_.CardOpen()) {
        context_.prompter.Beep();
        context_.prompter.Message(GetProgramText(TextId::NoCardOpened),
                                  GetProgramText(TextId::ProgramName), Buttons::Ok);
        return;
    }
    changed_.SaveCard();
}

bool MainSession::PrepareFormatChoice() {
    return changed_.AskSaveChanges() != Answer::Cancel;
}

bool MainSession::ChooseFormat(int16_t selection) {
    // The same format again is set up anew only to leave a folder a card was opened in.
    if (selection == context_.Format.Current() && context_.HasFormat() &&
        context_.Card.Location().CardDir ==
            context_.paths.CardFolder(context_.Format.Catalogue().Column(selection, ColFolder)))
        return true;
    return context_.errorTrap.Guard(loc::CardsListDone, [&] {
        changed_.SetChangedState(ChangedState::NoCardCode);
        context_.Card.SetCardName({});
        context_.SetupCardFormat(selection, formatView_);
        changed_.SetChangedState(ChangedState::NoCardCode);
        libraryView_.ShowCardStatus(GetProgramText(TextId::NoCardOpened));
    });
}

namespace {

bool FilesHaveSameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
    try {
        return ReadFileBytes(a) == ReadFileBytes(b);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

bool MainSession::OpenCardFile(const std::filesystem::path& given) {
    namespace fs = std::filesystem;
    Prompter& prompter = context_.prompter;
    const std::string title = GetProgramText(TextId::ProgramName);
    std::error_code ec;
    const fs::path file = fs::absolute(given, ec);
    if (ec || !fs::is_regular_file(file, ec)) {
        prompter.Message(FileNameToUtf8(given.string()) + " cannot be opened: there is no such "
                                                          "card file.",
                         title, Buttons::Ok, Icon::Warning);
        return false;
    }
    std::string problem;
    std::optional<CardFileLocation> where =
        LocateCardFile(context_.Format.Catalogue(), context_.paths, file, problem);
    if (!where) {
        prompter.Message(problem, title, Buttons::Ok, Icon::Warning);
        return false;
    }
    if (changed_.AskSaveChanges() == Answer::Cancel)
        return false;
    bool inPlace = false;
    if (!where->inCardFolder) {
        const std::optional<OutsideCard> answer = AskOutsideCard(file, *where);
        if (!answer || (*answer == OutsideCard::CopyIn && !CopyCardIn(file, *where)))
            return false;
        inPlace = *answer == OutsideCard::OpenInPlace;
    }
    if (!ChooseFormat(where->slot))
        return false;
    // Opened where it is: the card list shows that folder's cards of the format, and the card
    // is saved there, until another format (or this one again) is chosen.
    if (inPlace) {
        CardLocation location = context_.Card.Location();
        location.CardDir = file.parent_path();
        context_.Card.SetLocation(std::move(location));
    }
    return library_.OpenCardNamed(where->cardName, where->backPage);
}

std::optional<MainSession::OutsideCard>
MainSession::AskOutsideCard(const std::filesystem::path& file, const CardFileLocation& where) {
    const std::optional<size_t> choice = context_.prompter.Choose(
        "The card " + FileNameToUtf8(where.cardName) + " is not among your cards (" +
            FileNameToUtf8(file.string()) + ").\nCopy it into your cards of the " +
            context_.Format.Catalogue().Column(where.slot, ColDisplayName) +
            " (the file where it is stays as it is), or open it where it is and save it there?",
        GetProgramText(TextId::ProgramName), {"Copy and Open", "Open Where It Is"});
    if (!choice)
        return std::nullopt;
    return *choice == 0 ? OutsideCard::CopyIn : OutsideCard::OpenInPlace;
}

bool MainSession::CopyCardIn(const std::filesystem::path& file, const CardFileLocation& where) {
    namespace fs = std::filesystem;
    Prompter& prompter = context_.prompter;
    const std::string title = GetProgramText(TextId::ProgramName);
    const std::string extension = context_.Format.Catalogue().Column(where.slot, ColExtension);
    const fs::path folder =
        context_.paths.CardFolder(context_.Format.Catalogue().Column(where.slot, ColFolder));
    const std::string display = FileNameToUtf8(where.cardName);
    // The card's pages: the front page and, for two-page formats, the back page beside it.
    std::vector<std::string> pages = {where.cardName + extension};
    if (context_.Format.Catalogue().HasBackPage(where.slot))
        pages.push_back(where.cardName + "_" + extension);
    std::vector<std::pair<fs::path, fs::path>> copies;
    for (const std::string& page : pages) {
        std::optional<fs::path> source = ResolveExisting(file.parent_path() / page);
        if (!source)
            continue;
        std::optional<fs::path> existing = ResolveExisting(folder / page);
        if (existing && !FilesHaveSameBytes(*existing, *source)) {
            prompter.Message("Your cards already hold a card named " + display +
                                 ", and it is another card. Rename the file to copy it in, "
                                 "or open your card from the list.",
                             title, Buttons::Ok, Icon::Warning);
            return false;
        }
        if (!existing)
            copies.emplace_back(*source, folder / page);
    }
    return context_.errorTrap.Guard(
        loc::OpenCard,
        [&] {
            CreateFolderQuietly(folder);
            for (const auto& [source, target] : copies)
                WriteFileOver(context_.fileSystem, target, ReadFileBytes(source));
        },
        [&] { return std::vector<ErrValue>{file.string()}; });
}

} // namespace cw
