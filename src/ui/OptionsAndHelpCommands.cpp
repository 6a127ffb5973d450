#include "OptionsAndHelpCommands.h"

#include "AboutDialog.h"
#include "AppContext.h"
#include "CardOptionsDialog.h"
#include "ErrorTrap.h"
#include "FillInController.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "LayoutController.h"
#include "MailSettingsDialog.h"
#include "MainWindow.h"
#include "OptionsLocations.h"
#include "ProgramTexts.h"
#include "UndoHistory.h"

#include <QAction>
#include <QMenu>

namespace cw {

OptionsAndHelpCommands::OptionsAndHelpCommands(MainWindow& window, AppContext& context)
    : QObject(&window), window_(window), context_(context) {}

void OptionsAndHelpCommands::AddCommands(QMenu* options, QMenu* help) {
    auto* settings = new QAction("Card Global Settings", options);
    settings->setObjectName("cardGlobalSettingsAction");
    connect(settings, &QAction::triggered, this, &OptionsAndHelpCommands::OpenCardOptions);
    options->insertAction(options->actions().value(0), settings);
    if (options->actions().size() > 1)
        options->insertSeparator(options->actions().value(1));
    options->addSeparator();
    QAction* mail = options->addAction("Mail Settings");
    mail->setObjectName("mailSettingsAction");
    connect(mail, &QAction::triggered, this, &OptionsAndHelpCommands::OpenMailSettings);

    QAction* programHelp =
        help->addAction(QString::fromStdString(GetProgramText(TextId::HelpOnCardwright)));
    programHelp->setObjectName("programHelpAction");
    programHelp->setShortcut(Qt::Key_F1);
    connect(programHelp, &QAction::triggered, this, &OptionsAndHelpCommands::ShowHelp);
    help->addSeparator();
    QAction* about =
        help->addAction(QString::fromStdString(GetProgramText(TextId::AboutCardwright)));
    about->setObjectName("aboutAction");
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &OptionsAndHelpCommands::ShowAbout);
}

void OptionsAndHelpCommands::OpenCardOptions() {
    context_.errorTrap.Guard(loc::OpenCardOptions, [&] {
        FillInController& fillIn = window_.FillIn();
        int field = fillIn.Session().CurrentField;
        fillIn.CommitOpenEditor();
        ChangedState& changed = window_.Session().Changed();
        Answer answer = changed.AskSaveChanges();
        if (answer == Answer::Cancel)
            return;
        int16_t format = context_.Format.Current();
        window_.PauseBlinking(true);
        {
            CardOptionsDialog dialog(context_, &window_);
            connect(&dialog, &CardOptionsDialog::helpRequested, &dialog,
                    [&dialog] { ShowProgramHelp(HelpCardOptions, &dialog); });
            dialog.exec();
        }
        window_.PauseBlinking(false);
        // The format's defaults may be new: read them again, and draw the card with them.
        // Changes the user chose not to save are dropped by reading the card again.
        if (answer == Answer::No && changed.CardOpen()) {
            window_.Layout().Abandon();
            fillIn.Reset();
            context_.LoadCard();
            window_.EditHistory().Reset();
        }
        if (!window_.CardFaceShown()) {
            context_.LoadFormatDefaults();
            return;
        }
        context_.SetupCardFormat(format, window_);
        window_.Redraw();
        if (field != FillInSession::NoField && field < context_.Card.Page().Count(TextField))
            fillIn.Session().OpenTextEditor(field);
    });
}

void OptionsAndHelpCommands::OpenMailSettings() {
    MailSettingsDialog::Edit(context_.prompter, context_.paths.ProgramFolder, &window_,
                             context_.fileSystem);
}

void OptionsAndHelpCommands::ShowHelp() {
    ShowProgramHelp(window_.CardFaceShown() ? HelpCardFace : HelpIndex, &window_);
}

void OptionsAndHelpCommands::ShowAbout() {
    if (!aboutDialog_)
        aboutDialog_ = new AboutDialog(context_.AppVersion, &window_);
    aboutDialog_->show();
    aboutDialog_->raise();
    aboutDialog_->activateWindow();
}

} // namespace cw
