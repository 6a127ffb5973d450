#include "CardOutputCommands.h"

#include "AppContext.h"
#include "CardExport.h"
#include "CardLibrary.h"
#include "CardTools.h"
#include "FileNameText.h"
#include "FillInController.h"
#include "FilledCard.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "MainWindow.h"
#include "PrintDialog.h"
#include "PrintJob.h"
#include "ProgramTexts.h"
#include "SaveCardAsDialog.h"
#include "ShownCardPages.h"
#include "UiText.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>
#include <optional>

namespace cw {

CardOutputCommands::CardOutputCommands(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {}

void CardOutputCommands::AddCommands(QMenu* file, QAction* before) {
    auto add = [&](const char* name, const QString& caption, QKeySequence key, auto slot) {
        auto* action = new QAction(caption, file);
        action->setObjectName(name);
        if (!key.isEmpty())
            action->setShortcut(key);
        file->insertAction(before, action);
        connect(action, &QAction::triggered, this, slot);
        action->setEnabled(window_.Session().Changed().CardOpen());
        actions_.push_back(action);
    };
    file->insertSeparator(before);
    add("printMyCardAction", QString::fromStdString(GetProgramText(TextId::PrintMyCard)),
        QKeySequence::Print, [this] { PrintCommand(PrintCardChoice::Mine); });
    add("printPartnersCardAction",
        QString::fromStdString(GetProgramText(TextId::PrintPartnersCard)), {},
        [this] { PrintCommand(PrintCardChoice::Partner); });
    add("printBothCardsAction", "Print Both Cards", {},
        [this] { PrintCommand(PrintCardChoice::Both); });
    file->insertSeparator(before);
    // Ctrl+Shift+S on every desktop (the platform's "Save As" key is not bound on all of them).
    add("saveCardAsAction", UiText(TextId::SaveCardAsPicture),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { SaveCardAs(); });
}

void CardOutputCommands::EnableCardCommands(bool enabled, bool) {
    for (QAction* action : actions_)
        action->setEnabled(enabled);
}

void CardOutputCommands::PrintCommand(PrintCardChoice choice) {
    // What is typed into an open field belongs to the card that is printed.
    window_.FillIn().CommitOpenEditor();
    ShownCardPages pages(window_);
    std::optional<PrintDialog> dialog;
    if (!printQuestions_) {
        dialog.emplace(context_.prompter, &window_);
        AddHelpKey(*dialog, HelpPrinting);
    }
    PrintJob job(context_, pages, printQuestions_ ? *printQuestions_ : *dialog);
    // A PDF file is proposed under the card's name as the user knows it, in the folder the
    // last one went to.
    const std::string shown = window_.Session().Library().ShownNameOf(OpenCardName());
    job.ProposeFile(lastPdfFolder_ / (FileNameToUtf8(shown) + ".pdf"));
    const int printed = job.PrintCard(choice);
    if (job.CutOffTextAsked())
        window_.Tools().ShowCheckPanel();
    if (!job.PrintedFile().empty()) {
        lastPdfFolder_ = job.PrintedFile().parent_path();
        const QString pagesPrinted =
            printed == 1 ? QString("1 page") : QString("%1 pages").arg(printed);
        window_.statusBar()->showMessage(pagesPrinted + " printed to " +
                                         QString::fromStdString(job.PrintedFile().string()));
    }
}

std::string CardOutputCommands::OpenCardName() const {
    std::string name = context_.Card.Location().CurrentCardName;
    if (context_.Card.BackSide() && !name.empty() && name.back() == '_')
        name.pop_back();
    return name;
}

void CardOutputCommands::SaveCardAs() {
    window_.FillIn().CommitOpenEditor();
    if (!window_.Session().Changed().CardOpen()) {
        context_.prompter.Beep();
        context_.prompter.Message(GetProgramText(TextId::NoCardOpened),
                                  GetProgramText(TextId::ProgramName), Buttons::Ok,
                                  Icon::Information);
        return;
    }
    SaveCardAsDialog dialog(&window_, context_.TwipsPerPixel, CurrentFormatHasForm(context_));
    ExportFileChooser& chooser = exportChooser_ ? *exportChooser_ : dialog;
    auto request = chooser.ChooseExportFile(context_.Card.Location().CardDir, OpenCardName(),
                                            context_.Card.Location().CardExt);
    if (!request)
        return;
    ShownCardPages pages(window_);
    CardExport exporter(context_, pages);
    exporter.SetCopyCard([this](const std::string& newName) { return CopyOpenCardAs(newName); });
    if (!exporter.SaveCardAs(*request) || exporter.Written().empty())
        return;
    // Says where the files went: a picture export writes one file per page.
    const std::vector<fs::path>& files = exporter.Written();
    QString text =
        files.size() == 1
            ? "Saved as " + QString::fromStdString(FileNameToUtf8(files[0].string()))
            : QString("%1 files written to %2: ")
                  .arg(files.size())
                  .arg(QString::fromStdString(FileNameToUtf8(files[0].parent_path().string())));
    for (size_t i = 0; files.size() > 1 && i < files.size(); ++i)
        text +=
            (i ? ", " : "") + QString::fromStdString(FileNameToUtf8(files[i].filename().string()));
    window_.statusBar()->showMessage(text);
}

bool CardOutputCommands::CopyOpenCardAs(const std::string& newName) {
    CardLibrary& library = window_.Session().Library();
    int index = library.Selected();
    if (index < 0) {
        const std::string name = OpenCardName();
        for (int i = 0; i < int(library.Entries().size()); ++i)
            if (EqualsIgnoreCase(library.CardNameOf(library.Entries()[size_t(i)]), name))
                index = i;
    }
    return library.CopyCard(index, newName);
}

} // namespace cw
