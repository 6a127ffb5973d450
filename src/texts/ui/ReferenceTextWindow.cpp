#include "ReferenceTextWindow.h"

#include "AppContext.h"
#include "ErrorTrap.h"
#include "PageKeys.h"
#include "Prompter.h"
#include "SuitTyping.h"
#include "TextCodec.h"
#include "TextDocumentPrinter.h"
#include "TextsLocations.h"
#include "WbfConversion.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace cw {

namespace {

constexpr double kScreenFontSize = 10;
// The printed texts' font size.
constexpr double kPrintFontSize = 10.08;
// The page is at least this many characters wide, so that every text opens in a window of
// the same size.
constexpr int kPageColumns = 78;

const TextCodec& Codec() {
    return TextCodec::Western();
}

} // namespace

ReferenceTextWindow::ReferenceTextWindow(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context),
      canvas_(context.errorTrap, context.Format.Profile(), context.TwipsPerPixel) {
    setObjectName("ReferenceTextWindow");
    setWindowTitle("Special Notices");
    BuildWindow();
}

ReferenceTextWindow::~ReferenceTextWindow() = default;

TextLineStyle ReferenceTextWindow::PageStyle() const {
    TextLineStyle style;
    style.fontName = QStringLiteral("Courier");
    style.fontSize = kScreenFontSize;
    style.suitMarkup = text_.SuitMarkup();
    return style;
}

void ReferenceTextWindow::BuildWindow() {
    pageArea_ = new QScrollArea(this);
    pageArea_->setObjectName("textPageArea");
    pageArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pageArea_->setBackgroundRole(QPalette::Base);
    textPage_ = new QLabel;
    textPage_->setObjectName("textPage");
    textPage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pageArea_->setWidget(textPage_);
    pageArea_->installEventFilter(this);
    pageArea_->viewport()->installEventFilter(this);

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName("textScrollBar");
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(ReferenceText::PageLines - 1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!updating_)
            context_.errorTrap.Guard(loc::ReferenceTextScroll, [&] { ShowPage(value); });
    });

    const TextLineStyle style = PageStyle();
    const int pageHeight = canvas_.LineHeightPixels(style) * ReferenceText::PageLines + 4;
    const int pageWidth = canvas_.WidthPixels({QString(kPageColumns, u'M')}, style);
    pageArea_->setFixedHeight(pageHeight + 2 * pageArea_->frameWidth() +
                              pageArea_->horizontalScrollBar()->sizeHint().height());
    pageArea_->setMinimumWidth(pageWidth + 2 * pageArea_->frameWidth());

    auto* findLabel = new QLabel("&Find:", this);
    findBox_ = new QLineEdit(this);
    findBox_->setObjectName("findBox");
    findBox_->setPlaceholderText("a word, e.g. Lebensohl");
    findBox_->setClearButtonEnabled(true);
    findLabel->setBuddy(findBox_);
    findNextButton_ = new QPushButton("&Next", this);
    findNextButton_->setObjectName("findNextButton");
    findPreviousButton_ = new QPushButton("P&revious", this);
    findPreviousButton_->setObjectName("findPreviousButton");
    findStatus_ = new QLabel(this);
    findStatus_->setObjectName("findStatus");
    connect(findBox_, &QLineEdit::returnPressed, this, [this] { FindNext(true); });
    connect(findNextButton_, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(findPreviousButton_, &QPushButton::clicked, this, [this] { FindNext(false); });
    connect(findBox_, &QLineEdit::textEdited, this, [this] {
        // A new search starts from the page on show.
        found_.reset();
        findStatus_->clear();
        DrawPage();
    });

    auto* findAction = new QAction(this);
    findAction->setShortcuts(QKeySequence::Find);
    connect(findAction, &QAction::triggered, this, [this] {
        findBox_->setFocus();
        findBox_->selectAll();
    });
    addAction(findAction);
    auto* nextAction = new QAction(this);
    nextAction->setShortcuts(QKeySequence::FindNext);
    connect(nextAction, &QAction::triggered, this, [this] { FindNext(true); });
    addAction(nextAction);
    auto* previousAction = new QAction(this);
    previousAction->setShortcuts(QKeySequence::FindPrevious);
    connect(previousAction, &QAction::triggered, this, [this] { FindNext(false); });
    addAction(previousAction);

    const char* captions[3] = {"Done", "Print", "Convert WBF England cards to New WBF Cards"};
    for (int i = 0; i < 3; ++i) {
        buttons_[size_t(i)] = new QPushButton(captions[i], this);
        buttons_[size_t(i)]->setObjectName(QString("textButton(%1)").arg(i));
    }
    connect(buttons_[DoneButton], &QPushButton::clicked, this, [this] { close(); });
    connect(buttons_[PrintButton], &QPushButton::clicked, this, &ReferenceTextWindow::PrintClicked);
    connect(buttons_[ConvertButton], &QPushButton::clicked, this,
            [this] { WbfConversion(context_).ConvertWbfCards(); });

    auto* pageRow = new QHBoxLayout;
    pageRow->setSpacing(2);
    pageRow->addWidget(pageArea_, 1);
    pageRow->addWidget(scrollBar_);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(findBox_, 1);
    findRow->addWidget(findPreviousButton_);
    findRow->addWidget(findNextButton_);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(buttons_[ConvertButton]);
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons_[PrintButton]);
    buttonRow->addWidget(buttons_[DoneButton]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(findRow);
    layout->addWidget(findStatus_);
    layout->addLayout(pageRow);
    layout->addLayout(buttonRow);
}

