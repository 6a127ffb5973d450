#include "CardLibrary.h"

#include "AppContext.h"
#include "CardFile.h"
#include "CardToolLocations.h"
#include "ChangedState.h"
#include "DeletedCards.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "FontPrefix.h"
#include "HeaderLines.h"
#include "LineReader.h"
#include "LocationCodes.h"
#include "PlainText.h"
#include "ProgramTexts.h"
#include "RuntimeError.h"

#include <algorithm>

namespace cw {

namespace {

constexpr const char* kLegalPunctuation = " -_+!@,#$%^&";
// Room for the longest file made from a name ("NAME_.ext.new") within the 255 bytes a file
// name may have, with a round number the user can remember.
constexpr size_t kMaxNameLength = 100;

bool EndsWithIgnoreCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           EqualsIgnoreCase(text.substr(text.size() - tail.size()), tail);
}

// Header line 2 of a card file (the card's notes file), blanks trimmed.
std::string ReadNotesLine(const fs::path& cardFile) {
    LineReader reader(ReadExistingFile(cardFile));
    HeaderLines comments;
    comments.Read(reader);
    reader.ReadLine();
    return TrimSpaces(reader.ReadLine());
}

// Copies source over target (a file of that name in another letter case goes), so that a
// failure at any moment leaves target as it was.
void ReplaceFile(FileSystem& fileSystem, const fs::path& source, const fs::path& target) {
    CopyFileOver(fileSystem, source, target);
}

} // namespace

std::vector<int> NameFieldEntries(int namesMode) {
    switch (namesMode) {
    case 2:
        return {};
    case 3:
        return {1, 2, 3, 4};
    case 4:
        return {1, 3, 2, 4};
    case 6:
        return {1, 3};
    default:
        return {1, 2};
    }
}

CardLibrary::CardLibrary(AppContext& context, ChangedState& changed, CardFormatView& formatView,
                         CardLibraryView& view, TransferFolderChooser& chooser)
    : context_(context), changed_(changed), formatView_(formatView), view_(view),
      chooser_(chooser) {}

bool CardLibrary::HasBackPage() const {
    return context_.HasFormat() && context_.Format.HasBackPage();
}

std::string CardLibrary::CardNameOf(const std::string& entry) const {
    size_t extLength = context_.Card.Location().CardExt.size();
    return entry.size() > extLength ? entry.substr(0, entry.size() - extLength) : std::string();
}

bool CardLibrary::IsBackPageName(const std::string& fileName) const {
    std::string name = CardNameOf(fileName);
    return !name.empty() && name.back() == '_';
}

std::string CardLibrary::BackPageFileName(const std::string& fileName) const {
    if (!HasBackPage())
        return {};
    return CardNameOf(fileName) + "_" +
           fileName.substr(fileName.size() - context_.Card.Location().CardExt.size());
}

Answer CardLibrary::Ask(const std::string& text, Buttons buttons, Icon icon,
                        DefaultButton defaultButton) {
    return context_.prompter.Message(text, GetProgramText(TextId::ProgramName), buttons, icon,
                                     defaultButton);
}

void CardLibrary::FillCardList() {
    context_.errorTrap.Guard(loc::FillCardList, [&] {
        std::vector<std::string> entries, shown;
        bool backPages = HasBackPage();
        const size_t extension = context_.Card.Location().CardExt.size();
        for (const std::string& file :
             ListFolder(context_.Card.Location().CardDir, "*" + context_.Card.Location().CardExt)) {
            if (backPages && IsBackPageName(file))
                continue;
            entries.push_back(UpperCaseFileName(file));
            shown.push_back(file.substr(0, file.size() >= extension ? file.size() - extension : 0));
        }
        // An unchanged list keeps its selection (the list is refreshed whenever the window
        // comes to the front).
        if (entries != entries_ || shown != shownNames_) {
            entries_ = std::move(entries);
            shownNames_ = std::move(shown);
            selected_ = -1;
            view_.ShowCardList(entries_);
            // The open card stays selected, so that the side buttons can reopen it.
            for (size_t i = 0; i < entries_.size(); ++i)
                if (IsOpenCard(entries_[i]))
                    selected_ = int(i);
            view_.SelectCardInList(selected_);
        }
        view_.ShowFirstCardHint(entries_.size() == 1 &&
                                EqualsIgnoreCase(entries_[0].substr(0, 7), "testcrd"));
    });
}

