#pragma once

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QMenuBar;

namespace cw {

class AppContext;
class MainWindow;
class NotesWindow;
class ReferenceTextWindow;

// What the main window offers to read beside the card: the supplemental notes (Options menu,
// F9) and the reference texts (abbreviations, conventions, tips, the special notices).
class ReadingCommands : public QObject {
    Q_OBJECT

public:
    ReadingCommands(MainWindow& window, AppContext& context);

    // The Options menu's entries, and "Special Notices" in the menu bar before before.
    void AddCommands(QMenu* options, QMenuBar* bar, QAction* before);

    // F9: the supplemental notes, following the "[n]" of the selected field.
    void OpenNotes();
    // A reference text of the data folder in the reference texts window.
    void ShowReferenceText(const std::string& fileName);
    // The text of the card field being filled in, as typed so far; none when no text field
    // is selected.
    std::optional<std::string> SelectedFieldText();
    // Closing the program: notes being written are not lost with it, their window asks
    // first. False when the user chose to stay.
    bool CloseNotes();

    NotesWindow* notesWindow() const;
    ReferenceTextWindow* referenceTextWindow() const;

private:
    MainWindow& window_;
    AppContext& context_;
    QPointer<NotesWindow> notesWindow_;
    QPointer<ReferenceTextWindow> referenceTextWindow_;
};

} // namespace cw
