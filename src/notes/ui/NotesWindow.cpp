#include "NotesWindow.h"

#include "AppContext.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "NotesLocations.h"
#include "Prompter.h"
#include "TextCodec.h"
#include "TextDocumentPrinter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace cw {

namespace {

constexpr double kScreenFontSize = 11;
// The printed notes' font size.
constexpr double kPrintFontSize = 10.04;

// File names are UTF-8, but for those copied from Windows.
QString FromFileName(const std::string& name) {
    return QString::fromStdString(FileNameToUtf8(name));
}

} // namespace

NotesWindow::NotesWindow(AppContext& context, ChangedState& changed, QWidget* parent)
    : QMainWindow(parent, Qt::Window), context_(context), session_(context, changed, *this),
      canvas_(context) {
    setObjectName("NotesWindow");
    setWindowTitle("Supplemental Notes");
    BuildWindow();
    BuildSymbolsMenu();
}

NotesWindow::~NotesWindow() = default;

const TextCodec& NotesWindow::Codec() const {
    return codec_ ? *codec_ : TextCodec::Western();
}

TextLineStyle NotesWindow::PageStyle() const {
    TextLineStyle style;
    style.fontName = QStringLiteral("Arial");
    style.fontSize = kScreenFontSize;
    return style;
}

void NotesWindow::BuildWindow() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    faces_ = new QStackedWidget(central);

    listFace_ = new QGroupBox("Select a Supplemental Notes File", faces_);
    listFace_->setObjectName("ListFrame");
    listNotice_ = new QLabel(listFace_);
    listNotice_->setObjectName("listNotice");
    listNotice_->setWordWrap(true);
    listNotice_->setStyleSheet("QLabel { background: #fff6c8; border: 1px solid #d9b84a;"
                               " border-radius: 4px; padding: 6px; }");
    listNotice_->hide();
    fileList_ = new QListWidget(listFace_);
    fileList_->setObjectName("notesFileList");
    auto* listLayout = new QVBoxLayout(listFace_);
    listLayout->addWidget(listNotice_);
    listLayout->addWidget(fileList_, 1);
    connect(fileList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { FileChosen(fileList_->row(item)); });
    connect(fileList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { FileChosen(fileList_->row(item)); });
    faces_->addWidget(listFace_);

    fileFace_ = new QWidget(faces_);
    fileLabel_ = new QLabel(fileFace_);
    fileLabel_->setObjectName("notesFileLabel");
    QFont bold = fileLabel_->font();
    bold.setBold(true);
    fileLabel_->setFont(bold);

    viewOrEdit_ = new QStackedWidget(fileFace_);
    pageArea_ = new QScrollArea(viewOrEdit_);
    pageArea_->setObjectName("notesPageArea");
    pageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pageArea_->setBackgroundRole(QPalette::Base);
    notesPage_ = new QLabel;
    notesPage_->setObjectName("notesPage");
    notesPage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pageArea_->setWidget(notesPage_);
    pageArea_->viewport()->installEventFilter(this);
    viewOrEdit_->addWidget(pageArea_);

    editBox_ = new QPlainTextEdit(viewOrEdit_);
    editBox_->setObjectName("notesEditBox");
    // One line of the box is one line of the file.
    editBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont arial(canvas_.FontFamily(QStringLiteral("Arial")));
    arial.setPointSizeF(kScreenFontSize);
    editBox_->setFont(arial);
    connect(editBox_, &QPlainTextEdit::textChanged, this, [this] {
        if (!updating_)
            session_.EditChanged();
    });
    viewOrEdit_->addWidget(editBox_);

    scrollBar_ = new QScrollBar(Qt::Vertical, fileFace_);
    scrollBar_->setObjectName("notesScrollBar");
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(NotesSession::PageStep);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!updating_)
            session_.ScrollTo(value);
    });

    // The page shows 18 lines; the edit box is as tall.
    const int pageHeight = canvas_.LineHeightPixels(PageStyle()) * NotesSession::PageLines + 8 +
                           pageArea_->horizontalScrollBar()->sizeHint().height();
    viewOrEdit_->setFixedHeight(pageHeight);
    auto* pageRow = new QHBoxLayout;
    pageRow->setSpacing(2);
    pageRow->addWidget(viewOrEdit_, 1);
    pageRow->addWidget(scrollBar_);
    auto* fileLayout = new QVBoxLayout(fileFace_);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->addWidget(fileLabel_);
    fileLayout->addLayout(pageRow);
    fileLayout->addStretch(1);
    faces_->addWidget(fileFace_);

    const char* captions[6] = {"Save Changes", "Print Notes", "Help", "Create a New Notes File",
                               "Edit File",    "Done"};
    for (int i = 0; i < 6; ++i) {
        buttons_[size_t(i)] = new QPushButton(captions[i], central);
        buttons_[size_t(i)]->setObjectName(QString("notesButton(%1)").arg(i));
    }
    otherFilesButton_ = new QPushButton("Other Notes Files", central);
    otherFilesButton_->setObjectName("otherFilesButton");
    buttons_[HelpButton]->hide();
    buttons_[SaveButton]->setEnabled(false);
    buttons_[EditButton]->setEnabled(false);
    buttons_[PrintButton]->setEnabled(false);
    otherFilesButton_->setEnabled(false);
    connect(buttons_[SaveButton], &QPushButton::clicked, this,
            [this] { session_.SaveNotesEdit(); });
    connect(buttons_[PrintButton], &QPushButton::clicked, this, &NotesWindow::PrintClicked);
    connect(buttons_[HelpButton], &QPushButton::clicked, this, [this] {
        if (help_)
            help_();
    });
    connect(buttons_[CreateButton], &QPushButton::clicked, this,
            [this] { session_.CreateNotesFile(); });
    connect(buttons_[EditButton], &QPushButton::clicked, this, &NotesWindow::EditButtonClicked);
    connect(buttons_[DoneButton], &QPushButton::clicked, this, [this] { close(); });
    connect(otherFilesButton_, &QPushButton::clicked, this, [this] { session_.ShowFileList(); });

    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* button : {buttons_[EditButton], buttons_[SaveButton], buttons_[PrintButton],
                                otherFilesButton_, buttons_[CreateButton]})
        buttonRow->addWidget(button);
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons_[HelpButton]);
    buttonRow->addWidget(buttons_[DoneButton]);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(faces_, 1);
    layout->addLayout(buttonRow);
    resize(820, pageHeight + 120);
}

