#include "MainWindow.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardFace.h"
#include "CardOutputCommands.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "CardTools.h"
#include "EditLocations.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "FillInController.h"
#include "FilledCard.h"
#include "FormatArchive.h"
#include "FormatChooser.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "LayoutController.h"
#include "LocationCodes.h"
#include "NameDialog.h"
#include "NewFormatDialog.h"
#include "OptionsAndHelpCommands.h"
#include "ReadingCommands.h"
#include "ScreenDrawing.h"
#include "StartFace.h"
#include "TextCodec.h"
#include "TransferFolderPicker.h"
#include "UiText.h"
#include "UndoCommands.h"
#include "UndoHistory.h"
#include "ViewScaling.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace cw {

namespace {

// Texts of card files and the settings are bytes in the card code page.
QString FromCard(const std::string& bytes) {
    return TextCodec::Western().Decode(bytes);
}
std::string ToCard(const QString& text) {
    return TextCodec::Western().Encode(text);
}
// Card names come from file names, which are UTF-8 (FileNameToUtf8 mends the others).
QString FromFileName(const std::string& name) {
    return QString::fromStdString(FileNameToUtf8(name));
}

// The keys of the Edit menu's "Redo": the platform's own and both usual ones.
bool IsRedoKey(const QKeyEvent& key) {
    const QKeyCombination pressed = key.keyCombination();
    return key.matches(QKeySequence::Redo) ||
           pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
           pressed == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

} // namespace

MainWindow::MainWindow(AppContext& context, TransferFolderChooser* chooser, QWidget* parent)
    : QMainWindow(parent), context_(context),
      ownChooser_(chooser ? nullptr : std::make_unique<TransferFolderPicker>(this)),
      session_(context, *this, *this, chooser ? *chooser : *ownChooser_) {
    setObjectName("MainWindow");
    session_.Changed().AddView(this);
    specialNotice_ = [this] {
        reading_->ShowReferenceText("special.txt");
    };

    faces_ = new QStackedWidget(this);
    setCentralWidget(faces_);
    BuildStartFace();
    cardFace_ = new CardFace(faces_);
    faces_->addWidget(cardFace_);
    connect(cardFace_, &CardFace::zoomRequested, this, &MainWindow::ZoomStep);
    connect(cardFace_, &CardFace::saveZoomRequested, this, &MainWindow::SaveZoomFactor);
    connect(cardFace_, &CardFace::sideRequested, this, [this](int side) { TurnCard(side == 1); });
    connect(cardPicture(), &CardPicture::cardKeyPressed, this, [this](QKeyEvent* event) {
        if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
            cardFace_->ScrollPage(Qt::Vertical, event->key() == Qt::Key_PageUp ? -1 : 1);
            event->accept();
        } else if (cardFace_->ScrollToEnd(event->key(), event->modifiers())) {
            event->accept();
        }
    });
    canvas_ = std::make_unique<CardCanvas>();
    renderer_ = std::make_unique<CardRenderer>(context_.errorTrap);
    cardPicture()->SetSource(&canvas_->Picture(),
                             [this] { DrawOpenPageOnScreen(context_, *renderer_, *canvas_); });
    history_ = std::make_unique<UndoHistory>(context_.Card, session_.Changed());
    session_.Changed().AddView(history_.get());
    fillIn_ = std::make_unique<FillInController>(context_, session_.Changed(), *cardFace_,
                                                 *renderer_, *canvas_);
    fillIn_->Session().History = history_.get();
    BuildLayoutEditing();

    nameDialog_ = new NameDialog(this);
    AddHelpKey(*nameDialog_, HelpCardList);
    connect(nameDialog_, &NameDialog::doneClicked, this, &MainWindow::NameDialogDone);
    connect(nameDialog_, &NameDialog::cancelClicked, this, &MainWindow::NameDialogCancelled);

    // The layout-editing hint of the card face.
    cardHint_ = new QLabel("Right click on the card for the layout actions", this);
    cardHint_->setObjectName("cardHintLabel");
    statusBar()->addWidget(cardHint_);
    cardHint_->hide();

    BuildMenus();
    BuildCommandGroups();
    HideEmptyMenus();
    SetStartTitle();
    resize(980, 700);
    setMinimumSize(760, 540);

    session_.Load();
}

MainWindow::~MainWindow() {
    // The card tools unhook themselves from the session, which must still be alive then:
    // Qt would delete them only after this window's members are gone.
    delete cardTools_;
}

CardPicture* MainWindow::cardPicture() const {
    return cardFace_->cardPicture();
}

FormatChooser* MainWindow::formatChooser() const {
    return formatChooser_.data();
}

