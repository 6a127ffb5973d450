#pragma once

#include "AppContext.h"
#include "MainSession.h"
#include "NotesFakes.h"
#include "NotesSession.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"

#include <optional>
#include <string>

namespace cw::test {

// The files the save loop writes: the two pages of card "ab" and the notes file "n.not".
enum class Saved { Front, Back, Notes };
constexpr int kSavedFiles = 3;

// Version k of any of them is written into Saved(k % 3): a text that says k and is as long as
// k makes it, so that a file cut short or mixed from two versions never reads as one.
Saved FileOf(long version);
std::string VersionText(long version);
// The version a text is; nullopt when it is none.
std::optional<long> VersionOf(const std::string& text);

// The program's own session on a data root, as the main window and the notes window drive
// it: the card "ab" open, the notes file chosen.
class SaveSession {
public:
    explicit SaveSession(const fs::path& root);

    // Writes version k into its file through the program's save (the side switched first for
    // a card page). False when the program reported an error.
    bool Save(long version);

    // The version each file holds now, read as the program reads it; nullopt when a file is
    // missing, cannot be read completely, or holds no version.
    static std::optional<long> CardVersion(const fs::path& root, bool back);
    static std::optional<long> NotesVersion(const fs::path& root);

    static fs::path Page(const fs::path& root, bool back);
    static fs::path NotesFile(const fs::path& root);
    // A data root with the card and the notes file at version 0 (front), 1 (back), 2 (notes).
    static void Prepare(const fs::path& root);

    ScriptedPrompter prompter;
    TrapRecorder errors;

private:
    bool SaveCardPage(bool back, long version);

    ErrorTrap trap_{prompter, errors};
    AppContext ctx_;
    FakeMainViews views_;
    FakeFolderChooser chooser_;
    MainSession session_;
    FakeNotesView notesView_;
    NotesSession notes_;
};

} // namespace cw::test
