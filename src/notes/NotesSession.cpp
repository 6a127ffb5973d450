#include "NotesSession.h"

#include "AppContext.h"
#include "CardLibrary.h"
#include "ChangedState.h"
#include "ErrorTrap.h"
#include "NotesLocations.h"
#include "PlainText.h"
#include "ProgramTexts.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace cw {

namespace {

constexpr const char* kNotesPattern = "*.not";
constexpr int kMaxCommentLines = 11;

bool IsNotesFileName(const std::string& name) {
    if (name.size() <= 4 || !EqualsIgnoreCase(name.substr(name.size() - 4), ".not"))
        return false;
    // A name from a card file is only ever a name in the notes folder, never a path.
    return name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name != ".." && name.front() != '.';
}

// A file nobody may write to, or one this user may not write to. Replacing it through a scratch
// file would succeed all the same, as that only needs the folder to be writable.
bool IsReadOnly(const fs::path& path) {
    std::error_code ec;
    fs::perms perms = fs::status(path, ec).permissions();
    if (ec)
        return false;
    constexpr fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((perms & write) == fs::perms::none)
        return true;
    return ::access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS);
}

void RemoveQuietly(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

} // namespace

NotesSession::NotesSession(AppContext& context, ChangedState& changed, NotesView& view)
    : context_(context), changed_(changed), view_(view) {}

Answer NotesSession::Ask(const std::string& text, Buttons buttons, Icon icon) {
    return context_.prompter.Message(text, GetProgramText(TextId::ProgramName), buttons, icon);
}

std::string NotesSession::CardNotesFile() const {
    if (!changed_.CardOpen())
        return {};
    std::string name = TrimSpaces(context_.Card.Page().CardHeader[2]);
    return IsNotesFileName(name) ? name : std::string();
}

std::vector<std::string> NotesSession::NotesFiles() const {
    return ListFolder(context_.paths.SuppNotesDir, kNotesPattern);
}

bool NotesSession::Open() {
    CreateFolderQuietly(context_.paths.SuppNotesDir);
    std::string notice;
    std::string own = CardNotesFile();
    if (!own.empty()) {
        if (ExistsAnyCase(context_.paths.SuppNotesDir / own)) {
            if (LoadFile(own))
                return true;
        } else {
            notice = "This card's notes file \"" + own +
                     "\" is not in the notes folder. Choose a notes file below or create a new "
                     "one.";
        }
    }
    std::vector<std::string> files = NotesFiles();
    view_.ShowFileList(files, notice);
    if (files.empty() && Ask("There are no Notes Files.  Would you like to create a Notes File?",
                             Buttons::YesNo) == Answer::Yes)
        CreateNotesFile();
    return false;
}

bool NotesSession::LoadFile(const std::string& name) {
    fs::path path = context_.paths.SuppNotesDir / name;
    std::string bytes;
    try {
        path = ResolveExisting(path).value_or(path);
        bytes = ReadFileBytes(path);
    } catch (const std::exception& error) {
        // Nothing changes: the window keeps what it showed.
        context_.prompter.Beep();
        Ask("The notes file \"" + name + "\" cannot be opened.\n" + error.what(), Buttons::Ok,
            Icon::Warning);
        return false;
    }
    hasFile_ = true;
    fileName_ = path.filename().string();
    filePath_ = path;
    text_ = NotesText(bytes);
    dirty_ = false;
    editing_ = false;
    view_.EnableSave(false);
    view_.ShowEditing(false);
    LoadBlock(0);
    return true;
}

bool NotesSession::ChooseFile(const std::string& name) {
    bool finished = false;
    context_.errorTrap.Guard(
        loc::ChooseNotesFile,
        [&] {
            if (AskSaveNotes() == Answer::Cancel || !LoadFile(name))
                return;
            finished = true;
            OfferAssociation(fileName_);
        },
        [&] { return std::vector<ErrValue>{name}; });
    return finished;
}

bool NotesSession::ShowFileList() {
    if (AskSaveNotes() == Answer::Cancel)
        return false;
    hasFile_ = false;
    editing_ = false;
    view_.EnableSave(false);
    view_.ShowFileList(NotesFiles(), {});
    return true;
}

void NotesSession::LoadBlock(int first) {
    const int count = text_.LineCount();
    first = std::clamp(first, 0, ScrollMax());
    ShowComposedBlock(first, std::min(first + PageLines, count), {}, {});
}