bool MainWindow::CardFaceShown() const {
    return faces_->currentWidget() == cardFace_;
}

void MainWindow::BuildStartFace() {
    startFace_ = new StartFace(faces_);
    faces_->addWidget(startFace_);
    connect(startFace_, &StartFace::commandClicked, this, &MainWindow::CommandButton);
    connect(startFace_, &StartFace::sideClicked, this, &MainWindow::SideClicked);
    connect(startFace_, &StartFace::cardClicked, this,
            [this](int row) { ListClicked(row, false); });
    connect(startFace_, &StartFace::cardChosen, this, [this](int row) { ListClicked(row, true); });
    connect(startFace_, &StartFace::cardDoubleClicked, this, [this] {
        if (session_.Library().Mode() == NameDialogMode::NewCard)
            ShowCardFace();
    });
    connect(startFace_, &StartFace::cancelSelectionClicked, this,
            [this] { session_.Library().CancelSelection(); });
    connect(startFace_, &StartFace::specialNoticeClicked, this, [this] {
        if (specialNotice_)
            specialNotice_();
    });
}

QPushButton* MainWindow::commandButton(int index) const {
    return startFace_->commandButton(index);
}

QListWidget* MainWindow::cardList() const {
    return startFace_->cardList();
}

QRadioButton* MainWindow::sideButton(int index) const {
    return startFace_->sideButton(index);
}

QLabel* MainWindow::cardStatusLabel() const {
    return startFace_->cardStatusLabel();
}

