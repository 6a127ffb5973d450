#include "ACBLfrm.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "CardView.h"
#include "ErrorTrap.h"
#include "FillInController.h"
#include "GradientBackground.h"
#include "LocationCodes.h"
#include "NameDialog.h"
#include "ProgramTexts.h"
#include "TextCodec.h"
#include "TransferFolderPicker.h"
#include "ViewScaling.h"
#include "frmCardsList.h"

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

constexpr int kButtonWidth = 270;

} // namespace

ACBLfrm::ACBLfrm(AppContext& context, TransferFolderChooser* chooser, QWidget* parent)
    : QMainWindow(parent), context_(context),
      ownChooser_(chooser ? nullptr : std::make_unique<TransferFolderPicker>(this)),
      session_(context, *this, *this, chooser ? *chooser : *ownChooser_) {
    setObjectName("ACBLfrm");
    session_.Changed().AddView(this);
    specialNotice_ = [this] {
        ShowSpecialNotice();
    };

    faces_ = new QStackedWidget(this);
    setCentralWidget(faces_);
    BuildStartFace();
    cardView_ = new CardView(faces_);
    faces_->addWidget(cardView_);
    connect(cardView_, &CardView::zoomRequested, this, &ACBLfrm::ZoomStep);
    connect(cardView_, &CardView::saveZoomRequested, this, &ACBLfrm::SaveZoomFactor);
    connect(pic1(), &CardPicture::cardKeyPressed, this, [this](QKeyEvent* event) {
        if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
            cardView_->ScrollPage(Qt::Vertical, event->key() == Qt::Key_PageUp ? -1 : 1);
            event->accept();
        }
    });
    canvas_ = std::make_unique<CardCanvas>();
    canvasView_ = std::make_unique<CanvasCardView>(context_, *canvas_);
    renderer_ = std::make_unique<CardRenderer>(context_, *canvasView_);
    pic1()->SetSource(&canvas_->Picture(), [this] {
        canvas_->Fit(context_.View, context_.TwipsPerPixel);
        renderer_->State.PrintMode = 0;
        renderer_->SelectSurface(canvas_->Surface());
        renderer_->RenderCard();
    });
    fillIn_ = std::make_unique<FillInController>(context_, session_.Changed(), *cardView_,
                                                 *renderer_, *canvas_);
    connect(pic1(), &CardPicture::cardClicked, this,
            [this](QPoint twips) { fillIn_->Click(twips); });

    newFrame_ = new NameDialog(this);
    connect(newFrame_, &NameDialog::doneClicked, this, &ACBLfrm::NameDialogDone);
    connect(newFrame_, &NameDialog::cancelClicked, this, &ACBLfrm::NameDialogCancelled);

    BuildMenus();
    SetStartTitle();
    resize(980, 700);
    setMinimumSize(760, 540);

    session_.Load();
}

ACBLfrm::~ACBLfrm() = default;

CardPicture* ACBLfrm::pic1() const {
    return cardView_->Picture();
}

frmCardsList* ACBLfrm::FormatChooser() const {
    return cardsList_.data();
}

bool ACBLfrm::CardFaceShown() const {
    return faces_->currentWidget() == cardView_;
}

