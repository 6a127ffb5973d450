#include "NotesWindow.h"

#include "AppContext.h"
#include "ErrorTrap.h"
#include "FileNameText.h"
#include "NotesLocations.h"
#include "PageKeys.h"
#include "Prompter.h"
#include "SuitTyping.h"
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
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

namespace cw {

namespace {

constexpr double kScreenFontSize = 11;
// A longer line is drawn cut off, and the page picture is never wider than this: a file
// with no line ends at all must not cost a picture as wide as its text.
constexpr qsizetype kMaxDrawnChars = 1000;
constexpr int kMaxPageWidth = 10000;
// The printed notes' font size.
constexpr double kPrintFontSize = 10.04;

// File names are UTF-8, but for those copied from Windows.
QString FromFileName(const std::string& name) {
    return QString::fromStdString(FileNameToUtf8(name));
}

} // namespace

NotesWindow::NotesWindow(AppContext& context, ChangedState& changed, QWidget* parent)
    : QMainWindow(parent, Qt::Window), context_(context), session_(context, changed, *this),
      canvas_(context.errorTrap, context.Format.Profile(), context.TwipsPerPixel) {
    setObjectName("NotesWindow");
    setWindowTitle("Supplemental Notes");
    BuildWindow();
    BuildSymbolsMenu();
}

NotesWindow::~NotesWindow() = default;

const TextCodec& NotesWindow::Codec() const {
    return codec_ ? *codec_ : TextCodec::Western();
}

QString NotesWindow::DecodeLine(std::string_view bytes) const {
    if (utf8_)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return Codec().Decode(bytes);
}

std::string NotesWindow::EncodeLine(const QString& text) const {
    if (utf8_)
        return text.toStdString();
    return Codec().Encode(text);
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
    pageArea_->installEventFilter(this);
    viewOrEdit_->addWidget(pageArea_);

    editBox_ = new QPlainTextEdit(viewOrEdit_);
    editBox_->setObjectName("notesEditBox");
    // One line of the box is one line of the file.
    editBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont arial(canvas_.FontFamily(QStringLiteral("Arial")));
    arial.setPointSizeF(kScreenFontSize);
    editBox_->setFont(arial);
    connect(editBox_, &QPlainTextEdit::textChanged, this, [this] {
        if (updating_)
            return;
        ReplaceSuitSymbols();
        session_.EditChanged();
    });
    viewOrEdit_->addWidget(editBox_);

    scrollBar_ = new QScrollBar(Qt::Vertical, fileFace_);
    scrollBar_->setObjectName("notesScrollBar");
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(NotesSession::PageStep);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &NotesWindow::ScrollBarMoved);

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
        TextDocumentPrinter printer(context_.errorTrap, context_.Format.Profile(),
                                    context_.TwipsPerPixel, device, TextLineStyle{});
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
    utf8_ = session_.Text().IsUtf8();
    blockBytes_ = lines;
    shownLines_.clear();
    drawnLines_.clear();
    bool editable = true;
    for (const std::string& line : lines) {
        // Only as much of a very long line is decoded as is drawn.
        const bool tooLong = line.size() > NotesSession::MaxEditableLine;
        editable = editable && !tooLong;
        QString text = DecodeLine(
            tooLong ? std::string_view(line).substr(0, size_t(kMaxDrawnChars) * 4) : line);
        drawnLines_.append(text.size() > kMaxDrawnChars
                               ? text.left(kMaxDrawnChars) + QStringLiteral(" \u2026")
                               : text);
        shownLines_.append(tooLong ? QString() : text);
    }
    faces_->setCurrentWidget(fileFace_);
    fileLabel_->setText(FromFileName(fileName) + (utf8_ ? QStringLiteral("  (UTF-8)") : QString()));
    buttons_[EditButton]->setEnabled(true);
    buttons_[PrintButton]->setEnabled(true);
    otherFilesButton_->setEnabled(true);
    updating_ = true;
    // A block with a line too long to edit leaves the box empty: it cannot be edited.
    editBox_->setPlainText(editable ? shownLines_.join(u'\n') : QString());
    scrollBar_->setRange(0, session_.ScrollMax());
    scrollBar_->setValue(firstLine);
    updating_ = false;
    (void)lineCount;
    DrawPage();
}