std::string CardLibrary::ShownNameOf(const std::string& cardName) const {
    const std::string ext = context_.Card.Location().CardExt;
    for (size_t i = 0; i < entries_.size() && i < shownNames_.size(); ++i)
        if (EqualsIgnoreCase(entries_[i], cardName) ||
            EqualsIgnoreCase(entries_[i], cardName + ext))
            return shownNames_[i];
    return cardName;
}

int CardLibrary::IndexOf(const std::string& fileName) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (EqualsIgnoreCase(entries_[i], fileName))
            return int(i);
    return -1;
}

bool ValidateFileName(Prompter& prompter, const std::string& name) {
    if (name.empty()) {
        prompter.Beep();
        prompter.Message(GetProgramText(TextId::FileNameBlank), GetProgramText(TextId::ProgramName),
                         Buttons::Ok);
        return false;
    }
    if (name.size() > kMaxNameLength) {
        prompter.Beep();
        prompter.Message("A file name can be at most " + std::to_string(kMaxNameLength) +
                             " characters long; this one has " + std::to_string(name.size()) + ".",
                         GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Critical);
        return false;
    }
    for (char c : name) {
        bool legal = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     std::string(kLegalPunctuation).find(c) != std::string::npos;
        if (!legal) {
            prompter.Beep();
            prompter.Message(
                std::string("Illegal character in file name.  Legal characters are: ") + "\n" +
                    "a-z, A-Z, 0-9, and " + kLegalPunctuation,
                GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Critical);
            return false;
        }
    }
    return true;
}

bool CardLibrary::ValidateFileName(const std::string& name) {
    return cw::ValidateFileName(context_.prompter, name);
}

Answer CardLibrary::CheckCardName(const std::string& fileName, const std::string& source) {
    int match = IndexOf(fileName);
    if (match < 0)
        return Answer::Yes;
    if (!source.empty() && EqualsIgnoreCase(entries_[size_t(match)], source)) {
        context_.prompter.Beep();
        Ask(GetProgramText(TextId::CopyFileToItself), Buttons::Ok);
        return Answer::No;
    }
    context_.prompter.Beep();
    return Ask(GetProgramText(TextId::CardAlreadyNamed) + fileName +
                   GetProgramText(TextId::AskReplaceIt),
               Buttons::YesNoCancel, Icon::Question);
}

bool CardLibrary::StartCardSelection(NameDialogMode mode) {
    if (entries_.empty()) {
        Ask(GetProgramText(TextId::NoCardsAvailable), Buttons::Ok);
        mode_ = NameDialogMode::NewCard;
        return false;
    }
    mode_ = mode;
    selected_ = -1;
    view_.SelectCardInList(-1);
    const TextId verb = mode == NameDialogMode::DeleteCard ? TextId::DeleteVerb : TextId::CopyVerb;
    view_.ShowSelectionPrompt(GetProgramText(TextId::SelectFileTo) + GetProgramText(verb) + ".",
                              true);
    return true;
}

void CardLibrary::CancelSelection() {
    EndOperation();
}

void CardLibrary::EndOperation() {
    mode_ = NameDialogMode::NewCard;
    view_.ShowSelectionPrompt({}, false);
}

void CardLibrary::ListClick(int index) {
    if (index >= 0 && index < int(entries_.size()))
        selected_ = index;
    switch (mode_) {
    case NameDialogMode::DeleteCard:
        DeleteCard(index);
        break;
    case NameDialogMode::CopyCard:
        CopyCard(index);
        break;
    case NameDialogMode::CopyToDiskette:
        CopyToDiskette(index);
        break;
    default:
        OpenCard(index);
        break;
    }
}

bool CardLibrary::IsOpenCard(const std::string& entry) const {
    if (!changed_.CardOpen())
        return false;
    std::string open = context_.Card.Location().CurrentCardName;
    if (!open.empty() && open.back() == '_')
        open.pop_back();
    return EqualsIgnoreCase(open, CardNameOf(entry));
}

void CardLibrary::MarkCardClosed() {
    changed_.SetChangedState(ChangedState::CardSavedCode);
    changed_.SetChangedState(ChangedState::NoCardCode);
    view_.ShowCardStatus(GetProgramText(TextId::NoCardOpened));
}