void ACBLfrm::BuildStartFace() {
    startFace_ = new GradientBackground(0, faces_);
    startFace_->setObjectName("StartFace");
    startFace_->setStyleSheet(
        "QLabel { color: white; }"
        "QFrame#SidePanel { background: rgba(255, 255, 255, 235); border-radius: 6px; }"
        "QFrame#SidePanel QLabel { color: #1d2340; }"
        "QRadioButton { color: #1d2340; font-weight: bold; }"
        "QRadioButton:disabled { color: #9499ad; }"
        "QLabel#FormatLabel { font-size: 22pt; font-weight: bold; }"
        "QLabel#Label3 { font-size: 11pt; font-weight: bold; }"
        "QLabel#FileLabel { color: #ffe680; font-size: 11pt; font-weight: bold; }"
        "QLabel#FirstCardHint { color: #1d2340; background: #fff6c8; border: 1px solid #d9b84a;"
        " border-radius: 6px; padding: 8px 10px; }"
        "QLabel#Label6 { font-size: 11pt; }"
        "QListWidget#List1 { font-size: 11pt; border: 1px solid #1a2a6a; }"
        "QListWidget#List1::item { padding: 3px 6px; }"
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

    formatLabel_ = new QLabel(startFace_);
    formatLabel_->setObjectName("FormatLabel");
    formatLabel_->setWordWrap(true);
    countryImage_ = new QLabel(startFace_);
    countryImage_->setObjectName("CountryImage");
    countryImage_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* header = new QHBoxLayout;
    header->setSpacing(16);
    header->addWidget(suits, 0, Qt::AlignVCenter);
    header->addWidget(formatLabel_, 1, Qt::AlignVCenter);
    header->addWidget(countryImage_, 0, Qt::AlignVCenter);

    listLabel_ = new QLabel(Text(400), startFace_);
    listLabel_->setObjectName("ListLabel");
    QFont bold = listLabel_->font();
    bold.setBold(true);
    listLabel_->setFont(bold);
    list1_ = new QListWidget(startFace_);
    list1_->setObjectName("List1");
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    list1_->installEventFilter(this);
    listLabel_->setBuddy(list1_);
    // Clicks are handled once the list has finished with them: an operation may refill it.
    connect(list1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        int row = list1_->row(item);
        QTimer::singleShot(0, this, [this, row] { ListClicked(row, false); });
    });
    connect(list1_, &QListWidget::itemDoubleClicked, this, [this] {
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
        frontBack_[size_t(i)] = new QRadioButton(Text(sideCaptions[i]), sidePanel);
        frontBack_[size_t(i)]->setObjectName(QString("FrontBackOption(%1)").arg(i));
        sideGroup_->addButton(frontBack_[size_t(i)], i);
        sidePanelLayout->addWidget(frontBack_[size_t(i)]);
    }
    auto* sides = new QHBoxLayout;
    sides->addWidget(sidePanel);
    sides->addStretch(1);
    frontBack_[0]->setChecked(true);
    connect(sideGroup_, &QButtonGroup::idClicked, this, &ACBLfrm::SideClicked);

    fileLabel_ = new QLabel(startFace_);
    fileLabel_->setObjectName("FileLabel");
    fileLabel_->hide();
    cancelBttn_ = new QPushButton(Text(401), startFace_);
    cancelBttn_->setObjectName("CancelBttn");
    cancelBttn_->hide();
    connect(cancelBttn_, &QPushButton::clicked, this,
            [this] { session_.Library().CancelSelection(); });
    auto* prompt = new QHBoxLayout;
    prompt->addWidget(fileLabel_);
    prompt->addWidget(cancelBttn_);
    prompt->addStretch(1);

    label3_ = new QLabel(startFace_);
    label3_->setObjectName("Label3");
    firstCardHint_ = new QLabel(
        "Your card list holds only the sample card TESTCRD.  Click \u201c" + Text(410) +
            "\u201d to make a card of your own for your partnership; you can still open the "
            "sample card to see how a finished card looks.",
        startFace_);
    firstCardHint_->setObjectName("FirstCardHint");
    firstCardHint_->setWordWrap(true);
    firstCardHint_->hide();
    label6_ = new QLabel("<a href=\"notice\" style=\"color:#ffe680;\">Please Click for a SPECIAL "
                         "Notice</a>",
                         startFace_);
    label6_->setObjectName("Label6");
    label6_->setTextFormat(Qt::RichText);
    label6_->hide();
    connect(label6_, &QLabel::linkActivated, this, [this] {
        if (specialNotice_)
            specialNotice_();
    });

    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(listLabel_);
    left->addWidget(list1_, 1);
    left->addLayout(sides);
    left->addLayout(prompt);
    left->addWidget(label3_);
    left->addWidget(firstCardHint_);
    left->addWidget(label6_);

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
        button->setObjectName(QString("Command4(%1)").arg(i));
        button->setFixedWidth(kButtonWidth);
        button->setMinimumHeight(34);
        connect(button, &QPushButton::clicked, this, [this, i] { CommandButton(i); });
        command4_[size_t(i)] = button;
    }
    // The blinking button keeps its place while it is hidden.
    QSizePolicy keep = command4_[0]->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    command4_[0]->setSizePolicy(keep);
    QFont strong = command4_[5]->font();
    strong.setBold(true);
    command4_[5]->setFont(strong);
    command4_[0]->setFont(strong);
    // Saving a card as a picture comes with image export.
    command4_[2]->hide();

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    right->addSpacing(listLabel_->sizeHint().height() + 8);
    for (int i : {0, 5, 1, 4, 3})
        right->addWidget(command4_[size_t(i)]);
    right->addSpacing(14);
    right->addWidget(command4_[6]);
    right->addSpacing(14);
    right->addWidget(command4_[8]);
    right->addWidget(command4_[9]);
    right->addStretch(1);
    right->addWidget(command4_[7]);

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

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(600);
    connect(timer1_, &QTimer::timeout, this,
            [this] { command4_[0]->setVisible(!command4_[0]->isVisible()); });
}