void NotesWindow::DrawPage() {
    TextLineStyle style = PageStyle();
    const int lineHeight = canvas_.LineHeightPixels(style);
    const int width = std::min(canvas_.WidthPixels(drawnLines_, style), kMaxPageWidth);
    QSize size(std::max(pageArea_->viewport()->width(), width),
               lineHeight * NotesSession::PageLines + 4);
    notesPage_->setPixmap(QPixmap::fromImage(canvas_.Draw(drawnLines_, style, size)));
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

QStringList NotesWindow::EditedLines() const {
    QStringList lines;
    for (QTextBlock block = editBox_->document()->begin(); block.isValid(); block = block.next())
        // The block's own text: toPlainText() would turn no-break spaces into blanks.
        lines.append(block.text().split(QChar::LineSeparator));
    return lines;
}

std::string NotesWindow::EditedText() const {
    // A line as it was shown goes back as the bytes it was read from.
    QHash<QString, int> shown;
    for (int i = 0; i < shownLines_.size(); ++i)
        if (i < int(blockBytes_.size()) &&
            blockBytes_[size_t(i)].size() <= NotesSession::MaxEditableLine &&
            !shown.contains(shownLines_.at(i)))
            shown.insert(shownLines_.at(i), i);
    std::string text;
    const QStringList lines = EditedLines();
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        auto found = shown.constFind(lines.at(i));
        text += found != shown.constEnd() ? blockBytes_[size_t(*found)] : EncodeLine(lines.at(i));
    }
    return text;
}

std::string NotesWindow::UnwritableCharacters() const {
    QStringList unwritable;
    const QStringList shown = shownLines_;
    for (const QString& line : EditedLines()) {
        if (shown.contains(line))
            continue;
        for (qsizetype i = 0; i < line.size(); ++i) {
            QString one = line.mid(i, line.at(i).isHighSurrogate() ? 2 : 1);
            i += one.size() - 1;
            bool writable = utf8_ ? !one.at(0).isSurrogate() || one.size() == 2
                                  : DecodeLine(EncodeLine(one)) == one;
            if (!writable && !unwritable.contains(one))
                unwritable.append(one);
        }
    }
    return unwritable.join(u' ').toStdString();
}

void NotesWindow::ReplaceSuitSymbols() {
    QTextDocument* document = editBox_->document();
    const QString text = document->toRawText();
    bool any = false;
    for (QChar c : text)
        any = any || SuitTagLetter(c) != 0;
    if (!any)
        return;
    QTextCursor cursor(document);
    cursor.joinPreviousEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        // From the end, so that the positions before stay where they are.
        for (qsizetype i = line.size() - 1; i >= 0; --i)
            if (char letter = SuitTagLetter(line.at(i))) {
                cursor.setPosition(block.position() + int(i));
                cursor.setPosition(block.position() + int(i) + 1, QTextCursor::KeepAnchor);
                cursor.insertText(QStringLiteral("<%1>").arg(QChar(letter)));
            }
    }
    cursor.endEditBlock();
}

// ---- scrolling

void NotesWindow::ScrollBarMoved(int value) {
    if (updating_)
        return;
    if (!session_.Dirty()) {
        session_.ScrollTo(value);
        return;
    }
    // A modal question opened from inside the bar's mouse press would keep the bar from
    // seeing the release, and its auto-repeat would go on moving it: the bar stays where the
    // block is, and the question comes when the press is over.
    const bool queued = pendingScroll_.has_value();
    pendingScroll_ = value;
    ShowScrollPosition(session_.FirstLine());
    if (!queued)
        QMetaObject::invokeMethod(this, &NotesWindow::AskThenScroll, Qt::QueuedConnection);
}

void NotesWindow::AskThenScroll() {
    if (!pendingScroll_)
        return;
    // Switched off, the bar stops repeating a step whose button is held down.
    scrollBar_->setEnabled(false);
    const int target = *pendingScroll_;
    session_.ScrollTo(target);
    pendingScroll_.reset();
    scrollBar_->setEnabled(true);
}

bool NotesWindow::ScrollKey(QKeyEvent* event) {
    const QAbstractSlider::SliderAction action = PageKeyAction(*event);
    if (action == QAbstractSlider::SliderNoAction)
        return false;
    scrollBar_->triggerAction(action);
    return true;
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
    // The page keeps the keys that turn it when it has the focus (after a click on it).
    if ((watched == pageArea_ || watched == pageArea_->viewport()) &&
        event->type() == QEvent::KeyPress && ScrollKey(static_cast<QKeyEvent*>(event)))
        return true;
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
