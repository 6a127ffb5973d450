#pragma once

#include "FileOps.h"
#include "NotesText.h"
#include "Prompter.h"

#include <string>
#include <vector>

namespace cw {

class AppContext;
class ChangedState;

// What the notes window shows of the session.
class NotesView {
public:
    virtual ~NotesView() = default;
    // The notes files to choose from; notice is a line shown above the list ("" for none).
    virtual void ShowFileList(const std::vector<std::string>& names, const std::string& notice) = 0;
    // A block of a file: its lines (bytes) in the view and in the edit box, the file line the
    // scroll bar stands at and the file's line count.
    virtual void ShowBlock(const std::string& fileName, const std::vector<std::string>& lines,
                           int firstLine, int lineCount) = 0;
    // The scroll bar back at firstLine, the block and the edit box as they are.
    virtual void ShowScrollPosition(int firstLine) = 0;
    // The edit box (true) or the view with the suit symbols drawn.
    virtual void ShowEditing(bool editing) = 0;
    virtual void EnableSave(bool enabled) = 0;
    // The edit box's text as bytes of the file's code page, lines separated by "\n".
    virtual std::string EditedText() const = 0;
    // The characters of the edit box the file's code page cannot hold, as UTF-8 text with a
    // blank between them; "" when every one can be written.
    virtual std::string UnwritableCharacters() const = 0;
};

// The supplemental notes window without its widgets: the notes files of the notes folder,
// the block of a file that is shown and edited, saving an edited block into its file, the
// jump from a card field's "[n]" to note n, and the card's association with its notes file.
// The file's lines are held in memory; a block is PageLines lines of it.
class NotesSession {
public:
    static constexpr int PageLines = 18;
    // The scroll bar's large step.
    static constexpr int PageStep = 17;
    // The longest line (in bytes) the edit box takes: a longer one is shown cut off and its
    // block cannot be edited in the window.
    static constexpr size_t MaxEditableLine = 20000;

    NotesSession(AppContext& context, ChangedState& changed, NotesView& view);

    // The window opens: shows the card's own notes file when it has one, else the list (and
    // offers to create a file when there is none). True when it opened on the card's file.
    bool Open();
    // The card's notes file name when a card is open and names a ".not" file (any letter case)
    // that is a plain file name; "" otherwise.
    std::string CardNotesFile() const;
    // The names of the notes files, sorted.
    std::vector<std::string> NotesFiles() const;

    // A file chosen in the list: shown from its first line; then the association question.
    bool ChooseFile(const std::string& name);
    // Back to the list of files (after the save question).
    bool ShowFileList();
    // The scroll bar moved: the block from line on.
    bool ScrollTo(int line);
    // "Edit File" and "View Output". False when the block has a line too long to edit.
    bool StartEditing();
    bool StopEditing();
    // The user changed the edit box.
    void EditChanged();

    // "Save Changes": the edit box's text replaces the block in the file; the lines before
    // and after it stay as they were. False when nothing was saved.
    bool SaveNotesEdit();
    // Yes, No or Cancel to saving changed text; No when nothing was changed. A failed save
    // answers Cancel, so that the caller keeps what was typed.
    Answer AskSaveNotes();
    // Follows the first "[n]" of a card field's text to note n; where the file has no note n
    // yet, shows a new marker for it before the next higher note (or at the end). The file
    // is not changed until the block is saved.
    bool GoToNote(const std::string& fieldText);
    // "Create a New Notes File".
    bool CreateNotesFile();
    // "Done": false when the user cancelled the save question.
    bool Done();

    // "Print Notes": false when the user cancelled the save question.
    bool PreparePrint();
    // The printed heading: the card's name when the file is the card's own notes file, or
    // the file's path.
    std::string PrintHeading() const;

    bool HasFile() const { return hasFile_; }
    const std::string& FileName() const { return fileName_; }
    const fs::path& FilePath() const { return filePath_; }
    const NotesText& Text() const { return text_; }
    const std::vector<std::string>& Block() const { return block_; }
    int FirstLine() const { return first_; }
    bool Dirty() const { return dirty_; }
    bool Editing() const { return editing_; }
    // The largest first line of a block: every line can be the top one.
    int ScrollMax() const { return text_.LineCount() > 0 ? text_.LineCount() - 1 : 0; }

private:
    bool LoadFile(const std::string& name);
    // Shows the file's lines from first on.
    void LoadBlock(int first);
    // Shows lines of the file from first to end with new lines before or after them.
    void ShowComposedBlock(int first, int end, std::vector<std::string> before,
                           std::vector<std::string> after);
    void ShowCurrentBlock();
    void OfferAssociation(const std::string& name);
    // The card's notes file belongs to the card, not a page: with the back page open, its
    // front page's header is where the name is read from, so it is written there too.
    // Keeps the front page as it was in the card history, like any saved page.
    static void WriteNotesNameToFrontPage(AppContext& context, const std::string& name);
    Answer Ask(const std::string& text, Buttons buttons, Icon icon = Icon::Question);

    AppContext& context_;
    ChangedState& changed_;
    NotesView& view_;

    bool hasFile_ = false;
    std::string fileName_;
    fs::path filePath_;
    NotesText text_;
    std::vector<std::string> block_;
    // The file lines the block replaces when it is saved: first_ up to end_ (exclusive).
    int first_ = 0;
    int end_ = 0;
    bool dirty_ = false;
    bool editing_ = false;
};

} // namespace cw