void ACBLfrm::BuildMenus() {
    QMenu* file = menuBar()->addMenu(Text(560));
    file->setObjectName("mnuFile");
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
    add(file, "mnuNewCard", Text(410), {QKeySequence::New}, [this] { CommandButton(0); });
    add(file, "mnuSaveChanges", Text(86), {QKeySequence::Save, Qt::Key_F3},
        [this] { CommandButton(4); });
    file->addSeparator();
    add(file, "mnuSelectFormat", Text(580) + "...", {Qt::Key_F2}, [this] { CommandButton(6); });
    file->addSeparator();
    add(file, "mnuCopyCard", "Copy a Card...", {},
        [this] { SelectionCommand(NameDialogMode::CopyCard); });
    add(file, "mnuCopyToDiskette", Text(565) + "...", {},
        [this] { SelectionCommand(NameDialogMode::CopyToDiskette); });
    add(file, "mnuCopyFromDiskette", Text(566) + "...", {}, [this] { CommandButton(9); });
    file->addSeparator();
    add(file, "mnuExit", Text(567), {QKeySequence::Quit}, [this] { close(); });

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("mnuView");
    mnuViewCard_ = add(view, "mnuViewCard", Text(85), {QKeySequence(Qt::CTRL | Qt::Key_E)},
                       [this] { ShowCardFace(); });
    mnuCardList_ = add(view, "mnuCardList", "Card List", {QKeySequence(Qt::CTRL | Qt::Key_W)},
                       [this] { LeaveCardFace(); });
    view->addSeparator();
    mnuZoomIn_ =
        add(view, "mnuZoomIn", "Zoom In", {QKeySequence::ZoomIn}, [this] { ZoomStep(true); });
    mnuZoomOut_ =
        add(view, "mnuZoomOut", "Zoom Out", {QKeySequence::ZoomOut}, [this] { ZoomStep(false); });
    mnuViewCard_->setEnabled(false);
    for (QAction* action : {mnuCardList_, mnuZoomIn_, mnuZoomOut_})
        action->setEnabled(false);

    // The hidden "ShortCuts" menu: keys without a menu item of their own.
    add(nullptr, "mnuFunc(4)", "Refresh Screen", {Qt::Key_F4}, [this] { RefreshScreen(); });
    const std::pair<const char*, char> suits[] = {{"Club Symbol", 'c'},
                                                  {"Diamond Symbol", 'd'},
                                                  {"Heart Symbol", 'h'},
                                                  {"Spade Symbol", 's'}};
    for (int i = 0; i < 4; ++i) {
        char letter = suits[i].second;
        QAction* suit = add(nullptr, "", suits[i].first, {QKeyCombination(Qt::Key(Qt::Key_F5 + i))},
                            [this, letter] { fillIn_->InsertSuit(letter); });
        suit->setObjectName(QStringLiteral("mnuFunc(%1)").arg(6 + i));
    }
    add(nullptr, "mnuFunc(30)", "Scroll Left", {Qt::Key_F11},
        [this] { cardView_->ScrollPage(Qt::Horizontal, -1); });
    add(nullptr, "mnuFunc(31)", "Scroll Right", {Qt::Key_F12},
        [this] { cardView_->ScrollPage(Qt::Horizontal, 1); });
    add(nullptr, "mnuFunc(32)", "Scroll Up", {QKeySequence(Qt::SHIFT | Qt::Key_F11)},
        [this] { cardView_->ScrollPage(Qt::Vertical, -1); });
    add(nullptr, "mnuFunc(33)", "Scroll Down", {QKeySequence(Qt::SHIFT | Qt::Key_F12)},
        [this] { cardView_->ScrollPage(Qt::Vertical, 1); });
}

