#pragma once

#include "ChangedState.h"
#include "PrintSettings.h"

#include <QDir>
#include <QObject>
#include <filesystem>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace cw {

class AppContext;
class ExportFileChooser;
class MainWindow;
class PrintQuestions;

// The File menu's printing and "Save Card as Picture or PDF...": the print window before each print
// job, the save dialog before each export. The commands are enabled while a card is open.
class CardOutputCommands : public QObject, public ChangedStateView {
    Q_OBJECT

public:
    CardOutputCommands(MainWindow& window, AppContext& context);

    // Puts the commands into file, before the action before.
    void AddCommands(QMenu* file, QAction* before);

    // "Print My Card", "Print Partner's Card", "Print Both Cards".
    void PrintCommand(PrintCardChoice choice);
    // Who answers the print job's questions; nullptr (the default) shows the print window.
    void UsePrintQuestions(PrintQuestions* questions) { printQuestions_ = questions; }
    // "Save Card as Picture or PDF..." of the File menu and of the start face.
    void SaveCardAs();
    // Who asks for the file; nullptr (the default) shows the save dialog.
    void UseExportFileChooser(ExportFileChooser* chooser) { exportChooser_ = chooser; }

    // ChangedStateView
    void EnableSaveCommands(bool) override {}
    void EnableCardCommands(bool enabled, bool namesEditable) override;

private:
    // The open card copied under a new name (the card filter of "Save Card as").
    bool CopyOpenCardAs(const std::string& newName);
    // The open card's name, without the back page's "_".
    std::string OpenCardName() const;
    // Where the last PDF file was printed to in this session.
    std::filesystem::path lastPdfFolder_ = QDir::homePath().toStdString();

    MainWindow& window_;
    AppContext& context_;
    std::vector<QAction*> actions_;
    PrintQuestions* printQuestions_ = nullptr;
    ExportFileChooser* exportChooser_ = nullptr;
};

} // namespace cw
