#include "MainWindow.h"

#include "AboutDialog.h"
#include "AppContext.h"
#include "CardCanvas.h"
#include "CardExport.h"
#include "CardFace.h"
#include "UndoHistory.h"
#include "CardOptionsDialog.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "CardTools.h"
#include "EditLocations.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "FillInController.h"
#include "FormatChooser.h"
#include "GradientBackground.h"
#include "HelpTopics.h"
#include "HelpWindow.h"
#include "LayoutController.h"
#include "LocationCodes.h"
#include "MailSettingsDialog.h"
#include "NameDialog.h"
#include "NotesWindow.h"
#include "OptionsLocations.h"
#include "PrintDialog.h"
#include "PrintJob.h"
#include "ProgramTexts.h"
#include "ReferenceTextWindow.h"
#include "SaveCardAsDialog.h"
#include "ShownCardPages.h"
#include "TextCodec.h"
#include "TransferFolderPicker.h"
#include "ViewScaling.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
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
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace cw {

namespace {

QString Text(int number) {
    return QString::fromStdString(GetProgramText(number));
}

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

constexpr int kButtonWidth = 270;

} // namespace

MainWindow::MainWindow(AppContext& context, TransferFolderChooser* chooser, QWidget* parent)
    : QMainWindow(parent), context_(context),
      ownChooser_(chooser ? nullptr : std::make_unique<TransferFolderPicker>(this)),
      session_(context, *this, *this, chooser ? *chooser : *ownChooser_) {
    setObjectName("MainWindow");
    session_.Changed().AddView(this);
    specialNotice_ = [this] {
        ShowReferenceText("special.txt");
    };

    faces_ = new QStackedWidget(this);
    setCentralWidget(faces_);
    BuildStartFace();
    cardFace_ = new CardFace(faces_);
    faces_->addWidget(cardFace_);
    connect(cardFace_, &CardFace::zoomRequested, this, &MainWindow::ZoomStep);
    connect(cardFace_, &CardFace::saveZoomRequested, this, &MainWindow::SaveZoomFactor);
    connect(cardPicture(), &CardPicture::cardKeyPressed, this, [this](QKeyEvent* event) {
        if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
            cardFace_->ScrollPage(Qt::Vertical, event->key() == Qt::Key_PageUp ? -1 : 1);
            event->accept();
        }
    });
    canvas_ = std::make_unique<CardCanvas>();
    canvasView_ = std::make_unique<CanvasCardView>(context_, *canvas_);
    renderer_ = std::make_unique<CardRenderer>(context_, *canvasView_);
    cardPicture()->SetSource(&canvas_->Picture(), [this] {
        canvas_->Fit(context_.View, context_.TwipsPerPixel);
        renderer_->State.PrintMode = 0;
        renderer_->SelectSurface(canvas_->Surface());
        renderer_->RenderCard();
    });
    history_ = std::make_unique<UndoHistory>(context_.Page, session_.Changed());
    session_.Changed().AddView(history_.get());
    fillIn_ = std::make_unique<FillInController>(context_, session_.Changed(), *cardFace_,
                                                 *renderer_, *canvas_);
    fillIn_->Session().History = history_.get();
    BuildLayoutEditing();

    nameDialog_ = new NameDialog(this);
    connect(nameDialog_, &NameDialog::doneClicked, this, &MainWindow::NameDialogDone);
    connect(nameDialog_, &NameDialog::cancelClicked, this, &MainWindow::NameDialogCancelled);

    BuildMenus();
    BuildUndoCommands();
    BuildPrintCommands();
    BuildNotesAndTextsCommands();
    BuildOptionsCommands();
    BuildHelpCommands();
    BuildCardToolCommands();
    HideEmptyMenus();
    SetStartTitle();
    resize(980, 700);
    setMinimumSize(760, 540);

    session_.Load();
}