void ACBLfrm::SetStartTitle() {
    setWindowTitle(Text(24) + " - " + Text(9) + QString::fromStdString(context_.AppVersion));
}

void ACBLfrm::CommandButton(int index) {
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
            case 1:
                if (auto entries = library.PrepareEditNames())
                    OpenNameDialog({FromCard((*entries)[0]), FromCard((*entries)[1]),
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

void ACBLfrm::SelectionCommand(NameDialogMode mode) {
    if (CardFaceShown())
        LeaveCardFace();
    if (session_.Library().StartCardSelection(mode))
        list1_->setFocus();
}

void ACBLfrm::ListClicked(int row, bool view) {
    CardLibrary& library = session_.Library();
    bool opening = library.Mode() == NameDialogMode::NewCard;
    library.ListClick(row);
    if (view && opening && session_.Changed().CardOpen())
        ShowCardFace();
}

void ACBLfrm::OpenNameDialog(const std::array<QString, 5>& entries, bool nameReadOnly) {
    PauseBlinking(true);
    newFrame_->ShowEntries(entries, nameReadOnly);
    newFrame_->adjustSize();
    newFrame_->show();
    newFrame_->raise();
    newFrame_->activateWindow();
}

void ACBLfrm::PauseBlinking(bool pause) {
    // No blinking behind a dialog.
    if (pause) {
        timer1_->stop();
        command4_[0]->show();
    } else if (!firstCardHint_->isHidden()) {
        timer1_->start();
    }
}

void ACBLfrm::NameDialogDone() {
    NameEntries entries;
    auto texts = newFrame_->Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = ToCard(texts[i]);
    // A name that is refused leaves the dialog open for another try.
    if (!session_.Library().FinishNameDialog(entries))
        return;
    newFrame_->hide();
    activateWindow();
    PauseBlinking(false);
    if (CardFaceShown())
        pic1()->setFocus();
}

void ACBLfrm::NameDialogCancelled() {
    session_.Library().CancelNameDialog();
    newFrame_->hide();
    activateWindow();
    PauseBlinking(false);
}

void ACBLfrm::ShowCardFace() {
    if (!session_.Changed().CardOpen())
        return;
    context_.errorTrap.Guard(loc::ShowCardFace, [&] {
        faces_->setCurrentWidget(cardView_);
        SizeCardPicture();
        Redraw();
        std::string name = context_.Location.CurrentCardName;
        if (!name.empty() && name.back() == '_')
            name.pop_back();
        setWindowTitle(Text(67) + FromCard(name) + "    " + Text(36));
        for (QAction* action : {mnuCardList_, mnuZoomIn_, mnuZoomOut_})
            action->setEnabled(true);
        pic1()->setFocus();
        fillIn_->StartFilling();
    });
}

void ACBLfrm::LeaveCardFace() {
    if (!CardFaceShown())
        return;
    fillIn_->CommitOpenEditor();
    session_.QueryUnload(true);
    ReturnToStartFace();
}

void ACBLfrm::ReturnToStartFace() {
    fillIn_->Reset();
    faces_->setCurrentWidget(startFace_);
    SetStartTitle();
    for (QAction* action : {mnuCardList_, mnuZoomIn_, mnuZoomOut_})
        action->setEnabled(false);
    cardView_->ShowZoomFactor(context_.View.ZoomFactor);
    list1_->setFocus();
}

void ACBLfrm::Redraw() {
    context_.errorTrap.Guard(loc::DrawCardPicture, [&] { pic1()->Redraw(); });
}

void ACBLfrm::RefreshScreen() {
    if (!CardFaceShown())
        return;
    context_.errorTrap.Guard(loc::RefreshScreen, [&] {
        int field = fillIn_->Session().CurrentField;
        fillIn_->CommitOpenEditor();
        if (session_.Changed().AskSaveChanges() == Answer::No && session_.Changed().CardOpen()) {
            // No: the changes are dropped and the card is read again from its file.
            fillIn_->Reset();
            context_.LoadCard();
        }
        Redraw();
        if (field != FillInSession::NoField && field < context_.Page.Count(TextField))
            fillIn_->Session().OpenTextEditor(field);
    });
}

void ACBLfrm::ZoomStep(bool in) {
    if (!CardFaceShown())
        return;
    context_.errorTrap.Guard(loc::SpinZoom, [&] {
        auto outcome = ZoomControl::Zoom(
            context_.View, in, context_.Defaults.NaturalWidth, context_.Defaults.NaturalHeight,
            cardView_->InnerWidthTwips(), cardView_->InnerHeightTwips(), context_.prompter);
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

void ACBLfrm::SaveZoomFactor() {
    context_.errorTrap.Guard(loc::SaveZoomFactor, [&] {
        context_.Defaults.SavedZoom = int16_t(std::lround(context_.View.ZoomFactor));
        context_.ApplyFormatDefaults(true);
    });
}

void ACBLfrm::OpenFormatChooser() {
    if (cardsList_ || !session_.PrepareFormatChoice())
        return;
    context_.errorTrap.Guard(loc::CardsListLoad, [&] {
        BusyScope busy(context_.prompter);
        cardsList_ = new frmCardsList(context_.Catalogue, context_.CurrentFormat,
                                      context_.TwipsPerPixel, this);
        cardsList_->setAttribute(Qt::WA_DeleteOnClose);
        connect(cardsList_, &frmCardsList::formatChosen, this, [this](int16_t slot) {
            session_.ChooseFormat(slot);
            if (!session_.Changed().CardOpen() && CardFaceShown())
                LeaveCardFace();
        });
        connect(cardsList_, &QDialog::finished, this, [this] {
            activateWindow();
            PauseBlinking(false);
        });
        PauseBlinking(true);
        cardsList_->open();
    });
}

void ACBLfrm::SideClicked(int side) {
    if (!session_.Library().SwitchSide(side == 1))
        return;
    if (CardFaceShown())
        ShowCardFace();
}

void ACBLfrm::ShowSpecialNotice() {
    context_.errorTrap.Guard(loc::SpecialNoticeLabel, [&] {
        QString text = FromCard(ReadExistingFile(context_.paths.DataDir / "special.txt"));
        while (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
        context_.prompter.Message(text.toStdString(), GetProgramText(24), Buttons::Ok,
                                  Icon::Information);
    });
}

// ---- CardFormatView

void ACBLfrm::SetSideButtonsEnabled(bool enabled) {
    for (auto* button : frontBack_)
        button->setEnabled(enabled);
}

void ACBLfrm::SelectFrontSide() {
    ShowSide(false);
}

void ACBLfrm::SizeCardPicture() {
    const FormatCatalogue& catalogue = context_.Catalogue;
    int32_t offset = 0, rightOffset = 0;
    if (context_.HasFormat()) {
        offset = int32_t(catalogue.Number(context_.CurrentFormat, ColHorizontalOffset));
        rightOffset = int32_t(catalogue.Number(context_.CurrentFormat, ColRightOffset));
    }
    const ViewState& view = context_.View;
    cardView_->SetPage(view.PWIDTH, view.PHEIGHT, view.ViewScale, context_.TwipsPerPixel, offset,
                       rightOffset);
    cardView_->ShowZoomFactor(view.ZoomFactor);
}

void ACBLfrm::ShowFormatName(const std::string& displayName) {
    formatLabel_->setText(DecodeDisplayName(displayName));
}

void ACBLfrm::ShowFormatPicture(const std::optional<fs::path>& picture) {
    QPixmap pixmap;
    if (picture)
        if (auto existing = ResolveExisting(*picture))
            pixmap.load(QString::fromStdString(existing->string()));
    if (pixmap.isNull()) {
        countryImage_->clear();
        countryImage_->hide();
        return;
    }
    if (pixmap.width() > 180 || pixmap.height() > 96)
        pixmap = pixmap.scaled(180, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    countryImage_->setPixmap(pixmap);
    countryImage_->show();
}

void ACBLfrm::ShowSpecialNoticeLabel(bool visible) {
    label6_->setVisible(visible);
}

void ACBLfrm::RefillCardList() {
    session_.Library().FillCardList();
}

// ---- CardLibraryView

void ACBLfrm::ShowCardList(const std::vector<std::string>& entries) {
    bool same = list1_->count() == int(entries.size());
    for (int i = 0; same && i < list1_->count(); ++i)
        same = list1_->item(i)->text() == QString::fromStdString(entries[size_t(i)]);
    if (same)
        return;
    const QSignalBlocker block(list1_);
    list1_->clear();
    for (const std::string& entry : entries)
        list1_->addItem(FromCard(entry));
}

void ACBLfrm::SelectCardInList(int index) {
    const QSignalBlocker block(list1_);
    if (index < 0 || index >= list1_->count()) {
        list1_->clearSelection();
        list1_->setCurrentRow(-1);
    } else {
        list1_->setCurrentRow(index);
    }
}

void ACBLfrm::ShowFirstCardHint(bool visible) {
    firstCardHint_->setVisible(visible);
    if (visible) {
        timer1_->start();
    } else {
        timer1_->stop();
        command4_[0]->show();
    }
}

void ACBLfrm::ShowSelectionPrompt(const std::string& text, bool cancelVisible) {
    fileLabel_->setText(QString::fromStdString(text));
    fileLabel_->setVisible(!text.empty());
    cancelBttn_->setVisible(cancelVisible);
}

void ACBLfrm::ShowCardStatus(const std::string& text) {
    label3_->setText(FromCard(text));
}

void ACBLfrm::ShowSide(bool backSide) {
    const QSignalBlocker block(sideGroup_);
    frontBack_[backSide ? 1 : 0]->setChecked(true);
}

// ---- ChangedStateView

void ACBLfrm::EnableSaveCommands(bool enabled) {
    command4_[4]->setEnabled(enabled);
}

void ACBLfrm::EnableCardCommands(bool enabled, bool namesEditable) {
    command4_[1]->setEnabled(enabled && namesEditable);
    command4_[2]->setEnabled(enabled);
    command4_[5]->setEnabled(enabled);
    if (mnuViewCard_)
        mnuViewCard_->setEnabled(enabled);
    // A card closed while it is on show takes the window back to its card list.
    if (!enabled && CardFaceShown())
        ReturnToStartFace();
}

// ---- events

void ACBLfrm::closeEvent(QCloseEvent* event) {
    fillIn_->CommitOpenEditor();
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
        newFrame_->hide();
        event->accept();
        break;
    }
}

void ACBLfrm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    context_.prompter.ResetBusy();
    // Cards may have come or gone while the program was in the background.
    if (!CardFaceShown() && session_.Library().Mode() == NameDialogMode::NewCard &&
        !QApplication::activeModalWidget())
        session_.Library().FillCardList();
}

bool ACBLfrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list1_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            list1_->currentRow() >= 0) {
            ListClicked(list1_->currentRow(), true);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace cw