void NotesSession::ShowComposedBlock(int first, int end, std::vector<std::string> before,
                                     std::vector<std::string> after) {
    first_ = first;
    end_ = end;
    block_ = std::move(before);
    for (int i = first; i < end; ++i)
        block_.push_back(text_.Line(i));
    block_.insert(block_.end(), after.begin(), after.end());
    ShowCurrentBlock();
}

void NotesSession::ShowCurrentBlock() {
    view_.ShowBlock(fileName_, block_, first_, text_.LineCount());
}

bool NotesSession::ScrollTo(int line) {
    if (!hasFile_)
        return false;
    bool finished = false;
    context_.errorTrap.Guard(
        loc::ScrollNotes,
        [&] {
            if (AskSaveNotes() == Answer::Cancel) {
                // The scroll bar goes back to the block that is kept.
                view_.ShowScrollPosition(first_);
                return;
            }
            LoadBlock(line);
            finished = true;
        },
        [&] { return std::vector<ErrValue>{line}; });
    return finished;
}

bool NotesSession::StartEditing() {
    if (!hasFile_)
        return false;
    for (size_t i = 0; i < block_.size(); ++i)
        if (block_[i].size() > MaxEditableLine) {
            context_.prompter.Beep();
            Ask("Line " + std::to_string(first_ + int(i) + 1) + " of \"" + fileName_ + "\" is " +
                    std::to_string(block_[i].size()) +
                    " characters long, too long to be edited here (it is shown cut off). Please "
                    "edit this file in a text editor.",
                Buttons::Ok, Icon::Warning);
            return false;
        }
    editing_ = true;
    view_.ShowEditing(true);
    return true;
}

bool NotesSession::StopEditing() {
    if (AskSaveNotes() == Answer::Cancel)
        return false;
    editing_ = false;
    view_.ShowEditing(false);
    return true;
}

void NotesSession::EditChanged() {
    if (!hasFile_ || dirty_)
        return;
    dirty_ = true;
    view_.EnableSave(true);
}

bool NotesSession::SaveNotesEdit() {
    if (!hasFile_)
        return false;
    if (IsReadOnly(filePath_)) {
        context_.prompter.Beep();
        Ask("The notes file \"" + fileName_ +
                "\" is read-only, so your changes were not saved.  They are still in the edit "
                "box.",
            Buttons::Ok, Icon::Warning);
        return false;
    }
    if (std::string unwritable = view_.UnwritableCharacters(); !unwritable.empty()) {
        context_.prompter.Beep();
        Ask("The notes file \"" + fileName_ + "\" cannot hold these characters: " + unwritable +
                "\n\nPlease replace them (the suit symbols are written <c> <d> <h> <s>). Your "
                "changes were not saved; they are still in the edit box.",
            Buttons::Ok, Icon::Warning);
        return false;
    }
    const fs::path scratch = filePath_.string() + ".tmp";
    bool saved = context_.errorTrap.Guard(
        loc::SaveNotesEdit,
        [&] {
            std::string bytes =
                text_.EditedBytes(first_, end_, SplitEditedText(view_.EditedText()));
            try {
                AtomicReplace(context_.fileSystem, filePath_, bytes, scratch);
            } catch (...) {
                RemoveQuietly(scratch);
                throw;
            }
            text_ = NotesText(bytes);
        },
        [&] {
            return std::vector<ErrValue>{filePath_.string(), first_, end_};
        });
    if (!saved)
        return false;
    dirty_ = false;
    view_.EnableSave(false);
    LoadBlock(first_);
    return true;
}

Answer NotesSession::AskSaveNotes() {
    if (!hasFile_ || !dirty_)
        return Answer::No;
    Answer answer =
        Ask("Do you want to save the changes to " + fileName_ + "?", Buttons::YesNoCancel);
    if (answer == Answer::Yes)
        return SaveNotesEdit() ? Answer::Yes : Answer::Cancel;
    if (answer == Answer::No) {
        dirty_ = false;
        view_.EnableSave(false);
        LoadBlock(first_);
    }
    return answer;
}

