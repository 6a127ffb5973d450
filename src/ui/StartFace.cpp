#include "StartFace.h"

#include "FileNameText.h"
#include "FileOps.h"
#include "UiText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace cw {

namespace {

// Card names come from file names, which are UTF-8 (FileNameToUtf8 mends the others).
QString FromFileName(const std::string& name) {
    return QString::fromStdString(FileNameToUtf8(name));
}

constexpr int kButtonWidth = 270;

} // namespace

StartFace::StartFace(QWidget* parent) : GradientBackground(0, parent) {
    setObjectName("StartFace");
    setStyleSheet(
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

    QLayout* header = BuildHeader();
    auto* body = new QHBoxLayout;
    body->setSpacing(28);
    body->addLayout(BuildListColumn(), 1);
    body->addLayout(BuildCommandColumn());

    // On a wide window the content keeps a readable width in the middle.
    auto* content = new QWidget(this);
    content->setObjectName("StartContent");
    content->setMaximumWidth(1080);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    column->addLayout(header);
    column->addLayout(body, 1);
    auto* outer = new QHBoxLayout(this);
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

QLayout* StartFace::BuildHeader() {
    // The four suits beside the format's name, in the program's suit font when it is there.
    auto* suits = new QLabel(this);
    suits->setObjectName("SuitOrnament");
    bool pip4 = QFontDatabase::families().contains("Pip4");
    const char* glyphs[4] = {"\u2663", "\u2666", "\u2665", "\u2660"};
    QString html = QString("<span style=\"font-family:'%1'; font-size:24pt;\">")
                       .arg(pip4 ? "Pip4" : QApplication::font().family());
    for (int i = 0; i < 4; ++i)
        html += QString("<span style=\"color:%1;\">%2</span>&nbsp;")
                    .arg(i == 1 || i == 2 ? "#ff6a6a" : "#ffffff", QString::fromUtf8(glyphs[i]));
    suits->setText(html + "</span>");

    formatNameLabel_ = new QLabel(this);
    formatNameLabel_->setObjectName("formatNameLabel");
    formatNameLabel_->setWordWrap(true);
    formatPicture_ = new QLabel(this);
    formatPicture_->setObjectName("formatPicture");
    formatPicture_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* header = new QHBoxLayout;
    header->setSpacing(16);
    header->addWidget(suits, 0, Qt::AlignVCenter);
    header->addWidget(formatNameLabel_, 1, Qt::AlignVCenter);
    header->addWidget(formatPicture_, 0, Qt::AlignVCenter);
    return header;
}

QLayout* StartFace::BuildListColumn() {
    listLabel_ = new QLabel(UiText(TextId::SelectCardToLoad), this);
    listLabel_->setObjectName("ListLabel");
    QFont bold = listLabel_->font();
    bold.setBold(true);
    listLabel_->setFont(bold);
    cardList_ = new QListWidget(this);
    cardList_->setObjectName("cardList");
    cardList_->setSelectionMode(QAbstractItemView::SingleSelection);
    cardList_->installEventFilter(this);
    listLabel_->setBuddy(cardList_);
    // Clicks are reported once the list has finished with them: an operation may refill it.
    connect(cardList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        int row = cardList_->row(item);
        QTimer::singleShot(0, this, [this, row] { emit cardClicked(row); });
    });
    connect(cardList_, &QListWidget::itemDoubleClicked, this,
            [this] { QTimer::singleShot(0, this, [this] { emit cardDoubleClicked(); }); });

    sideGroup_ = new QButtonGroup(this);
    auto* sidePanel = new QFrame(this);
    sidePanel->setObjectName("SidePanel");
    auto* sidePanelLayout = new QHBoxLayout(sidePanel);
    sidePanelLayout->setContentsMargins(12, 6, 16, 6);
    sidePanelLayout->setSpacing(18);
    const TextId sideCaptions[2] = {TextId::FrontSide, TextId::BackSide};
    for (int i = 0; i < 2; ++i) {
        sideButtons_[size_t(i)] = new QRadioButton(UiText(sideCaptions[i]), sidePanel);
        sideButtons_[size_t(i)]->setObjectName(QString("sideButton(%1)").arg(i));
        sideButtons_[size_t(i)]->setToolTip(i == 0 ? "Open the front page of the card"
                                                   : "Open the back page of the card");
        sideGroup_->addButton(sideButtons_[size_t(i)], i);
        sidePanelLayout->addWidget(sideButtons_[size_t(i)]);
    }
    auto* sides = new QHBoxLayout;
    sides->addWidget(sidePanel);
    sides->addStretch(1);
    sideButtons_[0]->setChecked(true);
    connect(sideGroup_, &QButtonGroup::idClicked, this, &StartFace::sideClicked);

    selectionPromptLabel_ = new QLabel(this);
    selectionPromptLabel_->setObjectName("selectionPromptLabel");
    selectionPromptLabel_->hide();
    cancelSelectionButton_ = new QPushButton(UiText(TextId::Cancel), this);
    cancelSelectionButton_->setObjectName("cancelSelectionButton");
    cancelSelectionButton_->setToolTip("Leave the choice of a card without doing anything");
    cancelSelectionButton_->hide();
    connect(cancelSelectionButton_, &QPushButton::clicked, this,
            &StartFace::cancelSelectionClicked);
    auto* prompt = new QHBoxLayout;
    prompt->addWidget(selectionPromptLabel_);
    prompt->addWidget(cancelSelectionButton_);
    prompt->addStretch(1);

    cardStatusLabel_ = new QLabel(this);
    cardStatusLabel_->setObjectName("cardStatusLabel");
    firstCardHint_ = new QLabel(
        "Your card list holds only the sample card TESTCRD.  Click \u201c" +
            UiText(TextId::CreateNewCard) +
            "\u201d to make a card of your own for your partnership; you can still open the "
            "sample card to see how a finished card looks.",
        this);
    firstCardHint_->setObjectName("FirstCardHint");
    firstCardHint_->setWordWrap(true);
    firstCardHint_->hide();
    specialNoticeLabel_ =
        new QLabel("<a href=\"notice\" style=\"color:#ffe680;\">Please Click for a SPECIAL "
                   "Notice</a>",
                   this);
    specialNoticeLabel_->setObjectName("specialNoticeLabel");
    specialNoticeLabel_->setTextFormat(Qt::RichText);
    specialNoticeLabel_->hide();
    connect(specialNoticeLabel_, &QLabel::linkActivated, this, &StartFace::specialNoticeClicked);

    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(listLabel_);
    left->addWidget(cardList_, 1);
    left->addLayout(sides);
    left->addLayout(prompt);
    left->addWidget(cardStatusLabel_);
    left->addWidget(firstCardHint_);
    left->addWidget(specialNoticeLabel_);
    return left;
}

QLayout* StartFace::BuildCommandColumn() {
    const QString captions[10] = {UiText(TextId::CreateNewCard),
                                  UiText(TextId::EditNamesAndNumbers),
                                  UiText(TextId::SaveCardAsPicture),
                                  UiText(TextId::DeleteCard),
                                  UiText(TextId::SaveChanges) + " (F3)",
                                  UiText(TextId::ViewEditCard),
                                  "Select Card Format (F2)",
                                  UiText(TextId::ExitButton),
                                  UiText(TextId::CopyCardToDiskette),
                                  UiText(TextId::CopyCardsFromDiskette)};
    const char* tips[10] = {"Make a new card of this format (Ctrl+N)",
                            "Change the partnership's names and player numbers",
                            "Save the open card as pictures or a PDF file (Ctrl+Shift+S)",
                            "Delete a card of this format",
                            "Save the changes of the open card (Ctrl+S)",
                            "Show the open card to fill it in (Ctrl+E)",
                            "Choose another card format",
                            "End Cardwright (Ctrl+Q)",
                            "Copy a card and its notes to a folder or a USB stick",
                            "Copy the cards of a folder or a USB stick into Cardwright"};
    for (int i = 0; i < 10; ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QString("commandButton(%1)").arg(i));
        button->setToolTip(tips[i]);
        button->setFixedWidth(kButtonWidth);
        button->setMinimumHeight(34);
        connect(button, &QPushButton::clicked, this, [this, i] { emit commandClicked(i); });
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
    return right;
}

void StartFace::ShowFormatName(const QString& name) {
    formatNameLabel_->setText(name);
}

void StartFace::ShowFormatPicture(const std::optional<fs::path>& picture) {
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

void StartFace::ShowSpecialNoticeLabel(bool visible) {
    specialNoticeLabel_->setVisible(visible);
}

void StartFace::ShowCardList(const std::vector<std::string>& entries) {
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

void StartFace::SelectCardInList(int index) {
    const QSignalBlocker block(cardList_);
    if (index < 0 || index >= cardList_->count()) {
        cardList_->clearSelection();
        cardList_->setCurrentRow(-1);
    } else {
        cardList_->setCurrentRow(index);
    }
}

void StartFace::ShowFirstCardHint(bool visible) {
    firstCardHint_->setVisible(visible);
    if (visible) {
        blinkTimer_->start();
    } else {
        blinkTimer_->stop();
        commandButtons_[0]->show();
    }
}

void StartFace::PauseBlinking(bool pause) {
    if (pause) {
        blinkTimer_->stop();
        commandButtons_[0]->show();
    } else if (!firstCardHint_->isHidden()) {
        blinkTimer_->start();
    }
}

void StartFace::ShowSelectionPrompt(const QString& text, bool cancelVisible) {
    selectionPromptLabel_->setText(text);
    selectionPromptLabel_->setVisible(!text.isEmpty());
    cancelSelectionButton_->setVisible(cancelVisible);
}

void StartFace::ShowCardStatus(const QString& text) {
    cardStatusLabel_->setText(text);
}

void StartFace::ShowSide(bool backSide) {
    const QSignalBlocker block(sideGroup_);
    sideButtons_[backSide ? 1 : 0]->setChecked(true);
}

void StartFace::SetSideButtonsEnabled(bool enabled) {
    for (auto* button : sideButtons_)
        button->setEnabled(enabled);
}

void StartFace::EnableSaveCommand(bool enabled) {
    commandButtons_[4]->setEnabled(enabled);
}

void StartFace::EnableCardCommands(bool enabled, bool namesEditable) {
    commandButtons_[1]->setEnabled(enabled && namesEditable);
    commandButtons_[2]->setEnabled(enabled);
    commandButtons_[5]->setEnabled(enabled);
}

bool StartFace::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cardList_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            cardList_->currentRow() >= 0) {
            emit cardChosen(cardList_->currentRow());
            return true;
        }
    }
    return GradientBackground::eventFilter(watched, event);
}

} // namespace cw
