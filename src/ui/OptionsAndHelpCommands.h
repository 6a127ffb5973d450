#pragma once

#include <QObject>
#include <QPointer>

class QMenu;

namespace cw {

class AppContext;
class MainWindow;

// The Options menu's settings (the card formats' defaults, the mail settings of error
// reports) and the Help menu (help, F1, the about box).
class OptionsAndHelpCommands : public QObject {
    Q_OBJECT

public:
    OptionsAndHelpCommands(MainWindow& window, AppContext& context);

    // "Card Global Settings" first in options and "Mail Settings" last; the help menu's
    // entries.
    void AddCommands(QMenu* options, QMenu* help);

    // The card formats' defaults, after the save question; the card is drawn again with them.
    void OpenCardOptions();
    void OpenMailSettings();
    // The card face's help while a card is shown, otherwise the index.
    void ShowHelp();
    void ShowAbout();

private:
    MainWindow& window_;
    AppContext& context_;
    QPointer<QWidget> aboutDialog_;
};

} // namespace cw
