#include "ReadingCommands.h"

#include "AppContext.h"
#include "CardRenderer.h"
#include "FillInController.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "MainWindow.h"
#include "NotesWindow.h"
#include "ReferenceTextWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace cw {

ReadingCommands::ReadingCommands(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {}

void ReadingCommands::AddCommands(QMenu* options, QMenuBar* bar, QAction* before) {
    auto text = [this](QMenu* menu, const char* name, const QString& caption,
                       const char* fileName) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this,
                [this, fileName] { ShowReferenceText(fileName); });
    };
    text(options, "abbreviationsAction", "Abbreviations", "abbr.dat");
    text(options, "conventionsAction", "Conventions", "Convent.txt");
    QMenu* notes = options->addMenu("Supplemental Notes");
    notes->setObjectName("supplementalNotesMenu");
    QAction* viewNotes = notes->addAction("View Supplemental Notes Files");
    viewNotes->setObjectName("viewNotesAction");
    viewNotes->setShortcut(Qt::Key_F9);
    // F9 works on the card face too, where the menu bar may not have the focus.
    viewNotes->setShortcutContext(Qt::WindowShortcut);
    connect(viewNotes, &QAction::triggered, this, &ReadingCommands::OpenNotes);
    QAction* notesHelp = notes->addAction("Help on Supplemental Notes");
    notesHelp->setObjectName("notesHelpAction");
    connect(notesHelp, &QAction::triggered, this,
            [this] { ShowProgramHelp(HelpSupplementalNotes, &window_); });
    text(options, "tipsAction", "Tips", "tips.txt");

    // A command of its own in the menu bar.
    auto* notices = new QAction("&Special Notices", bar);
    notices->setObjectName("specialNoticesAction");
    connect(notices, &QAction::triggered, this, [this] { ShowReferenceText("notices.txt"); });
    bar->insertAction(before, notices);
}

std::optional<std::string> ReadingCommands::SelectedFieldText() {
    if (!window_.CardFaceShown() || !window_.Session().Changed().CardOpen())
        return std::nullopt;
    FillInController& fillIn = window_.FillIn();
    if (fillIn.OpenEditor())
        return window_.Renderer().Text().Codec().Encode(fillIn.EditorText());
    int field = fillIn.Session().CurrentField;
    if (field < 0 || field >= context_.Card.Page().Count(TextField))
        return std::nullopt;
    return context_.Card.Page().Field(TextField, field).text;
}

void ReadingCommands::OpenNotes() {
    std::optional<std::string> fieldText = SelectedFieldText();
    if (!notesWindow_) {
        notesWindow_ = new NotesWindow(context_, window_.Session().Changed(), &window_);
        notesWindow_->setAttribute(Qt::WA_DeleteOnClose);
        notesWindow_->SetHelpHandler(
            [this] { ShowProgramHelp(HelpSupplementalNotes, notesWindow_.data()); });
        AddHelpKey(*notesWindow_, HelpSupplementalNotes);
    }
    notesWindow_->OpenFor(fieldText);
}

void ReadingCommands::ShowReferenceText(const std::string& fileName) {
    if (!referenceTextWindow_) {
        referenceTextWindow_ = new ReferenceTextWindow(context_, &window_);
        referenceTextWindow_->setAttribute(Qt::WA_DeleteOnClose);
        AddHelpKey(*referenceTextWindow_, HelpReferenceTexts);
    }
    referenceTextWindow_->ShowText(context_.paths.DataDir / fileName);
}

NotesWindow* ReadingCommands::notesWindow() const {
    return notesWindow_.data();
}

ReferenceTextWindow* ReadingCommands::referenceTextWindow() const {
    return referenceTextWindow_.data();
}

bool ReadingCommands::CloseNotes() {
    return !notesWindow_ || !notesWindow_->isVisible() || notesWindow_->close();
}

} // namespace cw