MainWindow::~MainWindow() = default;

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
    startFace_ = new GradientBackground(0, faces_);
    startFace_->setObjectName("StartFace");
    startFace_->setStyleSheet(
        "QLabel { color: white; }"
        "QFrame#SidePanel { background: rgba(255, 255, 255, 235); border-radius: 6px; }"
        "QFrame#SidePanel QLabel { color: #1d2340; }"
        "QRadioButton { color: #1d2340; font-weight: bold; }"
        "QRadioButton:disabled { color: #9499ad; }"
        "QLabel#formatNameLabel { font-size: 22pt; font-weight: bold; }"
        "QLabel#cardStatusLabel { font-size: 11pt; font-weight: bold; }"
        "QLabel#selectionPromptLabel { color: #ffe680; font-size: 11pt; font-weight: bold; }"
        "QLabel#FirstCardHint { color: #1d2340; background: #fff6c8; border: 1px solid #d9b84a;"
        " border-radius: 6px; padding: 8px 10px; }"
        "QLabel#specialNoticeLabel { font-size: 11pt; }"
        "QListWidget#cardList { font-size: 11pt; border: 1px solid #1a2a6a; }"
        "QListWidget#cardList::item { padding: 3px 6px; }"
        "QPushButton { padding: 6px 10px; text-align: left; }");
    faces_->addWidget(startFace_);

    // The four suits beside the format's name, in the program's suit font when it is there.
    auto* suits = new QLabel(startFace_);
    suits->setObjectName("SuitOrnament");
    bool pip4 = QFontDatabase::families().contains("Pip4");
    const char* glyphs[4] = {pip4 ? "A" : "\u2663", pip4 ? "B" : "\u2666", pip4 ? "C" : "\u2665",
                             pip4 ? "D" : "\u2660"};
    QString html = QString("<span style=\"font-family:'%1'; font-size:24pt;\">")
                       .arg(pip4 ? "Pip4" : QApplication::font().family());
    for (int i = 0; i < 4; ++i)
        html += QString("<span style=\"color:%1;\">%2</span>&nbsp;")
                    .arg(i == 1 || i == 2 ? "#ff6a6a" : "#ffffff", QString::fromUtf8(glyphs[i]));
    suits->setText(html + "</span>");

    formatNameLabel_ = new QLabel(startFace_);
    formatNameLabel_->setObjectName("formatNameLabel");
    formatNameLabel_->setWordWrap(true);
    formatPicture_ = new QLabel(startFace_);
    formatPicture_->setObjectName("formatPicture");
    formatPicture_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* header = new QHBoxLayout;
    header->setSpacing(16);
    header->addWidget(suits, 0, Qt::AlignVCenter);
    header->addWidget(formatNameLabel_, 1, Qt::AlignVCenter);
    header->addWidget(formatPicture_, 0, Qt::AlignVCenter);

    listLabel_ = new QLabel(Text(400), startFace_);
    listLabel_->setObjectName("ListLabel");
    QFont bold = listLabel_->font();
    bold.setBold(true);
    listLabel_->setFont(bold);
    cardList_ = new QListWidget(startFace_);
    cardList_->setObjectName("cardList");
    cardList_->setSelectionMode(QAbstractItemView::SingleSelection);
    cardList_->installEventFilter(this);
    listLabel_->setBuddy(cardList_);
    // Clicks are handled once the list has finished with them: an operation may refill it.
    connect(cardList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        int row = cardList_->row(item);
        QTimer::singleShot(0, this, [this, row] { ListClicked(row, false); });
    });
    connect(cardList_, &QListWidget::itemDoubleClicked, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (session_.Library().Mode() == NameDialogMode::NewCard)
                ShowCardFace();
        });
    });

    sideGroup_ = new QButtonGroup(this);
    auto* sidePanel = new QFrame(startFace_);
    sidePanel->setObjectName("SidePanel");
    auto* sidePanelLayout = new QHBoxLayout(sidePanel);
    sidePanelLayout->setContentsMargins(12, 6, 16, 6);
    sidePanelLayout->setSpacing(18);
    const int sideCaptions[2] = {422, 426};
    for (int i = 0; i < 2; ++i) {
        sideButtons_[size_t(i)] = new QRadioButton(Text(sideCaptions[i]), sidePanel);
        sideButtons_[size_t(i)]->setObjectName(QString("sideButton(%1)").arg(i));
        sideGroup_->addButton(sideButtons_[size_t(i)], i);
        sidePanelLayout->addWidget(sideButtons_[size_t(i)]);
    }
    auto* sides = new QHBoxLayout;
    sides->addWidget(sidePanel);
    sides->addStretch(1);
    sideButtons_[0]->setChecked(true);
    connect(sideGroup_, &QButtonGroup::idClicked, this, &MainWindow::SideClicked);

    selectionPromptLabel_ = new QLabel(startFace_);
    selectionPromptLabel_->setObjectName("selectionPromptLabel");
    selectionPromptLabel_->hide();
    cancelSelectionButton_ = new QPushButton(Text(401), startFace_);
    cancelSelectionButton_->setObjectName("cancelSelectionButton");
    cancelSelectionButton_->hide();
    connect(cancelSelectionButton_, &QPushButton::clicked, this,
            [this] { session_.Library().CancelSelection(); });
    auto* prompt = new QHBoxLayout;
    prompt->addWidget(selectionPromptLabel_);
    prompt->addWidget(cancelSelectionButton_);
    prompt->addStretch(1);

    cardStatusLabel_ = new QLabel(startFace_);
    cardStatusLabel_->setObjectName("cardStatusLabel");
    firstCardHint_ = new QLabel(
        "Your card list holds only the sample card TESTCRD.  Click \u201c" + Text(410) +
            "\u201d to make a card of your own for your partnership; you can still open the "
            "sample card to see how a finished card looks.",
        startFace_);
    firstCardHint_->setObjectName("FirstCardHint");
    firstCardHint_->setWordWrap(true);
    firstCardHint_->hide();
    specialNoticeLabel_ =
        new QLabel("<a href=\"notice\" style=\"color:#ffe680;\">Please Click for a SPECIAL "
                   "Notice</a>",
                   startFace_);
    specialNoticeLabel_->setObjectName("specialNoticeLabel");
    specialNoticeLabel_->setTextFormat(Qt::RichText);
    specialNoticeLabel_->hide();
    connect(specialNoticeLabel_, &QLabel::linkActivated, this, [this] {
        if (specialNotice_)
            specialNotice_();
    });

    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(listLabel_);
    left->addWidget(cardList_, 1);
    left->addLayout(sides);
    left->addLayout(prompt);
    left->addWidget(cardStatusLabel_);
    left->addWidget(firstCardHint_);
    left->addWidget(specialNoticeLabel_);

    const QString captions[10] = {Text(410),
                                  Text(411),
                                  Text(412),
                                  Text(413),
                                  Text(86) + " (F3)",
                                  Text(85),
                                  "Select Card Format (F2)",
                                  Text(416),
                                  "Copy a Card to Diskette",
                                  "Copy Cards from Diskette"};
    for (int i = 0; i < 10; ++i) {
        auto* button = new QPushButton(captions[i], startFace_);
        button->setObjectName(QString("commandButton(%1)").arg(i));
        button->setFixedWidth(kButtonWidth);
        button->setMinimumHeight(34);
        connect(button, &QPushButton::clicked, this, [this, i] { CommandButton(i); });
        commandButtons_[size_t(i)] = button;
    }
    // The blinking button keeps its place while it is hidden.
    QSizePolicy keep = commandButtons_[0]->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    commandButtons_[0]->setSizePolicy(keep);
    QFont strong = commandButtons_[5]->font();
    strong.setBold(true);
    commandButtons_[5]->setFont(strong);
    commandButtons_[0]->setFont(strong);

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addSpacing(listLabel_->sizeHint().height() + 8);
    for (int i : {0, 5, 1, 4, 2, 3})
        right->addWidget(commandButtons_[size_t(i)]);
    right->addSpacing(14);
    right->addWidget(commandButtons_[6]);
    right->addSpacing(14);
    right->addWidget(commandButtons_[8]);
    right->addWidget(commandButtons_[9]);
    right->addStretch(1);
    right->addWidget(commandButtons_[7]);

    auto* body = new QHBoxLayout;
    body->setSpacing(28);
    body->addLayout(left, 1);
    body->addLayout(right);

    // On a wide window the content keeps a readable width in the middle.
    auto* content = new QWidget(startFace_);
    content->setObjectName("StartContent");
    content->setMaximumWidth(1080);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    column->addLayout(header);
    column->addLayout(body, 1);
    auto* outer = new QHBoxLayout(startFace_);
    outer->setContentsMargins(30, 18, 30, 20);
    outer->addStretch(0);
    outer->addWidget(content, 1);
    outer->addStretch(0);

    blinkTimer_ = new QTimer(this);
    blinkTimer_->setObjectName("blinkTimer");
    blinkTimer_->setInterval(600);
    connect(blinkTimer_, &QTimer::timeout, this,
            [this] { commandButtons_[0]->setVisible(!commandButtons_[0]->isVisible()); });
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(Text(560));
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
    add(file, "newCardAction", Text(410), {QKeySequence::New}, [this] { CommandButton(0); });
    add(file, "saveChangesAction", Text(86), {QKeySequence::Save, Qt::Key_F3},
        [this] { CommandButton(4); });
    file->addSeparator();
    add(file, "selectFormatAction", Text(580) + "...", {Qt::Key_F2}, [this] { CommandButton(6); });
    file->addSeparator();
    add(file, "copyCardAction", "Copy a Card...", {},
        [this] { SelectionCommand(NameDialogMode::CopyCard); });
    add(file, "copyToDisketteAction", Text(565) + "...", {},
        [this] { SelectionCommand(NameDialogMode::CopyToDiskette); });
    add(file, "copyFromDisketteAction", Text(566) + "...", {}, [this] { CommandButton(9); });
    file->addSeparator();
    add(file, "exitAction", Text(567), {QKeySequence::Quit}, [this] { close(); });

    // Undo and redo of card changes.
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("editMenu");
    menus_[size_t(MainMenu::Edit)] = edit;

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("viewMenu");
    menus_[size_t(MainMenu::View)] = view;
    viewCardAction_ = add(view, "viewCardAction", Text(85), {QKeySequence(Qt::CTRL | Qt::Key_E)},
                          [this] { ShowCardFace(); });
    cardListAction_ = add(view, "cardListAction", "Card List", {QKeySequence(Qt::CTRL | Qt::Key_W)},
                          [this] { LeaveCardFace(); });
    view->addSeparator();
    zoomInAction_ =
        add(view, "zoomInAction", "Zoom In", {QKeySequence::ZoomIn}, [this] { ZoomStep(true); });
    zoomOutAction_ = add(view, "zoomOutAction", "Zoom Out", {QKeySequence::ZoomOut},
                         [this] { ZoomStep(false); });
    viewCardAction_->setEnabled(false);
    for (QAction* action : {cardListAction_, zoomInAction_, zoomOutAction_})
        action->setEnabled(false);

    QMenu* options = menuBar()->addMenu(Text(568));
    options->setObjectName("optionsMenu");
    menus_[size_t(MainMenu::Options)] = options;
    QMenu* help = menuBar()->addMenu(Text(577));
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