bool ReferenceTextWindow::ShowText(const fs::path& file) {
    return context_.errorTrap.Guard(
        loc::ReferenceTextLoad,
        [&] {
            ReferenceText text = ReferenceText::Load(file);
            text_ = std::move(text);
            found_.reset();
            findStatus_->clear();
            setWindowTitle(QString::fromStdString(text_.Caption()));
            updating_ = true;
            scrollBar_->setRange(0, text_.ScrollMax());
            scrollBar_->setValue(0);
            updating_ = false;
            first_ = 0;
            DrawPage();
            show();
            raise();
            activateWindow();
            buttons_[DoneButton]->setFocus();
        },
        [&] { return std::vector<ErrValue>{file.string()}; });
}

void ReferenceTextWindow::ShowPage(int first) {
    first_ = std::clamp(first, 0, text_.ScrollMax());
    if (scrollBar_->value() != first_) {
        updating_ = true;
        scrollBar_->setValue(first_);
        updating_ = false;
    }
    DrawPage();
}

void ReferenceTextWindow::DrawPage() {
    context_.errorTrap.Guard(loc::ReferenceTextDraw, [&] {
        QStringList lines;
        for (const std::string& line : text_.Page(first_))
            lines.append(Codec().Decode(line));
        TextLineStyle style = PageStyle();
        QSize size(std::max(pageArea_->viewport()->width(), canvas_.WidthPixels(lines, style)),
                   canvas_.LineHeightPixels(style) * ReferenceText::PageLines + 4);
        int highlight = found_ ? *found_ - first_ : -1;
        textPage_->setPixmap(QPixmap::fromImage(canvas_.Draw(lines, style, size, highlight)));
        textPage_->resize(size);
    });
}

bool ReferenceTextWindow::FindNext(bool forward) {
    bool foundOne = false;
    context_.errorTrap.Guard(loc::ReferenceTextFind, [&] {
        const QString query = findBox_->text();
        if (query.trimmed().isEmpty()) {
            findBox_->setFocus();
            return;
        }
        // From the line found last; a new search starts at the page on show.
        int from = found_ ? *found_ : (forward ? first_ - 1 : first_);
        // The page shows suit tags as symbols: a symbol searched for is found as its tag.
        const QString searched = text_.SuitMarkup() ? SymbolsToMarkup(query) : query;
        std::optional<int> line = text_.Find(Codec().Encode(searched), from, forward);
        if (!line) {
            found_.reset();
            findStatus_->setText(QString("\u201c%1\u201d is not in this text.").arg(query));
            DrawPage();
            return;
        }
        bool wrapped = found_ && (forward ? *line <= from : *line >= from);
        found_ = line;
        findStatus_->setText(wrapped
                                 ? (forward ? "Continued from the top." : "Continued from the end.")
                                 : QString());
        foundOne = true;
        // A line on the page on show stays where it is; another comes to the top.
        if (*line < first_ || *line >= first_ + ReferenceText::PageLines)
            ShowPage(*line);
        else
            DrawPage();
    });
    return foundOne;
}

void ReferenceTextWindow::PrintClicked() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(text_.Caption()));
    printer.setPageMargins(QMarginsF(18, 15, 15, 15), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Print");
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintText(printer);
}

bool ReferenceTextWindow::PrintText(QPagedPaintDevice& device) {
    return context_.errorTrap.Guard(loc::ReferenceTextPrint, [&] {
        BusyScope busy(context_.prompter);
        TextDocumentPrinter printer(context_.errorTrap, context_.Format.Profile(),
                                    context_.TwipsPerPixel, device, TextLineStyle{});
        WritePrintout(printer.Writer());
        printer.Finish();
    });
}

void ReferenceTextWindow::WritePrintout(TextLineWriter& writer) {
    TextLineStyle style;
    style.fontName = QStringLiteral("Courier");
    style.fontSize = kPrintFontSize;
    style.bold = true;
    style.suitMarkup = text_.SuitMarkup();
    writer.SetStyle(style);
    writer.WriteEmpty();
    for (int i = 0; i < text_.LineCount(); ++i)
        writer.Write(Codec().Decode(text_.ShownLine(i)));
}

void ReferenceTextWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        scrollBar_->triggerAction(event->key() == Qt::Key_PageUp
                                      ? QAbstractSlider::SliderPageStepSub
                                      : QAbstractSlider::SliderPageStepAdd);
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool ReferenceTextWindow::eventFilter(QObject* watched, QEvent* event) {
    // Clicked, the page takes the focus; it keeps the keys that turn it rather than letting
    // its scroll area take them.
    if ((watched == pageArea_ || watched == pageArea_->viewport()) &&
        event->type() == QEvent::KeyPress) {
        const auto action = PageKeyAction(*static_cast<QKeyEvent*>(event));
        if (action != QAbstractSlider::SliderNoAction) {
            scrollBar_->triggerAction(action);
            return true;
        }
    }
    if (watched == pageArea_->viewport()) {
        if (event->type() == QEvent::Wheel) {
            QApplication::sendEvent(scrollBar_, event);
            return true;
        }
        if (event->type() == QEvent::Resize)
            DrawPage();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cw
