#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace cw {

class AppContext;
class MainWindow;

// The Edit menu's "Undo <what>" and "Redo <what>" for the card on the card face. An open
// field undoes its own typing first (the main window passes the keys on when it has none);
// a layout action being placed is taken back before any change of the card.
class UndoCommands : public QObject {
    Q_OBJECT

public:
    UndoCommands(MainWindow& window, AppContext& context);

    void AddCommands(QMenu* edit);
    // Undo (redo false) or redo one change of the card.
    void Step(bool redo);
    // The captions and states follow the history and the face on show.
    void Update();

private:
    MainWindow& window_;
    AppContext& context_;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
};

} // namespace cw