void NotesWindow::BuildSymbolsMenu() {
    symbolsMenu_ = menuBar()->addMenu("Card &Symbols");
    symbolsMenu_->setObjectName("symbolsMenu");
    const std::pair<const char*, char> suits[] = {
        {"Club", 'c'}, {"Diamond", 'd'}, {"Heart", 'h'}, {"Spade", 's'}};
    for (int i = 0; i < 4; ++i) {
        char letter = suits[i].second;
        QAction* action = symbolsMenu_->addAction(suits[i].first);
        action->setObjectName(QString("symbolAction(%1)").arg(i));
        action->setShortcut(QKeyCombination(Qt::Key(Qt::Key_F5 + i)));
        connect(action, &QAction::triggered, this, [this, letter] { InsertSymbol(letter); });
    }
    symbolsMenu_->setEnabled(false);
}

void NotesWindow::SetHelpHandler(std::function<void()> handler) {
    help_ = std::move(handler);
    buttons_[HelpButton]->setVisible(bool(help_));
}

void NotesWindow::OpenFor(const std::optional<std::string>& fieldText) {
    if (isVisible()) {
        raise();
        activateWindow();
        // A reference is followed in the card's own notes file only.
        if (fieldText && session_.HasFile() &&
            EqualsIgnoreCase(session_.FileName(), session_.CardNotesFile()))
            session_.GoToNote(*fieldText);
        return;
    }
    bool ownFile = false;
    codec_ = &canvas_.Codec();
    context_.errorTrap.Guard(loc::NotesWindowLoad, [&] {
        show();
        raise();
        activateWindow();
        ownFile = session_.Open();
    });
    if (ownFile && fieldText)
        session_.GoToNote(*fieldText);
}

void NotesWindow::FileChosen(int row) {
    // A double click reports the file a second time, when it is already shown.
    if (faces_->currentWidget() != listFace_ || row < 0 || row >= fileList_->count())
        return;
    session_.ChooseFile(fileList_->item(row)->data(Qt::UserRole).toByteArray().toStdString());
}

void NotesWindow::EditButtonClicked() {
    context_.errorTrap.Guard(loc::EditNotes, [&] {
        if (session_.Editing())
            session_.StopEditing();
        else
            session_.StartEditing();
    });
}

bool NotesWindow::InsertSymbol(char letter) {
    if (!session_.Editing() || !editBox_->isVisible() || editBox_->isReadOnly())
        return false;
    context_.errorTrap.Guard(loc::InsertNotesSymbol, [&] {
        editBox_->textCursor().insertText(QStringLiteral("<%1>").arg(QChar(letter)));
        editBox_->setFocus();
    });
    return true;
}