bool CardLibrary::OpenCard(int index) {
    // Cancel keeps the open card and its changes; the list goes back to it.
    if (changed_.AskSaveChanges() == Answer::Cancel) {
        int open = -1;
        for (size_t i = 0; i < entries_.size(); ++i)
            if (IsOpenCard(entries_[i]))
                open = int(i);
        selected_ = open;
        view_.SelectCardInList(open);
        return false;
    }
    if (entries_.empty()) {
        Ask(GetProgramText(TextId::NoCardsAvailable), Buttons::Ok);
        return false;
    }
    if (index < 0 || index >= int(entries_.size())) {
        Ask(GetProgramText(TextId::SelectCardToOpen), Buttons::Ok);
        return false;
    }
    selected_ = index;
    bool finished = context_.errorTrap.Guard(
        loc::OpenCard, [&] { OpenCardAt(index); },
        [&] { return std::vector<ErrValue>{entries_[size_t(index)]}; });
    return finished && changed_.CardOpen();
}

void CardLibrary::OpenCardAt(int index) {
    const std::string& entry = entries_[size_t(index)];
    CardLocation location = context_.Card.Location();
    const std::string name = CardNameOf(entry);
    location.CardExt = context_.Format.Column(ColExtension);
    location.CurrentCardName = name + (context_.Card.BackSide() ? "_" : "");
    // The list's folder: the format's card folder, or where a card file was opened.
    if (location.CardDir.empty())
        location.CardDir = context_.paths.CardFolder(context_.Format.Column(ColFolder));
    context_.Card.SetLocation(location);
    if (!context_.LoadCard()) {
        MarkCardClosed();
        return;
    }
    if (context_.Card.BackSide()) {
        std::string notes = ReadNotesLine(location.CardDir / (name + location.CardExt));
        context_.Card.Rewrite([&](CardPage& page) { page.CardHeader[2] = notes; });
    }
    view_.ShowCardStatus(name + GetProgramText(TextId::CardLoaded));
    changed_.SetChangedState(ChangedState::CardOpenedCode);
}

bool CardLibrary::PrepareNewCard() {
    if (changed_.AskSaveChanges() == Answer::Cancel)
        return false;
    MarkCardClosed();
    context_.Card.Rewrite([](CardPage& page) { page.ClearCard(); });
    mode_ = NameDialogMode::NewCard;
    view_.ShowSelectionPrompt({}, false);
    return true;
}

std::optional<NameEntries> CardLibrary::PrepareEditNames() {
    if (!changed_.CardOpen())
        return std::nullopt;
    if (context_.Card.BackSide()) {
        view_.ShowSide(false);
        if (!SwitchSide(false))
            return std::nullopt;
    }
    if (!changed_.CardOpen())
        return std::nullopt;
    const auto& header = context_.Card.Page().CardHeader;
    mode_ = NameDialogMode::EditNames;
    return NameEntries{context_.Card.Location().CurrentCardName, header[3], header[4], header[0],
                       header[1]};
}

bool CardLibrary::FinishNameDialog(const NameEntries& entries) {
    if (mode_ == NameDialogMode::EditNames)
        return EditNames(entries);
    return CreateCard(entries);
}

void CardLibrary::StoreNames(CardPage& page, const NameEntries& entries) const {
    auto& header = page.CardHeader;
    header[0] = entries[3];
    header[1] = entries[4];
    header[3] = entries[1];
    header[4] = entries[2];
    int namesMode = int(context_.Format.Number(ColNamesMode));
    std::vector<int> fields = NameFieldEntries(namesMode);
    for (size_t field = 0; field < fields.size() && int(field) < page.Count(TextField); ++field) {
        std::string& text = page.Field(TextField, int(field)).text;
        text = GetFontPrefix(text) + entries[size_t(fields[field])];
    }
}