bool NotesSession::GoToNote(const std::string& fieldText) {
    const int note = NoteReference(fieldText);
    if (note <= 0 || !hasFile_)
        return false;
    bool finished = false;
    context_.errorTrap.Guard(
        loc::GoToNote,
        [&] {
            if (AskSaveNotes() == Answer::Cancel)
                return;
            finished = true;
            const std::vector<std::string>& lines = text_.Lines();
            const int count = text_.LineCount();
            for (int i = 0; i < count; ++i)
                if (HasNoteMarker(lines[size_t(i)], note)) {
                    LoadBlock(i);
                    return;
                }
            // No note of that number yet: a marker for it, and an empty line, where it
            // belongs among the numbered notes, for the user to write the note under.
            std::vector<std::string> marker = {"[" + std::to_string(note) + "] ", " "};
            const int fileLines = PageLines - int(marker.size());
            for (int i = 0; i < count; ++i)
                if (MarkerNumber(lines[size_t(i)]) > note) {
                    ShowComposedBlock(i, std::min(i + fileLines, count), marker, {});
                    return;
                }
            int first = std::max(0, count - fileLines);
            ShowComposedBlock(first, count, {}, marker);
        },
        [&] { return std::vector<ErrValue>{note}; });
    return finished;
}

bool NotesSession::CreateNotesFile() {
    if (AskSaveNotes() == Answer::Cancel)
        return false;
    std::string name;
    for (;;) {
        auto answer = context_.prompter.Input("Enter a name for the Notes File",
                                              GetProgramText(TextId::ProgramName), {});
        name = answer ? TrimSpaces(*answer) : std::string();
        if (name.empty())
            return false;
        if (ValidateFileName(context_.prompter, name))
            break;
    }
    std::string fileName = name + ".not";
    bool created = false;
    bool finished = context_.errorTrap.Guard(
        loc::CreateNotesFile,
        [&] {
            fs::path path = context_.paths.SuppNotesDir / fileName;
            if (ExistsAnyCase(path))
                return;
            CreateFolderQuietly(context_.paths.SuppNotesDir);
            AtomicReplace(context_.fileSystem, path, {}, path.string() + ".tmp");
            created = true;
        },
        [&] { return std::vector<ErrValue>{fileName}; });
    if (!finished || !LoadFile(fileName))
        return false;
    OfferAssociation(fileName_);
    // A new file is empty: there is nothing to look at before something is written.
    if (created)
        StartEditing();
    return true;
}

bool NotesSession::Done() {
    return AskSaveNotes() != Answer::Cancel;
}

bool NotesSession::PreparePrint() {
    return hasFile_ && AskSaveNotes() != Answer::Cancel;
}

std::string NotesSession::PrintHeading() const {
    std::string name = filePath_.string();
    if (changed_.CardOpen() && EqualsIgnoreCase(CardNotesFile(), fileName_)) {
        name = context_.Card.Location().CurrentCardName;
        if (!name.empty() && name.back() == '_')
            name.pop_back();
    }
    return "SUPPLEMENTAL NOTES: " + name;
}

void NotesSession::OfferAssociation(const std::string& name) {
    if (!changed_.CardOpen() ||
        EqualsIgnoreCase(TrimSpaces(context_.Card.Page().CardHeader[2]), name))
        return;
    if (Ask("Do you want to associate this notes file with the card that is loaded?",
            Buttons::YesNo) != Answer::Yes)
        return;
    context_.errorTrap.Guard(
        loc::AssociateNotes,
        [&] {
            // The front page keeps the card's notes line; it is written with the card.
            if (context_.Card.BackSide())
                changed_.RunWithNextSave([&context = context_, name] {
                    return context.errorTrap.Guard(
                        loc::AssociateNotes, [&] { WriteNotesNameToFrontPage(context, name); },
                        [&] { return std::vector<ErrValue>{name}; });
                });
            context_.Card.Rewrite([&](CardPage& page) { page.CardHeader[2] = name; });
            changed_.SetChangedState(ChangedState::CardChangedCode);
        },
        [&] { return std::vector<ErrValue>{name}; });
}

void NotesSession::WriteNotesNameToFrontPage(AppContext& context, const std::string& name) {
    const CardLocation& location = context.Card.Location();
    std::string front = location.CurrentCardName;
    if (!front.empty() && front.back() == '_')
        front.pop_back();
    fs::path path = location.CardDir / (front + location.CardExt);
    path = ResolveExisting(path).value_or(path);
    const std::string replaced = ReadFileBytes(path);
    NotesText page(replaced);
    // Header line 2 comes after the file's comment lines.
    int line = 0;
    while (line < kMaxCommentLines && line < page.LineCount() && !page.Line(line).empty() &&
           page.Line(line).front() == '|')
        ++line;
    line += 2;
    if (line >= page.LineCount())
        throw RuntimeError(RuntimeError::InputPastEnd, "Input past end of file: " + path.string());
    AtomicReplace(context.fileSystem, path, page.ReplacedBytes(line, line + 1, {name}),
                  location.ScratchPath());
    context.KeepReplacedPage(path, replaced);
}

} // namespace cw