void NotesWindow::PrintClicked() {
    if (!session_.PreparePrint())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(session_.FileName()));
    printer.setPageMargins(QMarginsF(18, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Print Notes");
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintNotes(printer);
}

bool NotesWindow::PrintNotes(QPagedPaintDevice& device) {
    return context_.errorTrap.Guard(loc::PrintNotes, [&] {
        BusyScope busy(context_.prompter);
        TextDocumentPrinter printer(context_, device, TextLineStyle{});
        WritePrintout(printer.Writer());
        printer.Finish();
    });
}

void NotesWindow::WritePrintout(TextLineWriter& writer) {
    TextLineStyle style;
    style.fontName = QStringLiteral("Arial");
    style.fontSize = kPrintFontSize;
    writer.SetStyle(style);
    writer.WriteEmpty();
    writer.WriteEmpty();
    writer.SetBold(true);
    writer.Write(FromFileName(session_.PrintHeading()));
    writer.SetBold(false);
    writer.WriteEmpty();
    for (const std::string& line : session_.Text().Lines())
        writer.Write(Codec().Decode(line));
}

// ---- NotesView

void NotesWindow::ShowFileList(const std::vector<std::string>& names, const std::string& notice) {
    fileList_->clear();
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(FromFileName(name), fileList_);
        // The name as it is on disk, whatever it looks like decoded.
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
    }
    listNotice_->setText(Codec().Decode(notice));
    listNotice_->setVisible(!notice.empty());
    faces_->setCurrentWidget(listFace_);
    buttons_[EditButton]->setText("Edit File");
    buttons_[EditButton]->setEnabled(false);
    buttons_[PrintButton]->setEnabled(false);
    otherFilesButton_->setEnabled(false);
    symbolsMenu_->setEnabled(false);
    fileList_->setFocus();
}

void NotesWindow::ShowBlock(const std::string& fileName, const std::vector<std::string>& lines,
                            int firstLine, int lineCount) {
    shownLines_.clear();
    for (const std::string& line : lines)
        shownLines_.append(Codec().Decode(line));
    faces_->setCurrentWidget(fileFace_);
    fileLabel_->setText(FromFileName(fileName));
    buttons_[EditButton]->setEnabled(true);
    buttons_[PrintButton]->setEnabled(true);
    otherFilesButton_->setEnabled(true);
    updating_ = true;
    editBox_->setPlainText(shownLines_.join(u'\n'));
    scrollBar_->setRange(0, session_.ScrollMax());
    scrollBar_->setValue(firstLine);
    updating_ = false;
    (void)lineCount;
    DrawPage();
}

void NotesWindow::DrawPage() {
    TextLineStyle style = PageStyle();
    const int lineHeight = canvas_.LineHeightPixels(style);
    QSize size(std::max(pageArea_->viewport()->width(), canvas_.WidthPixels(shownLines_, style)),
               lineHeight * NotesSession::PageLines + 4);
    notesPage_->setPixmap(QPixmap::fromImage(canvas_.Draw(shownLines_, style, size)));
    notesPage_->resize(size);
}

void NotesWindow::ShowScrollPosition(int firstLine) {
    updating_ = true;
    scrollBar_->setValue(firstLine);
    updating_ = false;
}

void NotesWindow::ShowEditing(bool editing) {
    buttons_[EditButton]->setText(editing ? "View Output" : "Edit File");
    symbolsMenu_->setEnabled(editing);
    if (editing) {
        viewOrEdit_->setCurrentWidget(editBox_);
        editBox_->setFocus();
    } else {
        viewOrEdit_->setCurrentWidget(pageArea_);
        if (buttons_[DoneButton]->isVisible())
            buttons_[DoneButton]->setFocus();
    }
}

void NotesWindow::EnableSave(bool enabled) {
    buttons_[SaveButton]->setEnabled(enabled);
}

std::string NotesWindow::EditedText() const {
    return Codec().Encode(editBox_->toPlainText());
}

// ---- events

void NotesWindow::closeEvent(QCloseEvent* event) {
    bool close = true;
    context_.errorTrap.Guard(loc::NotesDone, [&] { close = session_.Done(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

void NotesWindow::keyPressEvent(QKeyEvent* event) {
    // Page Up and Page Down turn the pages wherever the focus is, but in the edit box (which
    // keeps them for its cursor).
    if (faces_->currentWidget() == fileFace_ &&
        (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)) {
        scrollBar_->triggerAction(event->key() == Qt::Key_PageUp
                                      ? QAbstractSlider::SliderPageStepSub
                                      : QAbstractSlider::SliderPageStepAdd);
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool NotesWindow::eventFilter(QObject* watched, QEvent* event) {
    // The mouse wheel over the page moves the page's own scroll bar.
    if (watched == pageArea_->viewport() && event->type() == QEvent::Wheel) {
        QApplication::sendEvent(scrollBar_, event);
        return true;
    }
    if (watched == pageArea_->viewport() && event->type() == QEvent::Resize &&
        faces_->currentWidget() == fileFace_)
        DrawPage();
    return QMainWindow::eventFilter(watched, event);
}

} // namespace cw