QLabel* MainWindow::specialNoticeLabel() const {
    return startFace_->specialNoticeLabel();
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(UiText(TextId::FileMenu));
    file->setObjectName("fileMenu");
    menus_[size_t(MainMenu::File)] = file;
    auto add = [this](QMenu* menu, const char* name, const QString& caption,
                      QList<QKeySequence> keys, auto slot) {
        QAction* action = menu ? menu->addAction(caption) : new QAction(caption, this);
        action->setObjectName(name);
        action->setShortcuts(keys);
        if (!menu)
            addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(file, "newCardAction", UiText(TextId::CreateNewCard), {QKeySequence::New},
        [this] { CommandButton(0); });
    add(file, "newCardFromFilledFormAction", "New Card from a Filled PDF...", {},
        [this] { NewCardFromFilledForm(); });
    add(file, "saveChangesAction", UiText(TextId::SaveChanges), {QKeySequence::Save, Qt::Key_F3},
        [this] { CommandButton(4); });
    file->addSeparator();
    add(file, "selectFormatAction", UiText(TextId::SelectDefaultFormat) + "...", {Qt::Key_F2},
        [this] { CommandButton(6); });
    file->addSeparator();
    add(file, "copyCardAction", "Copy a Card...", {},
        [this] { SelectionCommand(NameDialogMode::CopyCard); });
    add(file, "copyToDisketteAction", UiText(TextId::CopyCardToDiskette), {},
        [this] { SelectionCommand(NameDialogMode::CopyToDiskette); });
    add(file, "copyFromDisketteAction", UiText(TextId::CopyCardsFromDiskette), {},
        [this] { CommandButton(9); });
    file->addSeparator();
    // Ctrl+Q on every desktop, also where the platform binds no "Quit" key.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    add(file, "exitAction", UiText(TextId::ExitMenuItem), quitKeys, [this] { Quit(); });

    // Undo and redo of card changes.
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("editMenu");
    menus_[size_t(MainMenu::Edit)] = edit;

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("viewMenu");
    menus_[size_t(MainMenu::View)] = view;
    viewCardAction_ = add(view, "viewCardAction", UiText(TextId::ViewEditCard),
                          {QKeySequence(Qt::CTRL | Qt::Key_E)}, [this] { ShowCardFace(); });
    cardFaceActions_.push_back(add(view, "cardListAction", "Card List",
                                   {QKeySequence(Qt::CTRL | Qt::Key_W)},
                                   [this] { LeaveCardFace(); }));
    view->addSeparator();
    cardFaceActions_.push_back(
        add(view, "zoomInAction", "Zoom In", {QKeySequence::ZoomIn}, [this] { ZoomStep(true); }));
    cardFaceActions_.push_back(add(view, "zoomOutAction", "Zoom Out", {QKeySequence::ZoomOut},
                                   [this] { ZoomStep(false); }));
    view->addSeparator();
    cardFaceActions_.push_back(add(view, "frontPageAction", "Front Page",
                                   {QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
                                   [this] { TurnCard(false); }));
    cardFaceActions_.push_back(add(view, "backPageAction", "Back Page",
                                   {QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
                                   [this] { TurnCard(true); }));
    viewCardAction_->setEnabled(false);
    EnableCardFaceCommands(false);

    QMenu* options = menuBar()->addMenu(UiText(TextId::OptionsMenu));
    options->setObjectName("optionsMenu");
    menus_[size_t(MainMenu::Options)] = options;
    QMenu* help = menuBar()->addMenu(UiText(TextId::HelpMenu));
    help->setObjectName("helpMenu");
    menus_[size_t(MainMenu::Help)] = help;

    // The hidden "ShortCuts" menu: keys without a menu item of their own.
    add(nullptr, "refreshScreenAction", "Refresh Screen", {Qt::Key_F4},
        [this] { RefreshScreen(); });
    const std::pair<const char*, char> suits[] = {{"Club Symbol", 'c'},
                                                  {"Diamond Symbol", 'd'},
                                                  {"Heart Symbol", 'h'},
                                                  {"Spade Symbol", 's'}};
    for (int i = 0; i < 4; ++i) {
        char letter = suits[i].second;
        QAction* suit = add(nullptr, "", suits[i].first, {QKeyCombination(Qt::Key(Qt::Key_F5 + i))},
                            [this, letter] {
                                if (!layout_->InsertSuit(letter))
                                    fillIn_->InsertSuit(letter);
                            });
        suit->setObjectName(QStringLiteral("suitSymbolAction%1").arg(i));
    }
    add(nullptr, "scrollLeftAction", "Scroll Left", {Qt::Key_F11},
        [this] { cardFace_->ScrollPage(Qt::Horizontal, -1); });
    add(nullptr, "scrollRightAction", "Scroll Right", {Qt::Key_F12},
        [this] { cardFace_->ScrollPage(Qt::Horizontal, 1); });
    add(nullptr, "scrollUpAction", "Scroll Up", {QKeySequence(Qt::SHIFT | Qt::Key_F11)},
        [this] { cardFace_->ScrollPage(Qt::Vertical, -1); });
    add(nullptr, "scrollDownAction", "Scroll Down", {QKeySequence(Qt::SHIFT | Qt::Key_F12)},
        [this] { cardFace_->ScrollPage(Qt::Vertical, 1); });
}

void MainWindow::BuildCommandGroups() {
    QMenu* file = menu(MainMenu::File);
    QAction* exit = file->findChild<QAction*>("exitAction");
    // Printing and saving as a picture go above the closing "Exit", after the rest of the
    // File menu; the card tools after them.
    output_ = new CardOutputCommands(*this, context_);
    output_->AddCommands(file, exit);
    session_.Changed().AddView(output_);
    cardTools_ = new CardTools(*this, context_);
    file->insertSeparator(exit);
    cardTools_->AddCommands(file, exit, menu(MainMenu::View));
    undo_ = new UndoCommands(*this, context_);
    undo_->AddCommands(menu(MainMenu::Edit));
    reading_ = new ReadingCommands(*this, context_);
    reading_->AddCommands(menu(MainMenu::Options), menuBar(), menu(MainMenu::Help)->menuAction());
    optionsAndHelp_ = new OptionsAndHelpCommands(*this, context_);
    optionsAndHelp_->AddCommands(menu(MainMenu::Options), menu(MainMenu::Help));
}

void MainWindow::PrintCommand(PrintCardChoice choice) {
    output_->PrintCommand(choice);
}

void MainWindow::UsePrintQuestions(PrintQuestions* questions) {
    output_->UsePrintQuestions(questions);
}

void MainWindow::SaveCardAs() {
    output_->SaveCardAs();
}

void MainWindow::UseExportFileChooser(ExportFileChooser* chooser) {
    output_->UseExportFileChooser(chooser);
}

void MainWindow::OpenNotes() {
    reading_->OpenNotes();
}

void MainWindow::ShowReferenceText(const std::string& fileName) {
    reading_->ShowReferenceText(fileName);
}

NotesWindow* MainWindow::notesWindow() const {
    return reading_->notesWindow();
}

ReferenceTextWindow* MainWindow::referenceTextWindow() const {
    return reading_->referenceTextWindow();
}

void MainWindow::UndoStep(bool redo) {
    undo_->Step(redo);
}

void MainWindow::HideEmptyMenus() {
    // A menu shows only once it offers something.
    for (QMenu* menu : menus_)
        menu->menuAction()->setVisible(!menu->isEmpty());
}

void MainWindow::SetStartTitle() {
    setWindowModified(false);
    setWindowTitle(UiText(TextId::ProgramName) + " - " + UiText(TextId::VersionPrefix) +
                   QString::fromStdString(context_.AppVersion));
}

QString CardWindowTitle(const QString& cardName, const QString& formatName) {
    // "Smith-Jones Pairs – ACBL card – Cardwright"; Qt puts the "*" of unsaved changes at
    // the placeholder.
    QString format = formatName.trimmed();
    if (!format.endsWith(QStringLiteral("card"), Qt::CaseInsensitive))
        format += QStringLiteral(" card");
    const QString dash = QStringLiteral(" \u2013 ");
    return cardName + QStringLiteral("[*]") + dash + format + dash + UiText(TextId::ProgramName);
}

void MainWindow::SetCardTitle() {
    std::string name = context_.Card.Location().CurrentCardName;
    if (!name.empty() && name.back() == '_')
        name.pop_back();
    setWindowTitle(
        CardWindowTitle(FromFileName(session_.Library().ShownNameOf(name)), formatName_));
    setWindowModified(session_.Changed().CardChanged());
}

void MainWindow::TurnCard(bool backSide) {
    // The tab shows the page on show, whatever happens below.
    auto showSide = [this] {
        cardFace_->ShowSide(context_.Card.BackSide());
    };
    if (!CardFaceShown() || backSide == context_.Card.BackSide() ||
        !startFace_->sideButton(1)->isEnabled()) {
        showSide();
        return;
    }
    // A field being placed, then what was typed, then the page's unsaved changes (asked by
    // the switch itself: Yes saves, No drops them, Cancel stays).
    if (!layout_->Session().SettlePending()) {
        showSide();
        return;
    }
    fillIn_->CommitOpenEditor();
    SideClicked(backSide ? 1 : 0);
    showSide();
}

void MainWindow::CommandButton(int index) {
    context_.errorTrap.Guard(
        loc::CommandButton,
        [&] {
            CardLibrary& library = session_.Library();
            // What is typed into an open field belongs to the card before any command.
            fillIn_->CommitOpenEditor();
            switch (index) {
            case 0:
                if (library.PrepareNewCard())
                    OpenNameDialog({}, false);
                break;
            case 2:
                SaveCardAs();
                break;
            case 1:
                if (auto entries = library.PrepareEditNames())
                    OpenNameDialog({FromFileName((*entries)[0]), FromCard((*entries)[1]),
                                    FromCard((*entries)[2]), FromCard((*entries)[3]),
                                    FromCard((*entries)[4])},
                                   true);
                break;
            case 3:
                SelectionCommand(NameDialogMode::DeleteCard);
                break;
            case 4:
                session_.SaveChanges();
                break;
            case 5:
                ShowCardFace();
                break;
            case 6:
                OpenFormatChooser();
                break;
            case 7:
                close();
                break;
            case 8:
                SelectionCommand(NameDialogMode::CopyToDiskette);
                break;
            case 9:
                session_.Library().CopyCardsFromDiskette();
                break;
            default:
                break;
            }
        },
        [&] { return std::vector<ErrValue>{index}; });
}

void MainWindow::SelectionCommand(NameDialogMode mode) {
    if (CardFaceShown())
        LeaveCardFace();
    if (session_.Library().StartCardSelection(mode))
        cardList()->setFocus();
}

bool MainWindow::OpenCardFile(const std::filesystem::path& file) {
    if (CardFaceShown())
        LeaveCardFace();
    if (!session_.OpenCardFile(file))
        return false;
    ShowCardFace();
    return true;
}

void MainWindow::ListClicked(int row, bool view) {
    CardLibrary& library = session_.Library();
    bool opening = library.Mode() == NameDialogMode::NewCard;
    library.ListClick(row);
    if (view && opening && session_.Changed().CardOpen())
        ShowCardFace();
}

void MainWindow::OpenNameDialog(const std::array<QString, 5>& entries, bool nameReadOnly) {
    PauseBlinking(true);
    nameDialog_->ShowEntries(entries, nameReadOnly);
    nameDialog_->adjustSize();
    nameDialog_->show();
    nameDialog_->raise();
    nameDialog_->activateWindow();
}

void MainWindow::PauseBlinking(bool pause) {
    startFace_->PauseBlinking(pause);
}

void MainWindow::NewCardFromFilledForm(std::optional<fs::path> filled) {
    const std::string title = "New Card from a Filled PDF";
    if (!CurrentFormatHasForm(context_)) {
        context_.prompter.Message(
            "The card format " + context_.Format.Column(ColDisplayName) +
                " was not made from a fillable PDF form, so no filled form can be read into its "
                "cards. Choose such a format first (F2).",
            title, Buttons::Ok, Icon::Information);
        return;
    }
    if (!filled) {
        const QString file = QFileDialog::getOpenFileName(this, QString::fromStdString(title),
                                                          QString(), "PDF forms (*.pdf)");
        if (file.isEmpty())
            return;
        filled = file.toStdString();
    }
    // The form is read before the card is named, so that a file that is no filled copy of
    // the format's form is said at once and no card is made.
    try {
        NewCardPagesFromForm(context_, *filled);
    } catch (const std::runtime_error& error) {
        context_.prompter.Message(std::string("No card can be made from ") +
                                      filled->filename().string() + ". " + error.what(),
                                  title, Buttons::Ok, Icon::Warning);
        return;
    }
    pendingFilledForm_ = *filled;
    CommandButton(0);
}

void MainWindow::NameDialogDone() {
    NameEntries entries;
    auto texts = nameDialog_->Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = ToCard(texts[i]);
    const bool creating = session_.Library().Mode() == NameDialogMode::NewCard;
    // A name that is refused leaves the dialog open for another try.
    if (!session_.Library().FinishNameDialog(entries))
        return;
    nameDialog_->hide();
    activateWindow();
    PauseBlinking(false);
    if (std::optional<fs::path> filled = std::exchange(pendingFilledForm_, std::nullopt);
        filled && creating && session_.Changed().CardOpen())
        FillNewCardFromForm(*filled);
    // A format made from a scan or a PDF without a form starts with no fields at all.
    if (creating && CardFaceShown() && context_.Card.Page().Count(TextField) == 0 &&
        context_.Card.Page().Count(CheckBox) == 0)
        statusBar()->showMessage("This card has no fields yet: right-click where one belongs "
                                 "and choose \"Add a Text Field\" or \"Add a Check box\".");
    if (CardFaceShown())
        cardPicture()->setFocus();
}

void MainWindow::FillNewCardFromForm(const fs::path& filled) {
    const std::string name = context_.Card.Location().CurrentCardName;
    try {
        const FormTransfer transfer = FillInCardFromForm(context_, name, filled);
        session_.Library().OpenCardNamed(name, false);
        ShowCardFace();
        statusBar()->showMessage(QString("%1 fields filled in from %2")
                                     .arg(transfer.fieldsSet)
                                     .arg(QString::fromStdString(filled.filename().string())));
        if (!transfer.notTransferred.empty())
            context_.prompter.Message("Not read from the form:\n" + transfer.notTransferred.front(),
                                      "New Card from a Filled PDF", Buttons::Ok, Icon::Information);
    } catch (const std::runtime_error& error) {
        context_.prompter.Message("The card " + name + " was made blank: " + error.what(),
                                  "New Card from a Filled PDF", Buttons::Ok, Icon::Warning);
    }
}

void MainWindow::NameDialogCancelled() {
    pendingFilledForm_.reset();
    session_.Library().CancelNameDialog();
    nameDialog_->hide();
    activateWindow();
    PauseBlinking(false);
}

void MainWindow::ShowCardFace() {
    if (!session_.Changed().CardOpen())
        return;
    context_.errorTrap.Guard(loc::ShowCardFace, [&] {
        layout_->Abandon();
        faces_->setCurrentWidget(cardFace_);
        SizeCardPicture();
        Redraw();
        SetCardTitle();
        cardHint_->show();
        cardFace_->ShowSide(context_.Card.BackSide());
        EnableCardFaceCommands(true);
        cardPicture()->setFocus();
        fillIn_->StartFilling();
    });
    undo_->Update();
}

bool MainWindow::LeaveCardFace() {
    if (!CardFaceShown())
        return true;
    // A field being placed is not dropped without asking.
    if (!layout_->Session().SettlePending())
        return false;
    fillIn_->CommitOpenEditor();
    session_.QueryUnload(true);
    ReturnToStartFace();
    return true;
}

void MainWindow::Quit() {
    if (CardFaceShown()) {
        // Ending the program from the card: what is being placed and the card's unsaved
        // changes are asked about there, and Cancel stays on the card.
        if (!layout_->Session().SettlePending())
            return;
        fillIn_->CommitOpenEditor();
        if (session_.Changed().AskSaveChanges() == Answer::Cancel)
            return;
        LeaveCardFace();
    }
    close();
}

void MainWindow::ReturnToStartFace() {
    layout_->Abandon();
    fillIn_->Reset();
    faces_->setCurrentWidget(startFace_);
    SetStartTitle();
    cardHint_->hide();
    EnableCardFaceCommands(false);
    cardFace_->ShowZoomFactor(context_.View.ZoomFactor());
    cardList()->setFocus();
    undo_->Update();
}

void MainWindow::EnableCardFaceCommands(bool enabled) {
    for (QAction* action : cardFaceActions_)
        action->setEnabled(enabled);
}

void MainWindow::Redraw() {
    context_.errorTrap.Guard(loc::DrawCardPicture, [&] { cardPicture()->Redraw(); });
}

void MainWindow::RefreshScreen() {
    if (!CardFaceShown())
        return;
    // While the layout is edited the panel's own refresh keeps its action in step.
    if (layout_->Editing() || layout_->Session().State().PanelVisible) {
        layout_->RefreshScreen();
        return;
    }
    context_.errorTrap.Guard(loc::RefreshScreen, [&] {
        int field = fillIn_->Session().CurrentField;
        fillIn_->CommitOpenEditor();
        if (session_.Changed().AskSaveChanges() == Answer::No && session_.Changed().CardOpen()) {
            // No: the changes are dropped and the card is read again from its file.
            fillIn_->Reset();
            context_.LoadCard();
            history_->Reset();
        }
        Redraw();
        if (field != FillInSession::NoField && field < context_.Card.Page().Count(TextField))
            fillIn_->Session().OpenTextEditor(field);
    });
}

void MainWindow::ZoomStep(bool in) {
    if (!CardFaceShown())
        return;
    context_.errorTrap.Guard(loc::ZoomButtons, [&] {
        auto outcome = ZoomControl::Zoom(context_.View, in, context_.Format.Defaults().NaturalWidth,
                                         context_.Format.Defaults().NaturalHeight,
                                         cardFace_->InnerWidthTwips(),
                                         cardFace_->InnerHeightTwips(), context_.prompter);
        if (outcome == ZoomControl::Outcome::Zoomed) {
            int field = fillIn_->Session().CurrentField;
            fillIn_->CommitOpenEditor();
            SizeCardPicture();
            Redraw();
            // The open field follows the zoom, in the new size.
            if (field != FillInSession::NoField)
                fillIn_->Session().OpenTextEditor(field);
        }
    });
}

void MainWindow::SaveZoomFactor() {
    context_.errorTrap.Guard(loc::SaveZoomFactor, [&] {
        context_.Format.EditDefaults().SavedZoom = int16_t(std::lround(context_.View.ZoomFactor()));
        context_.ApplyFormatDefaults(true);
    });
}

void MainWindow::OpenFormatChooser(int16_t highlighted) {
    if (formatChooser_ || !session_.PrepareFormatChoice())
        return;
    context_.errorTrap.Guard(loc::CardsListLoad, [&] {
        BusyScope busy(context_.prompter);
        formatChooser_ = new FormatChooser(
            context_.Format.Catalogue(), highlighted >= 0 ? highlighted : context_.Format.Current(),
            context_.TwipsPerPixel, this);
        connect(formatChooser_, &FormatChooser::newFormatRequested, this,
                &MainWindow::MakeFormatFromBlankCard);
        connect(formatChooser_, &FormatChooser::exportFormatRequested, this,
                &MainWindow::ExportFormatFile);
        connect(formatChooser_, &FormatChooser::importFormatRequested, this,
                &MainWindow::ImportFormatFile);
        formatChooser_->setAttribute(Qt::WA_DeleteOnClose);
        AddHelpKey(*formatChooser_, HelpCardList);
        connect(formatChooser_, &FormatChooser::formatChosen, this, [this](int16_t slot) {
            session_.ChooseFormat(slot);
            if (!session_.Changed().CardOpen() && CardFaceShown())
                LeaveCardFace();
        });
        connect(formatChooser_, &QDialog::finished, this, [this] {
            activateWindow();
            PauseBlinking(false);
        });
        PauseBlinking(true);
        formatChooser_->open();
    });
}

void MainWindow::MakeFormatFromBlankCard() {
    NewFormatDialog dialog(context_.paths.ProgramFolder, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int16_t made = SlotOfNewFormat(dialog.MadeCode());
    if (made < 0 || !session_.ChooseFormat(made))
        return;
    if (!session_.Changed().CardOpen() && CardFaceShown())
        LeaveCardFace();
    // The user made the format to fill it in: name the first card of it at once.
    QTimer::singleShot(0, this, [this] { CommandButton(0); });
}

int16_t MainWindow::SlotOfNewFormat(const std::string& code) {
    if (formatChooser_) {
        formatChooser_->close();
        formatChooser_ = nullptr;
    }
    // The new format's record ends the list, so every slot before it stays where it was.
    context_.ReadSystemSettings();
    for (int16_t slot = 0; slot < context_.Format.Catalogue().FormatCount; ++slot)
        if (EqualsIgnoreCase(context_.Format.Catalogue().Code(slot), code))
            return slot;
    return -1;
}

void MainWindow::ExportFormatFile(int16_t slot) {
    if (!context_.Format.Catalogue().IsValidSlot(slot))
        return;
    const std::string code = context_.Format.Catalogue().Code(slot);
    const QString chosen = QFileDialog::getSaveFileName(
        formatChooser_ ? static_cast<QWidget*>(formatChooser_) : this, "Export Card Format",
        QDir::home().filePath(QString::fromStdString(code) + ".cwformat"),
        "Card formats (*.cwformat)");
    if (chosen.isEmpty())
        return;
    fs::path file = chosen.toStdString();
    if (!EqualsIgnoreCase(file.extension().string(), ".cwformat"))
        file += ".cwformat";
    try {
        BusyScope busy(context_.prompter);
        ExportFormat(context_.paths.ProgramFolder, code, file);
    } catch (const std::exception& error) {
        context_.prompter.Message(error.what(), "Export Card Format", Buttons::Ok, Icon::Warning);
        return;
    }
    statusBar()->showMessage(QString("Card format %1 saved as %2")
                                 .arg(QString::fromStdString(code),
                                      QString::fromStdString(FileNameToUtf8(file.string()))));
}

void MainWindow::ImportFormatFile() {
    const QString chosen = QFileDialog::getOpenFileName(
        formatChooser_ ? static_cast<QWidget*>(formatChooser_) : this, "Import Card Format",
        QDir::homePath(), "Card formats (*.cwformat)");
    if (chosen.isEmpty())
        return;
    FormatRecordLines imported;
    try {
        BusyScope busy(context_.prompter);
        imported = ImportFormat(context_.paths.ProgramFolder, chosen.toStdString());
    } catch (const std::exception& error) {
        context_.prompter.Message(error.what(), "Import Card Format", Buttons::Ok, Icon::Warning);
        return;
    }
    const int16_t slot = SlotOfNewFormat(imported.code);
    statusBar()->showMessage(
        QString("Card format %1 added").arg(QString::fromStdString(imported.code)));
    // The chooser again, on the format just added, to choose it with "Done".
    QTimer::singleShot(0, this, [this, slot] { OpenFormatChooser(slot); });
}

void MainWindow::SideClicked(int side) {
    if (!session_.Library().SwitchSide(side == 1))
        return;
    if (CardFaceShown())
        ShowCardFace();
}

void MainWindow::BuildLayoutEditing() {
    layout_ = std::make_unique<LayoutController>(context_, session_.Changed(), *history_,
                                                 *cardFace_, *renderer_, *canvas_, *fillIn_);
    CardPicture* picture = cardPicture();
    // Clicks belong to the layout action in force, else to filling in.
    connect(picture, &CardPicture::cardClicked, this, [this](QPoint twips) {
        if (layout_->Editing())
            layout_->Clicked(twips);
        else
            fillIn_->Click(twips);
    });
    connect(picture, &CardPicture::cardMousePressed, this,
            [this](QPoint twips, Qt::MouseButton button) { layout_->MousePressed(twips, button); });
    connect(picture, &CardPicture::cardMouseMoved, this,
            [this](QPoint twips) { layout_->MouseMoved(twips); });
    connect(picture, &CardPicture::cardMouseReleased, this,
            [this](QPoint twips, Qt::MouseButton) { layout_->MouseReleased(twips); });
    connect(picture, &CardPicture::cardContextMenu, this,
            [this](QPoint twips, QPoint global) { layout_->ContextMenu(twips, global); });
    connect(layout_.get(), &LayoutController::zoomRequested, this, &MainWindow::ZoomStep);
    connect(layout_.get(), &LayoutController::saveZoomRequested, this, &MainWindow::SaveZoomFactor);
    for (int i = 0; i < 6; ++i)
        fillIn_->fieldEditor(i)->installEventFilter(this);
    history_->SetRestoredHandler([this](const std::vector<int>&) {
        context_.errorTrap.Guard(loc::RedrawAfterUndo, [&] { cardPicture()->Redraw(); });
    });
    layout_->SetHelpHandler([this](int topic) { ShowProgramHelp(topic, this); });
    layout_->SetSaveAsHandler([this] { SaveCardAs(); });
}

// ---- CardFormatView

void MainWindow::SetSideButtonsEnabled(bool enabled) {
    startFace_->SetSideButtonsEnabled(enabled);
    cardFace_->SetSidesEnabled(enabled);
}

void MainWindow::SelectFrontSide() {
    ShowSide(false);
}

void MainWindow::SizeCardPicture() {
    const FormatCatalogue& catalogue = context_.Format.Catalogue();
    int32_t offset = 0, rightOffset = 0;
    if (context_.HasFormat()) {
        offset = int32_t(catalogue.Number(context_.Format.Current(), ColHorizontalOffset));
        rightOffset = int32_t(catalogue.Number(context_.Format.Current(), ColRightOffset));
    }
    const ViewState& view = context_.View;
    cardFace_->SetPage(view.ZoomedWidth(), view.ZoomedHeight(), view.ViewScale(),
                       context_.TwipsPerPixel, offset, rightOffset);
    cardFace_->ShowZoomFactor(view.ZoomFactor());
}

void MainWindow::ShowFormatName(const std::string& displayName) {
    formatName_ = DecodeDisplayName(displayName);
    startFace_->ShowFormatName(formatName_);
}

void MainWindow::ShowFormatPicture(const std::optional<fs::path>& picture) {
    startFace_->ShowFormatPicture(picture);
}

void MainWindow::ShowSpecialNoticeLabel(bool visible) {
    startFace_->ShowSpecialNoticeLabel(visible);
}

void MainWindow::RefillCardList() {
    session_.Library().FillCardList();
}

// ---- CardLibraryView

void MainWindow::ShowCardList(const std::vector<std::string>& entries) {
    // The names as the user typed them; the library keeps the entries.
    const std::vector<std::string>& names = session_.Library().ShownNames();
    startFace_->ShowCardList(names.size() == entries.size() ? names : entries);
}

void MainWindow::SelectCardInList(int index) {
    startFace_->SelectCardInList(index);
}

void MainWindow::ShowFirstCardHint(bool visible) {
    startFace_->ShowFirstCardHint(visible);
}

void MainWindow::ShowSelectionPrompt(const std::string& text, bool cancelVisible) {
    startFace_->ShowSelectionPrompt(QString::fromStdString(text), cancelVisible);
}

void MainWindow::ShowCardStatus(const std::string& text) {
    // The card's name (a file name) and the program's words.
    startFace_->ShowCardStatus(FromFileName(text));
}

void MainWindow::ShowSide(bool backSide) {
    startFace_->ShowSide(backSide);
    cardFace_->ShowSide(backSide);
}

// ---- ChangedStateView

void MainWindow::EnableSaveCommands(bool enabled) {
    startFace_->EnableSaveCommand(enabled);
    // The "*" of the title on the card face.
    setWindowModified(enabled && CardFaceShown());
}

void MainWindow::EnableCardCommands(bool enabled, bool namesEditable) {
    startFace_->EnableCardCommands(enabled, namesEditable);
    if (viewCardAction_)
        viewCardAction_->setEnabled(enabled);
    // A card closed while it is on show takes the window back to its card list.
    if (!enabled && CardFaceShown())
        ReturnToStartFace();
}

// ---- events

void MainWindow::closeEvent(QCloseEvent* event) {
    if (CardFaceShown() && !layout_->Session().SettlePending()) {
        event->ignore();
        return;
    }
    fillIn_->CommitOpenEditor();
    // Notes being written are not lost with the program: their window asks first.
    if (!CardFaceShown() && !reading_->CloseNotes()) {
        event->ignore();
        return;
    }
    switch (session_.QueryUnload(CardFaceShown())) {
    case MainSession::CloseResult::ReturnedToStartFace:
        ReturnToStartFace();
        event->ignore();
        break;
    case MainSession::CloseResult::Cancelled:
        SetStartTitle();
        event->ignore();
        break;
    case MainSession::CloseResult::Closed:
        nameDialog_->hide();
        event->accept();
        break;
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    context_.prompter.ResetBusy();
    // Cards may have come or gone while the program was in the background.
    if (!CardFaceShown() && session_.Library().Mode() == NameDialogMode::NewCard &&
        !QApplication::activeModalWidget())
        session_.Library().FillCardList();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    // An editor undoes and redoes its own typing first; with nothing of its own to undo or
    // redo the key goes on to the card's history. Every redo key of the Edit menu counts,
    // also those the editors do not know themselves (Ctrl+Y on Linux).
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = IsRedoKey(*key);
    if (!undo && !redo)
        return QMainWindow::eventFilter(watched, event);
    auto* line = qobject_cast<QLineEdit*>(watched);
    auto* text = qobject_cast<QTextEdit*>(watched);
    if (!line && !text)
        return QMainWindow::eventFilter(watched, event);
    const bool own =
        line ? (undo ? line->isUndoAvailable() : line->isRedoAvailable())
             : (undo ? text->document()->isUndoAvailable() : text->document()->isRedoAvailable());
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted: the key reaches the editor; ignored: the Edit menu's shortcut fires.
        event->setAccepted(own);
        return true;
    }
    if (redo && own) {
        if (line)
            line->redo();
        else
            text->redo();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace cw