bool CardLibrary::CreateCard(const NameEntries& entries) {
    std::string name = TrimSpaces(entries[0]);
    if (!ValidateFileName(name))
        return false;
    const std::string& ext = context_.Card.Location().CardExt;
    if (CheckCardName(name + ext) != Answer::Yes)
        return false;
    bool finished = context_.errorTrap.Guard(
        loc::CreateCard,
        [&] {
            // The names belong on the front page, so a new card opens on its front side.
            if (context_.Card.BackSide()) {
                context_.Card.SetBackSide(false);
                view_.ShowSide(false);
                context_.ApplyFormatDefaults(false);
            }
            const FormatCatalogue& catalogue = context_.Format.Catalogue();
            int slot = context_.Format.Current();
            const fs::path& dir = context_.Card.Location().CardDir;
            FileSystem& files = context_.fileSystem;
            const fs::path back = dir / (name + "_" + ext);
            const bool backExisted = ExistsAnyCase(back);
            // The folder may have been removed while the program ran.
            CreateFolderQuietly(dir);
            // The back page first: a card is listed by its front page, so a card that could
            // not be made whole does not appear.
            if (HasBackPage())
                ReplaceFile(files,
                            context_.paths.InProgramFolder(catalogue.Column(slot, ColBackTemplate)),
                            back);
            // The front page is written once, names and all, so that no failure leaves a
            // card without the names just typed.
            try {
                std::string blank = ReadExistingFile(
                    context_.paths.InProgramFolder(catalogue.Column(slot, ColFrontTemplate)));
                CardPage page = context_.Card.Page();
                CardFile::ParsePage(page, blank, false);
                StoreNames(page, entries);
                WriteFileOver(files, dir / (name + ext),
                              CardFile::ComposePage(page, blank, context_.AppVersion));
                page.ReadIncompletely = false;
                context_.Card.Replace(std::move(page));
            } catch (...) {
                if (HasBackPage() && !backExisted)
                    if (auto made = ResolveExisting(back))
                        files.Remove(*made);
                throw;
            }
            context_.Card.SetCardName(name);
            FillCardList();
            changed_.SetChangedState(ChangedState::CardOpenedCode);
            changed_.SetChangedState(ChangedState::CardSavedCode);
            selected_ = IndexOf(name + ext);
            view_.SelectCardInList(selected_);
            view_.ShowCardStatus(name + GetProgramText(TextId::CardLoadedStatus));
            mode_ = NameDialogMode::NewCard;
            view_.ShowCardFace();
        },
        [&] { return std::vector<ErrValue>{name}; });
    return finished;
}

bool CardLibrary::EditNames(const NameEntries& entries) {
    if (!changed_.CardOpen()) {
        mode_ = NameDialogMode::NewCard;
        return true;
    }
    bool finished = context_.errorTrap.Guard(loc::EditNames, [&] {
        context_.Card.Rewrite([&](CardPage& page) { StoreNames(page, entries); });
        changed_.SetChangedState(ChangedState::CardChangedCode);
        changed_.SaveCard();
    });
    mode_ = NameDialogMode::NewCard;
    return finished;
}

bool CardLibrary::CopyCard(int index, std::optional<std::string> newName) {
    if (index < 0 || index >= int(entries_.size())) {
        EndOperation();
        return false;
    }
    const std::string source = entries_[size_t(index)];
    const std::string& ext = context_.Card.Location().CardExt;
    std::string name;
    for (;;) {
        std::optional<std::string> answer = std::move(newName);
        newName.reset();
        if (!answer)
            answer = context_.prompter.Input(GetProgramText(TextId::CopyingCard) + source + "\n" +
                                                 GetProgramText(TextId::EnterNewCardName),
                                             GetProgramText(TextId::ProgramName), {});
        name = answer ? TrimSpaces(*answer) : std::string();
        if (name.empty() || !ValidateFileName(name)) {
            EndOperation();
            return false;
        }
        Answer check = CheckCardName(name + ext, source);
        if (check == Answer::Cancel) {
            EndOperation();
            return false;
        }
        if (check == Answer::Yes)
            break;
    }
    if (changed_.AskSaveChanges() == Answer::Cancel) {
        EndOperation();
        return false;
    }
    changed_.SetChangedState(ChangedState::NoCardCode);
    bool finished = context_.errorTrap.Guard(
        loc::CopyCard,
        [&] {
            const fs::path& dir = context_.Card.Location().CardDir;
            FileSystem& files = context_.fileSystem;
            if (HasBackPage()) {
                std::string back = BackPageFileName(source);
                if (ExistsAnyCase(dir / back))
                    ReplaceFile(files, dir / back, dir / (name + "_" + ext));
            }
            ReplaceFile(files, dir / source, dir / (name + ext));
        },
        [&] {
            return std::vector<ErrValue>{source, name};
        });
    EndOperation();
    FillCardList();
    return finished;
}