void MainWindow::BuildPrintCommands() {
    QMenu* file = menus_[size_t(MainMenu::File)];
    // The print commands go above the closing "Exit", after the rest of the File menu.
    QAction* before = nullptr;
    const QList<QAction*> actions = file->actions();
    for (qsizetype i = 0; i < actions.size(); ++i)
        if (actions[i]->objectName() == "exitAction")
            before = i > 0 && actions[i - 1]->isSeparator() ? actions[i - 1] : actions[i];
    auto add = [&](const char* name, const QString& caption, QKeySequence key, auto slot) {
        auto* action = new QAction(caption, file);
        action->setObjectName(name);
        if (!key.isEmpty())
            action->setShortcut(key);
        file->insertAction(before, action);
        connect(action, &QAction::triggered, this, slot);
        action->setEnabled(session_.Changed().CardOpen());
        cardActions_.push_back(action);
        return action;
    };
    file->insertSeparator(before);
    add("printMyCardAction", Text(559), QKeySequence::Print,
        [this] { PrintCommand(PrintCardChoice::Mine); });
    add("printPartnersCardAction", Text(562), {},
        [this] { PrintCommand(PrintCardChoice::Partner); });
    add("printBothCardsAction", "Print Both Cards", {},
        [this] { PrintCommand(PrintCardChoice::Both); });
    file->insertSeparator(before);
    add("saveCardAsAction", "Save Card as ....", QKeySequence::SaveAs, [this] { SaveCardAs(); });
}

