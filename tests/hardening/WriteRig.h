#pragma once

#include "AppContext.h"
#include "CardPages.h"
#include "FaultInjectingFileSystem.h"
#include "MainSession.h"
#include "NotesFakes.h"
#include "NotesSession.h"
#include "ScriptedPrompter.h"
#include "SessionFakes.h"
#include "TestFiles.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace cw::test {

// Everything a write path runs in: a data root and a transfer folder, the main session and the
// notes session with scripted answers, and a file system that fails when told to.
struct WriteRig {
    WriteRig();

    // A file of the data root, or of the transfer folder when name starts with "@/".
    fs::path File(const std::string& name) const;
    // Every file below the data root and the transfer folder, by the names File takes.
    std::set<std::string> Listing() const;
    // What the user has been told since the last Mark: the errors trapped and the messages
    // with only an OK button (questions are part of the flow, not reports, unless they are
    // reportingQuestions).
    std::vector<std::string> ReportsSinceMark() const;
    // Questions that tell of the failure themselves (and ask what to do about it): they count
    // as the action's message. Their beginnings.
    std::vector<std::string> reportingQuestions;
    int TrapsSinceMark() const { return int(errors.shown.size()) - trapMark_; }
    void Mark();

    TempDir dir;
    TempDir transfer;
    ScriptedPrompter prompter;
    TrapRecorder errors;
    ErrorTrap trap{prompter, errors};
    FaultInjectingFileSystem fileSystem;
    AppContext ctx{dir.Path(), prompter, trap, fileSystem};
    FakeMainViews views;
    FakeFolderChooser chooser;
    MainSession session{ctx, views, views, chooser};
    FakeNotesView notesView;
    NotesSession notes{ctx, session.Changed(), notesView};

private:
    int trapMark_ = 0;
    size_t promptMark_ = 0;
};

// The open card's pages as the main window hands them to a print job or an export: turning
// to the other page reads the card again on that side.
class SessionCardPages : public CardPages {
public:
    explicit SessionCardPages(MainSession& session) : session_(session) {}
    bool CardOpen() const override { return session_.Changed().CardOpen(); }
    Answer AskSaveChanges() override { return session_.Changed().AskSaveChanges(); }
    bool SaveCard() override { return session_.Changed().SaveCard(); }
    bool ShowPage(bool back) override {
        if (!CardOpen())
            return false;
        return session_.Library().SwitchSide(back) && CardOpen() &&
               session_.Context().Card.BackSide() == back;
    }

private:
    MainSession& session_;
};

// One write path of the program: the state before the user's action, the action, and the
// files it writes (named as WriteRig::File takes them).
struct WritePath {
    std::string name;
    std::function<void(WriteRig&)> prepare;
    // The user's action; false when it says it did not finish.
    std::function<bool(WriteRig&)> act;
    // A name may end in a pattern ("*_ab.tst") for a file whose name the program makes.
    std::vector<std::string> files;
    // Messages the action shows when nothing fails (a warning it gives anyway).
    int cleanReports = 0;
    // What of a file's bytes counts when two runs are compared (all of them when unset): a
    // PDF file carries the time it was made.
    std::function<std::string(const std::string&)> comparable = {};
    // The files the same action must write again once the disk is well (all of them when
    // empty): a history keeps a version only of a page that changed.
    std::vector<std::string> retryFiles = {};
};

void PrintTo(const WritePath& path, std::ostream* out);

// The outcome of failing each writing call of a path in turn with each fault that fits it.
struct FaultTally {
    int injected = 0;
    int survived = 0;
    std::vector<std::string> failures;
};

// Runs path once as it is (it must write, finish, and say nothing unexpected), then once per
// writing call and fault: afterwards every file must be as before or as written by the clean
// run, no other file may be left behind, the user must have been told exactly once, naming a
// file and the system's reason (unless the action got round the fault and finished), and the
// same action must then succeed with the disk well.
FaultTally RunWithFaults(const WritePath& path);

} // namespace cw::test