bool CardLibrary::DeleteCard(int index) {
    if (index < 0 || index >= int(entries_.size())) {
        EndOperation();
        return false;
    }
    const std::string entry = entries_[size_t(index)];
    if (Ask(GetProgramText(TextId::DeletingCard) + entry + "\n" +
                GetProgramText(TextId::AskDeleteCard),
            Buttons::YesNo, Icon::Question, DefaultButton::Second) != Answer::Yes) {
        EndOperation();
        return false;
    }
    if (IsOpenCard(entry)) {
        changed_.AskSaveChanges();
        context_.Card.SetCardName({});
        MarkCardClosed();
        // The card is gone, not merely closed: nothing is said about it.
        view_.ShowCardStatus({});
    }
    bool finished = context_.errorTrap.Guard(
        loc::DeleteCard,
        [&] {
            const fs::path& dir = context_.Card.Location().CardDir;
            auto front = ResolveExisting(dir / entry);
            if (!front)
                throw RuntimeError::FileNotFoundError((dir / entry).string());
            std::vector<fs::path> pages{*front};
            if (HasBackPage())
                if (auto back = ResolveExisting(dir / BackPageFileName(entry)))
                    pages.push_back(*back);
            // The card's pages go into the card history, from where it can be brought back.
            std::string problem = MoveCardToHistory(context_, front->stem().string(), pages);
            if (!problem.empty() &&
                Ask("The card cannot be kept in the card history, so it could not be brought "
                    "back after deleting it.\n" +
                        problem + "\nDelete it anyway?",
                    Buttons::YesNo, Icon::Warning, DefaultButton::Second) == Answer::Yes)
                for (const fs::path& page : pages)
                    if (fs::exists(page))
                        fs::remove(page);
        },
        [&] { return std::vector<ErrValue>{entry}; });
    EndOperation();
    FillCardList();
    return finished;
}

bool CardLibrary::CopyToDiskette(int index) {
    if (index < 0 || index >= int(entries_.size())) {
        EndOperation();
        return false;
    }
    const std::string entry = entries_[size_t(index)];
    auto folder = chooser_.ChooseTransferFolder(GetProgramText(TextId::CopyCardToDiskette));
    if (!folder || changed_.AskSaveChanges() == Answer::Cancel) {
        EndOperation();
        return false;
    }
    if (changed_.CardOpen())
        MarkCardClosed();
    bool finished = context_.errorTrap.Guard(
        loc::CopyToDiskette,
        [&] {
            const fs::path& dir = context_.Card.Location().CardDir;
            FileSystem& files = context_.fileSystem;
            if (HasBackPage()) {
                std::string back = BackPageFileName(entry);
                ReplaceFile(files, dir / back, *folder / back);
            }
            ReplaceFile(files, dir / entry, *folder / entry);
            std::string notes = ReadNotesLine(dir / entry);
            if (notes.size() > 4 && EndsWithIgnoreCase(notes, ".not")) {
                const fs::path source = context_.paths.SuppNotesDir / notes;
                if (!ExistsAnyCase(source)) {
                    Ask("Can not find Supplemental Notes file " + notes + "\n" +
                            "Card has been copied.",
                        Buttons::Ok);
                } else {
                    try {
                        ReplaceFile(files, source, *folder / notes);
                    } catch (const FileError& error) {
                        Ask("The Supplemental Notes file " + notes + " could not be copied (" +
                                error.Reason() + ").\nCard has been copied.",
                            Buttons::Ok, Icon::Warning);
                    }
                }
            }
        },
        [&] {
            return std::vector<ErrValue>{entry, folder->string()};
        });
    EndOperation();
    FillCardList();
    return finished;
}