void MainWindow::PrintCommand(PrintCardChoice choice) {
    // What is typed into an open field belongs to the card that is printed.
    fillIn_->CommitOpenEditor();
    ShownCardPages pages(*this);
    if (printQuestions_) {
        PrintJob(context_, pages, *printQuestions_).PrintCard(choice);
        return;
    }
    PrintDialog dialog(context_.prompter, this);
    PrintJob(context_, pages, dialog).PrintCard(choice);
}

void MainWindow::SaveCardAs() {
    fillIn_->CommitOpenEditor();
    if (!session_.Changed().CardOpen()) {
        context_.prompter.Beep();
        context_.prompter.Message(GetProgramText(20), GetProgramText(24), Buttons::Ok,
                                  Icon::Information);
        return;
    }
    std::string name = context_.Location.CurrentCardName;
    if (context_.BackSideSelected && !name.empty() && name.back() == '_')
        name.pop_back();
    SaveCardAsDialog dialog(this, context_.TwipsPerPixel);
    ExportFileChooser& chooser = exportChooser_ ? *exportChooser_ : dialog;
    auto request =
        chooser.ChooseExportFile(context_.Location.CardDir, name, context_.Location.CardExt);
    if (!request)
        return;
    ShownCardPages pages(*this);
    CardExport exporter(context_, pages);
    exporter.SetCopyCard([this](const std::string& newName) { return CopyOpenCardAs(newName); });
    exporter.SaveCardAs(*request);
}

bool MainWindow::CopyOpenCardAs(const std::string& newName) {
    CardLibrary& library = session_.Library();
    int index = library.Selected();
    if (index < 0) {
        std::string name = context_.Location.CurrentCardName;
        if (context_.BackSideSelected && !name.empty() && name.back() == '_')
            name.pop_back();
        for (int i = 0; i < int(library.Entries().size()); ++i)
            if (EqualsIgnoreCase(library.CardNameOf(library.Entries()[size_t(i)]), name))
                index = i;
    }
    return library.CopyCard(index, newName);
}