bool CardLibrary::CopyCardsFromDiskette() {
    auto folder = chooser_.ChooseTransferFolder(GetProgramText(TextId::CopyCardsFromDiskette));
    if (!folder)
        return false;
    const FormatCatalogue& catalogue = context_.Format.Catalogue();
    std::vector<std::vector<std::string>> filesBySlot(size_t(catalogue.FormatCount));
    bool any = false;
    for (int slot = 0; slot < catalogue.FormatCount; ++slot) {
        filesBySlot[size_t(slot)] = ListFolder(*folder, "*" + catalogue.Column(slot, ColExtension));
        any = any || !filesBySlot[size_t(slot)].empty();
    }
    if (!any) {
        Ask(GetProgramText(TextId::NoCardFilesOnDiskette), Buttons::Ok);
        return false;
    }
    if (changed_.AskSaveChanges() == Answer::Cancel)
        return false;
    // Copied cards may replace the open one.
    if (changed_.CardOpen())
        MarkCardClosed();

    int16_t previous = context_.Format.Current();
    bool notesCopied = false;
    bool finished = context_.errorTrap.Guard(
        loc::CopyCardsFromDiskette,
        [&] {
            for (int16_t slot = 0; slot < catalogue.FormatCount; ++slot) {
                const auto& files = filesBySlot[size_t(slot)];
                if (files.empty())
                    continue;
                int16_t chosen = slot;
                if (!context_.SetupCardFormat(chosen, formatView_))
                    return;
                const fs::path& dir = context_.Card.Location().CardDir;
                CreateFolderQuietly(dir);
                bool backPages = HasBackPage();
                for (const std::string& file : files) {
                    // A back page travels with its front page.
                    if (backPages && IsBackPageName(file)) {
                        std::string front = CardNameOf(file);
                        front.pop_back();
                        front += file.substr(file.size() - context_.Card.Location().CardExt.size());
                        if (std::any_of(files.begin(), files.end(), [&](const std::string& f) {
                                return EqualsIgnoreCase(f, front);
                            }))
                            continue;
                    }
                    Answer answer = CheckCardName(file);
                    if (answer == Answer::Cancel)
                        return;
                    if (answer != Answer::Yes)
                        continue;
                    if (!notesCopied) {
                        notesCopied = true;
                        CreateFolderQuietly(context_.paths.SuppNotesDir);
                        for (const std::string& notes : ListFolder(*folder, "*.not"))
                            ReplaceFile(context_.fileSystem, *folder / notes,
                                        context_.paths.SuppNotesDir / notes);
                    }
                    if (backPages && !IsBackPageName(file)) {
                        std::string back = BackPageFileName(file);
                        if (ExistsAnyCase(*folder / back))
                            ReplaceFile(context_.fileSystem, *folder / back, dir / back);
                    }
                    ReplaceFile(context_.fileSystem, *folder / file, dir / file);
                }
            }
        },
        [&] { return std::vector<ErrValue>{folder->string()}; });
    if (context_.Format.Current() != previous)
        context_.SetupCardFormat(previous, formatView_);
    FillCardList();
    return finished;
}

bool CardLibrary::RestoreDeletedCard(const std::string& card) {
    const std::string& ext = context_.Card.Location().CardExt;
    if (CheckCardName(card + ext) != Answer::Yes)
        return false;
    std::string restored;
    bool finished = context_.errorTrap.Guard(
        loc::RestoreDeletedCard, [&] { restored = RestoreCardFromHistory(context_, card); },
        [&] { return std::vector<ErrValue>{card}; });
    FillCardList();
    if (finished) {
        selected_ = IndexOf(restored);
        view_.SelectCardInList(selected_);
    }
    return finished;
}

bool CardLibrary::OpenCardNamed(const std::string& cardName, bool backSide) {
    FillCardList();
    int index = IndexOf(UpperCaseFileName(cardName + context_.Card.Location().CardExt));
    if (index < 0)
        return false;
    if (backSide != context_.Card.BackSide() && HasBackPage()) {
        context_.Card.SetBackSide(backSide);
        context_.ApplyFormatDefaults(false);
        view_.ShowSide(backSide);
    }
    return OpenCard(index);
}

bool CardLibrary::SwitchSide(bool backSide) {
    if (backSide == context_.Card.BackSide())
        return true;
    bool reopen = changed_.CardOpen() && selected_ >= 0 && selected_ < int(entries_.size());
    if (reopen && changed_.AskSaveChanges() == Answer::Cancel) {
        view_.ShowSide(context_.Card.BackSide());
        return false;
    }
    return context_.errorTrap.Guard(loc::SwitchSide, [&] {
        context_.Card.SetBackSide(backSide);
        context_.ApplyFormatDefaults(false);
        if (reopen)
            OpenCardAt(selected_);
    });
}

} // namespace cw