void MainWindow::BuildCardToolCommands() {
    cardTools_ = new CardTools(*this, context_);
    QMenu* file = menu(MainMenu::File);
    cardTools_->AddCommands(file, file->findChild<QAction*>("exitAction"), menu(MainMenu::View));
}

void MainWindow::HideEmptyMenus() {
    // A menu shows only once it offers something.
    for (QMenu* menu : menus_)
        menu->menuAction()->setVisible(!menu->isEmpty());
}

void MainWindow::SetStartTitle() {
    setWindowTitle(Text(24) + " - " + Text(9) + QString::fromStdString(context_.AppVersion));
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
        cardList_->setFocus();
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
    // No blinking behind a dialog.
    if (pause) {
        blinkTimer_->stop();
        commandButtons_[0]->show();
    } else if (!firstCardHint_->isHidden()) {
        blinkTimer_->start();
    }
}

void MainWindow::NameDialogDone() {
    NameEntries entries;
    auto texts = nameDialog_->Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = ToCard(texts[i]);
    // A name that is refused leaves the dialog open for another try.
    if (!session_.Library().FinishNameDialog(entries))
        return;
    nameDialog_->hide();
    activateWindow();
    PauseBlinking(false);
    if (CardFaceShown())
        cardPicture()->setFocus();
}

void MainWindow::NameDialogCancelled() {
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
        std::string name = context_.Location.CurrentCardName;
        if (!name.empty() && name.back() == '_')
            name.pop_back();
        setWindowTitle(Text(67) + FromFileName(name) + "    " + Text(36));
        for (QAction* action : {cardListAction_, zoomInAction_, zoomOutAction_})
            action->setEnabled(true);
        cardPicture()->setFocus();
        fillIn_->StartFilling();
    });
    UpdateUndoCommands();
}

void MainWindow::LeaveCardFace() {
    if (!CardFaceShown())
        return;
    fillIn_->CommitOpenEditor();
    session_.QueryUnload(true);
    ReturnToStartFace();
}

void MainWindow::ReturnToStartFace() {
    layout_->Abandon();
    fillIn_->Reset();
    faces_->setCurrentWidget(startFace_);
    SetStartTitle();
    for (QAction* action : {cardListAction_, zoomInAction_, zoomOutAction_})
        action->setEnabled(false);
    cardFace_->ShowZoomFactor(context_.View.ZoomFactor);
    cardList_->setFocus();
    UpdateUndoCommands();
}

void MainWindow::Redraw() {
    context_.errorTrap.Guard(loc::DrawCardPicture, [&] { cardPicture()->Redraw(); });
}

void MainWindow::RefreshScreen() {
    if (!CardFaceShown())
        return;
    // While the layout is edited the panel's own refresh keeps its action in step.
    if (layout_->Editing() || layout_->Session().PanelVisible) {
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
        if (field != FillInSession::NoField && field < context_.Page.Count(TextField))
            fillIn_->Session().OpenTextEditor(field);
    });
}

void MainWindow::ZoomStep(bool in) {
    if (!CardFaceShown())
        return;
    context_.errorTrap.Guard(loc::ZoomButtons, [&] {
        auto outcome = ZoomControl::Zoom(
            context_.View, in, context_.Defaults.NaturalWidth, context_.Defaults.NaturalHeight,
            cardFace_->InnerWidthTwips(), cardFace_->InnerHeightTwips(), context_.prompter);
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
        context_.Defaults.SavedZoom = int16_t(std::lround(context_.View.ZoomFactor));
        context_.ApplyFormatDefaults(true);
    });
}

void MainWindow::OpenFormatChooser() {
    if (formatChooser_ || !session_.PrepareFormatChoice())
        return;
    context_.errorTrap.Guard(loc::CardsListLoad, [&] {
        BusyScope busy(context_.prompter);
        formatChooser_ = new FormatChooser(context_.Catalogue, context_.CurrentFormat,
                                           context_.TwipsPerPixel, this);
        formatChooser_->setAttribute(Qt::WA_DeleteOnClose);
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

void MainWindow::SideClicked(int side) {
    if (!session_.Library().SwitchSide(side == 1))
        return;
    if (CardFaceShown())
        ShowCardFace();
}

void MainWindow::BuildNotesAndTextsCommands() {
    QMenu* options = menu(MainMenu::Options);
    auto text = [this](QMenu* menu, const char* name, const QString& caption,
                       const char* fileName) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this,
                [this, fileName] { ShowReferenceText(fileName); });
        return action;
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
    connect(viewNotes, &QAction::triggered, this, &MainWindow::OpenNotes);
    QAction* notesHelp = notes->addAction("Help on Supplemental Notes");
    notesHelp->setObjectName("notesHelpAction");
    connect(notesHelp, &QAction::triggered, this,
            [this] { ShowProgramHelp(HelpSupplementalNotes, this); });
    text(options, "tipsAction", "Tips", "tips.txt");

    // A command of its own in the menu bar, before Help.
    auto* notices = new QAction("&Special Notices", this);
    notices->setObjectName("specialNoticesAction");
    connect(notices, &QAction::triggered, this, [this] { ShowReferenceText("notices.txt"); });
    menuBar()->insertAction(menu(MainMenu::Help)->menuAction(), notices);
}

NotesWindow* MainWindow::notesWindow() const {
    return notesWindow_.data();
}

ReferenceTextWindow* MainWindow::referenceTextWindow() const {
    return referenceTextWindow_.data();
}

std::optional<std::string> MainWindow::SelectedFieldText() {
    if (!CardFaceShown() || !session_.Changed().CardOpen())
        return std::nullopt;
    if (fillIn_->OpenEditor())
        return renderer_->Text().Codec().Encode(fillIn_->EditorText());
    int field = fillIn_->Session().CurrentField;
    if (field < 0 || field >= context_.Page.Count(TextField))
        return std::nullopt;
    return context_.Page.Field(TextField, field).text;
}

void MainWindow::OpenNotes() {
    std::optional<std::string> fieldText = SelectedFieldText();
    if (!notesWindow_) {
        notesWindow_ = new NotesWindow(context_, session_.Changed(), this);
        notesWindow_->setAttribute(Qt::WA_DeleteOnClose);
        notesWindow_->SetHelpHandler(
            [this] { ShowProgramHelp(HelpSupplementalNotes, notesWindow_.data()); });
    }
    notesWindow_->OpenFor(fieldText);
}

void MainWindow::ShowReferenceText(const std::string& fileName) {
    if (!referenceTextWindow_) {
        referenceTextWindow_ = new ReferenceTextWindow(context_, this);
        referenceTextWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    referenceTextWindow_->ShowText(context_.paths.DataDir / fileName);
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
    connect(layout_.get(), &LayoutController::stateChanged, this, &MainWindow::UpdateUndoCommands);
    for (int i = 0; i < 6; ++i)
        fillIn_->fieldEditor(i)->installEventFilter(this);
    history_->SetRestoredHandler([this](const std::vector<int>&) {
        context_.errorTrap.Guard(loc::RedrawAfterUndo, [&] { cardPicture()->Redraw(); });
    });
    layout_->SetHelpHandler([this](int topic) { ShowProgramHelp(topic, this); });
    layout_->SetSaveAsHandler([this] { SaveCardAs(); });
}

void MainWindow::BuildUndoCommands() {
    QMenu* edit = menu(MainMenu::Edit);
    undoAction_ = edit->addAction("Undo");
    undoAction_->setObjectName("undoAction");
    undoAction_->setShortcuts(QKeySequence::Undo);
    redoAction_ = edit->addAction("Redo");
    redoAction_->setObjectName("redoAction");
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undoAction_, &QAction::triggered, this, [this] { UndoStep(false); });
    connect(redoAction_, &QAction::triggered, this, [this] { UndoStep(true); });
    QUndoStack& stack = history_->Stack();
    connect(&stack, &QUndoStack::indexChanged, this, &MainWindow::UpdateUndoCommands);
    connect(&stack, &QUndoStack::cleanChanged, this, &MainWindow::UpdateUndoCommands);
    UpdateUndoCommands();
}

void MainWindow::UpdateUndoCommands() {
    if (!undoAction_)
        return;
    const bool shown = CardFaceShown();
    const bool pending = layout_->Session().ActionPending;
    QUndoStack& stack = history_->Stack();
    QString undone = pending ? QStringLiteral("Placing") : stack.undoText();
    undoAction_->setText(undone.isEmpty() ? QStringLiteral("Undo") : "Undo " + undone);
    undoAction_->setEnabled(shown && (pending || stack.canUndo()));
    QString redone = stack.redoText();
    redoAction_->setText(redone.isEmpty() ? QStringLiteral("Redo") : "Redo " + redone);
    redoAction_->setEnabled(shown && stack.canRedo());
}

void MainWindow::UndoStep(bool redo) {
    if (!CardFaceShown())
        return;
    context_.errorTrap.Guard(redo ? loc::RedoStep : loc::UndoStep, [&] {
        // The field being placed is what an undo takes back first; a redo lets it go too,
        // as the page is about to change under it.
        if (layout_->Session().CancelPendingForUndo() && !redo)
            return;
        const int field = fillIn_->Session().CurrentField;
        // Typing not yet stored becomes a step of its own, so that nothing typed is lost.
        fillIn_->CommitOpenEditor();
        if (redo)
            history_->Redo();
        else
            history_->Undo();
        if (!layout_->Editing() && field != FillInSession::NoField &&
            field < context_.Page.Count(TextField))
            fillIn_->Session().OpenTextEditor(field);
    });
    UpdateUndoCommands();
}

// ---- Options and Help menus

void MainWindow::BuildOptionsCommands() {
    QMenu* options = menu(MainMenu::Options);
    // The first entry of the menu; mail settings close it.
    auto* settings = new QAction("Card Global Settings", options);
    settings->setObjectName("cardGlobalSettingsAction");
    connect(settings, &QAction::triggered, this, &MainWindow::OpenCardOptions);
    options->insertAction(options->actions().value(0), settings);
    if (options->actions().size() > 1)
        options->insertSeparator(options->actions().value(1));
    options->addSeparator();
    QAction* mail = options->addAction("Mail Settings");
    mail->setObjectName("mailSettingsAction");
    connect(mail, &QAction::triggered, this, &MainWindow::OpenMailSettings);
}

void MainWindow::BuildHelpCommands() {
    QMenu* help = menu(MainMenu::Help);
    QAction* programHelp = help->addAction(Text(578));
    programHelp->setObjectName("programHelpAction");
    programHelp->setShortcut(Qt::Key_F1);
    connect(programHelp, &QAction::triggered, this, &MainWindow::ShowHelp);
    help->addSeparator();
    QAction* about = help->addAction(Text(579));
    about->setObjectName("aboutAction");
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::OpenCardOptions() {
    context_.errorTrap.Guard(loc::OpenCardOptions, [&] {
        int field = fillIn_->Session().CurrentField;
        fillIn_->CommitOpenEditor();
        Answer answer = session_.Changed().AskSaveChanges();
        if (answer == Answer::Cancel)
            return;
        int16_t format = context_.CurrentFormat;
        PauseBlinking(true);
        {
            CardOptionsDialog dialog(context_, this);
            connect(&dialog, &CardOptionsDialog::helpRequested, &dialog,
                    [&dialog] { ShowProgramHelp(HelpCardOptions, &dialog); });
            dialog.exec();
        }
        PauseBlinking(false);
        // The format's defaults may be new: read them again, and draw the card with them.
        // Changes the user chose not to save are dropped by reading the card again.
        bool reload = answer == Answer::No && session_.Changed().CardOpen();
        if (reload) {
            layout_->Abandon();
            fillIn_->Reset();
            context_.LoadCard();
            history_->Reset();
        }
        if (!CardFaceShown()) {
            context_.LoadFormatDefaults();
            return;
        }
        context_.SetupCardFormat(format, *this);
        Redraw();
        if (field != FillInSession::NoField && field < context_.Page.Count(TextField))
            fillIn_->Session().OpenTextEditor(field);
    });
}

void MainWindow::OpenMailSettings() {
    MailSettingsDialog::Edit(context_.prompter, context_.paths.ProgramFolder, this,
                             context_.fileSystem);
}

void MainWindow::ShowHelp() {
    ShowProgramHelp(CardFaceShown() ? HelpCardFace : HelpIndex, this);
}

void MainWindow::ShowAbout() {
    if (!aboutDialog_)
        aboutDialog_ = new AboutDialog(context_.AppVersion, this);
    aboutDialog_->show();
    aboutDialog_->raise();
    aboutDialog_->activateWindow();
}

// ---- CardFormatView

void MainWindow::SetSideButtonsEnabled(bool enabled) {
    for (auto* button : sideButtons_)
        button->setEnabled(enabled);
}

void MainWindow::SelectFrontSide() {
    ShowSide(false);
}

void MainWindow::SizeCardPicture() {
    const FormatCatalogue& catalogue = context_.Catalogue;
    int32_t offset = 0, rightOffset = 0;
    if (context_.HasFormat()) {
        offset = int32_t(catalogue.Number(context_.CurrentFormat, ColHorizontalOffset));
        rightOffset = int32_t(catalogue.Number(context_.CurrentFormat, ColRightOffset));
    }
    const ViewState& view = context_.View;
    cardFace_->SetPage(view.PWIDTH, view.PHEIGHT, view.ViewScale, context_.TwipsPerPixel, offset,
                       rightOffset);
    cardFace_->ShowZoomFactor(view.ZoomFactor);
}

void MainWindow::ShowFormatName(const std::string& displayName) {
    formatNameLabel_->setText(DecodeDisplayName(displayName));
}

void MainWindow::ShowFormatPicture(const std::optional<fs::path>& picture) {
    QPixmap pixmap;
    std::optional<fs::path> existing;
    if (picture && (existing = ResolveExisting(*picture)))
        pixmap.load(QString::fromStdString(existing->string()));
    if (pixmap.isNull()) {
        formatPicture_->clear();
        // A picture the format names but that cannot be shown is said where it would be.
        if (picture) {
            formatPicture_->setText(QStringLiteral("(picture %1 %2)")
                                        .arg(FromFileName(picture->filename().string()),
                                             existing ? QStringLiteral("cannot be read")
                                                      : QStringLiteral("is missing")));
            formatPicture_->show();
        } else {
            formatPicture_->hide();
        }
        return;
    }
    if (pixmap.width() > 180 || pixmap.height() > 96)
        pixmap = pixmap.scaled(180, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    formatPicture_->setPixmap(pixmap);
    formatPicture_->show();
}

void MainWindow::ShowSpecialNoticeLabel(bool visible) {
    specialNoticeLabel_->setVisible(visible);
}

void MainWindow::RefillCardList() {
    session_.Library().FillCardList();
}

// ---- CardLibraryView

void MainWindow::ShowCardList(const std::vector<std::string>& entries) {
    bool same = cardList_->count() == int(entries.size());
    for (int i = 0; same && i < cardList_->count(); ++i)
        same = cardList_->item(i)->text() == FromFileName(entries[size_t(i)]);
    if (same)
        return;
    const QSignalBlocker block(cardList_);
    cardList_->clear();
    for (const std::string& entry : entries)
        cardList_->addItem(FromFileName(entry));
}

void MainWindow::SelectCardInList(int index) {
    const QSignalBlocker block(cardList_);
    if (index < 0 || index >= cardList_->count()) {
        cardList_->clearSelection();
        cardList_->setCurrentRow(-1);
    } else {
        cardList_->setCurrentRow(index);
    }
}

void MainWindow::ShowFirstCardHint(bool visible) {
    firstCardHint_->setVisible(visible);
    if (visible) {
        blinkTimer_->start();
    } else {
        blinkTimer_->stop();
        commandButtons_[0]->show();
    }
}

void MainWindow::ShowSelectionPrompt(const std::string& text, bool cancelVisible) {
    selectionPromptLabel_->setText(QString::fromStdString(text));
    selectionPromptLabel_->setVisible(!text.empty());
    cancelSelectionButton_->setVisible(cancelVisible);
}

void MainWindow::ShowCardStatus(const std::string& text) {
    // The card's name (a file name) and the program's words.
    cardStatusLabel_->setText(FromFileName(text));
}

void MainWindow::ShowSide(bool backSide) {
    const QSignalBlocker block(sideGroup_);
    sideButtons_[backSide ? 1 : 0]->setChecked(true);
}

// ---- ChangedStateView

void MainWindow::EnableSaveCommands(bool enabled) {
    commandButtons_[4]->setEnabled(enabled);
}

void MainWindow::EnableCardCommands(bool enabled, bool namesEditable) {
    commandButtons_[1]->setEnabled(enabled && namesEditable);
    commandButtons_[2]->setEnabled(enabled);
    commandButtons_[5]->setEnabled(enabled);
    if (viewCardAction_)
        viewCardAction_->setEnabled(enabled);
    for (QAction* action : cardActions_)
        action->setEnabled(enabled);
    // A card closed while it is on show takes the window back to its card list.
    if (!enabled && CardFaceShown())
        ReturnToStartFace();
}

// ---- events

void MainWindow::closeEvent(QCloseEvent* event) {
    fillIn_->CommitOpenEditor();
    // Notes being written are not lost with the program: their window asks first.
    if (!CardFaceShown() && notesWindow_ && notesWindow_->isVisible() && !notesWindow_->close()) {
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
    if (event->type() == QEvent::ShortcutOverride) {
        // An editor undoes its own typing first; with nothing of its own to undo or redo
        // the key goes on to the card's history.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo);
        if (undo || redo) {
            bool own = true;
            if (auto* line = qobject_cast<QLineEdit*>(watched))
                own = undo ? line->isUndoAvailable() : line->isRedoAvailable();
            else if (auto* text = qobject_cast<QTextEdit*>(watched))
                own = undo ? text->document()->isUndoAvailable()
                           : text->document()->isRedoAvailable();
            if (!own) {
                event->ignore();
                return true;
            }
        }
    }
    if (watched == cardList_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            cardList_->currentRow() >= 0) {
            ListClicked(cardList_->currentRow(), true);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace cw
