#include "FillInController.h"

#include "AppContext.h"
#include "CardCanvas.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "ChangedState.h"
#include "Colour.h"
#include "ErrorTrap.h"
#include "FieldRecords.h"
#include "LocationCodes.h"
#include "SuitTyping.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>
#include <cmath>

namespace cw {

namespace {

constexpr Qt::Alignment kAlignments[3] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};

// Multi-line fields keep CR LF inside their texts, as the card files have them.
QString ToEditor(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString FromEditor(QString text) {
    return text.replace(QChar('\n'), QStringLiteral("\r\n"));
}

char CtrlKeyOf(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_L:
        return 'L';
    case Qt::Key_R:
        return 'R';
    case Qt::Key_M:
        return 'M';
    case Qt::Key_U:
        return 'U';
    case Qt::Key_D:
        return 'D';
    case Qt::Key_BracketLeft:
        return '[';
    case Qt::Key_I:
        return 'I';
    case Qt::Key_BracketRight:
        return ']';
    case Qt::Key_O:
        return 'O';
    case Qt::Key_B:
        return 'B';
    default:
        return 0;
    }
}

} // namespace

FillInController::FillInController(AppContext& context, ChangedState& changed, CardFace& cardView,
                                   CardRenderer& renderer, CardCanvas& canvas)
    : context_(context), changed_(changed), cardFace_(cardView), renderer_(renderer),
      canvas_(canvas), session_(context.Card, *this) {
    BuildEditors(cardFace_.cardPicture());
}

FillInController::~FillInController() = default;

void FillInController::BuildEditors(QWidget* parent) {
    for (int i = 0; i < 6; ++i) {
        QWidget* editor = nullptr;
        if (i < 3) {
            auto* line = new QLineEdit(parent);
            line->setFrame(false);
            line->setAlignment(kAlignments[i] | Qt::AlignVCenter);
            connect(line, &QLineEdit::textChanged, this, [this] { session_.EditorTextChanged(); });
            connect(line, &QLineEdit::textEdited, this, [this, line] { TypedSuit(line); });
            editor = line;
        } else {
            auto* text = new QTextEdit(parent);
            text->setAcceptRichText(false);
            text->setFrameStyle(0);
            text->setLineWrapMode(QTextEdit::WidgetWidth);
            text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            text->document()->setDocumentMargin(0);
            text->setTabChangesFocus(false);
            connect(text, &QTextEdit::textChanged, this, [this, text] {
                session_.EditorTextChanged();
                TypedSuit(text);
            });
            editor = text;
        }
        editor->setObjectName(QStringLiteral("fieldEditor(%1)").arg(i));
        editor->hide();
        editor->installEventFilter(this);
        editors_[size_t(i)] = editor;
    }
    optionList_ = new QListWidget(parent);
    optionList_->setObjectName(QStringLiteral("optionList"));
    optionList_->addItems({"Not Used", "NoTrump", "Suit", "Both"});
    optionList_->setToolTip("Click a choice, or type N for NoTrump, S for Suit, B for Both, "
                            "U for Not Used");
    optionList_->setFixedSize(optionList_->sizeHintForColumn(0) + 12,
                              optionList_->sizeHintForRow(0) * 4 + 6);
    optionList_->hide();
    connect(optionList_, &QListWidget::itemClicked, this,
            [this] { session_.OptionChosen(optionList_->currentRow()); });
    connect(optionList_, &QListWidget::itemActivated, this,
            [this] { session_.OptionChosen(optionList_->currentRow()); });
    optionList_->installEventFilter(this);
    // The card tells what its option fields are when the pointer rests on one.
    parent->installEventFilter(this);
}

QWidget* FillInController::OpenEditor() const {
    return boundEditor_ >= 0 ? editors_[size_t(boundEditor_)] : nullptr;
}

QString FillInController::EditorText() const {
    return EditorTextOf(OpenEditor());
}

QString FillInController::EditorTextOf(QWidget* editor) const {
    // The suit symbols shown (typed, pasted) are the card's suit markup.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return SymbolsToMarkup(line->text());
    if (auto* text = qobject_cast<QTextEdit*>(editor))
        return SymbolsToMarkup(FromEditor(text->toPlainText()));
    return {};
}

void FillInController::TypedSuit(QWidget* editor) {
    // Only typing: a text the program puts into the editor is shown as it is.
    if (replacingSuit_ || session_.SuppressChange)
        return;
    replacingSuit_ = true;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const int caret = line->cursorPosition();
        const int at = BangSuitBefore(line->text(), caret);
        if (at >= 0) {
            const QChar symbol = SuitSymbol(line->text()[caret - 1]);
            line->setSelection(at, 2);
            line->insert(QString(symbol));
        }
    } else if (auto* box = qobject_cast<QTextEdit*>(editor)) {
        QTextCursor cursor = box->textCursor();
        const QString text = box->toPlainText();
        const int at = BangSuitBefore(text, cursor.position());
        if (at >= 0) {
            const QChar symbol = SuitSymbol(text[cursor.position() - 1]);
            cursor.setPosition(at + 2);
            cursor.setPosition(at, QTextCursor::KeepAnchor);
            cursor.insertText(QString(symbol));
            box->setTextCursor(cursor);
        }
    }
    replacingSuit_ = false;
}

bool FillInController::OptionFieldAt(QPoint twips) const {
    const int32_t x = twips.x(), y = twips.y();
    const CardPage& page = context_.Card.Page();
    for (int i = 0; i < page.Count(OptionField); ++i) {
        const OptionFieldRecord field(page.Field(OptionField, i).a);
        if (x >= field.x() && x <= field.x() + field.width() && y >= field.y() &&
            y <= field.y() + field.height())
            return true;
    }
    return false;
}

void FillInController::Click(QPoint twips) {
    context_.errorTrap.Guard(
        loc::FillInClick,
        [&] {
            // A click elsewhere leaves the open field first, as losing the focus does.
            CommitOpenEditor();
            DrawSurface& surface = canvas_.Surface();
            HitMetrics metrics;
            metrics.letterWidth = int32_t(std::lround(surface.TextWidth(QStringLiteral("H"))));
            metrics.letterHeight = int32_t(std::lround(surface.TextHeight(QStringLiteral("H"))));
            metrics.twipsPerPixel = context_.TwipsPerPixel;
            session_.Click(twips.x(), twips.y(), metrics);
        },
        [&] {
            return std::vector<ErrValue>{"Stx = " + std::to_string(twips.x()),
                                         "Sty = " + std::to_string(twips.y())};
        });
}

void FillInController::StartFilling() {
    Reset();
    int count = context_.Card.Page().Count(TextField);
    if (count == 0)
        return;
    const int backFirst = context_.Format.Traits().backPageFirstTextField;
    int first = context_.Card.BackSide() && count > backFirst ? backFirst : 0;
    session_.OpenTextEditor(first);
}

void FillInController::CommitOpenEditor() {
    if (QWidget* editor = OpenEditor())
        CommitFrom(editor);
    HideOptionList();
}

void FillInController::Reset() {
    if (QWidget* editor = OpenEditor()) {
        boundEditor_ = -1;
        editor->hide();
    }
    HideOptionList();
    session_.Reset();
}

void FillInController::CommitFrom(QWidget* editor) {
    if (editor != OpenEditor())
        return;
    QString text = EditorText();
    session_.CommitTextEditor(renderer_.Text().Codec().Encode(text));
}

bool FillInController::InsertSuit(char letter) {
    return InsertSuitInto(OpenEditor(), letter);
}

bool FillInController::InsertSuitInto(QWidget* editor, char letter) {
    if (!editor || !cardFace_.isVisible())
        return false;
    // The symbol shows at the caret as it will on the card; the card keeps its markup.
    const QString symbol(SuitSymbol(QChar(letter)));
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->insert(symbol);
    else if (auto* box = qobject_cast<QTextEdit*>(editor))
        box->insertPlainText(symbol);
    else
        return false;
    return true;
}

void FillInController::OpenEditor(int textFieldIndex) {
    const CardField& field = context_.Card.Page().Field(TextField, textFieldIndex);
    EditorStyle style = EditorStyleFor(field, context_.Format.Defaults().BasicFontBold,
                                       context_.Format.Defaults().BasicFontItalic);
    if (QWidget* previous = OpenEditor();
        previous && previous != editors_[size_t(style.editorIndex)]) {
        boundEditor_ = -1;
        previous->hide();
    }
    boundEditor_ = style.editorIndex;
    QWidget* editor = editors_[size_t(boundEditor_)];
    StyleEditor(editor, textFieldIndex);
    PlaceOpenEditor();
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    session_.EditorGotFocus();
}

void FillInController::StyleEditor(QWidget* editor, int fieldIndex) {
    const CardField& field = context_.Card.Page().Field(TextField, fieldIndex);
    EditorStyle style = EditorStyleFor(field, context_.Format.Defaults().BasicFontBold,
                                       context_.Format.Defaults().BasicFontItalic);
    TextDrawer& text = renderer_.Text();
    PainterSurface& surface = canvas_.Surface();
    const TextRecord box(field.a);
    QString shown = text.ApplyFieldFont(surface, text.Codec().Decode(field.text), box.style());
    FaceKey key;
    key.family = canvas_.Fonts().Family(surface.FontName());
    key.pixelSize = surface.FontSize() * surface.Mapping().fontPixelsPerPoint;
    key.bold = style.bold;
    key.italic = style.italic;
    QFont font = canvas_.Fonts().Face(key, &canvas_.Picture()).Font();
    editor->setFont(font);
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Text, ToQColor(text.ResolveColour(box.colourCode(), 't')));
    palette.setColor(QPalette::Base, ToQColor(renderer_.State.FieldBackColour));
    editor->setPalette(palette);
    SetEditorText(editor, shown);
    SetCaret(editor, int(shown.size()));
}

void FillInController::PlaceOpenEditor() {
    QWidget* editor = OpenEditor();
    if (!editor || session_.CurrentField >= context_.Card.Page().Count(TextField))
        return;
    const TextRecord field(context_.Card.Page().Field(TextField, session_.CurrentField).a);
    CardPicture* picture = cardFace_.cardPicture();
    QPointF topLeft = picture->ToPixels(QPoint(field.x(), field.y()));
    QPointF bottomRight =
        picture->ToPixels(QPoint(field.x() + field.width(), field.y() + field.height()));
    int width = std::max(8, int(std::lround(bottomRight.x() - topLeft.x())));
    int height = int(std::lround(bottomRight.y() - topLeft.y()));
    if (field.height() == 240) // the least height the editor's font allows
        height = QFontMetrics(editor->font()).height() + 2;
    editor->setGeometry(int(std::lround(topLeft.x())), int(std::lround(topLeft.y())), width,
                        std::max(height, 4));
}

void FillInController::HideEditor() {
    if (QWidget* editor = OpenEditor()) {
        boundEditor_ = -1;
        editor->hide();
    }
}

void FillInController::RedrawRecord(int kind, int index, std::optional<int32_t>) {
    renderer_.RedrawField(canvas_.Surface(), kind, index);
    RefreshPicture();
}

void FillInController::RedrawCircledItem(int index) {
    renderer_.RedrawCircledItem(canvas_.Surface(), index);
    RefreshPicture();
}

void FillInController::RefreshPicture() {
    cardFace_.cardPicture()->update();
}

void FillInController::ShowOptionList(int optionFieldIndex, int choice) {
    const OptionFieldRecord field(context_.Card.Page().Field(OptionField, optionFieldIndex).a);
    QPointF at = cardFace_.cardPicture()->ToPixels(QPoint(field.x(), field.y()));
    optionList_->move(at.toPoint());
    optionList_->setCurrentRow(std::clamp(choice, 0, 3));
    optionList_->show();
    optionList_->raise();
    optionList_->setFocus();
}

void FillInController::HideOptionList() {
    optionList_->hide();
}

void FillInController::MarkChanged() {
    changed_.SetChangedState(ChangedState::CardChangedCode);
}

void FillInController::SetEditorText(QWidget* editor, const QString& text) {
    bool suppress = session_.SuppressChange;
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(MarkupToSymbols(text));
    else if (auto* box = qobject_cast<QTextEdit*>(editor)) {
        box->setPlainText(ToEditor(MarkupToSymbols(text)));
        int index = int(std::find(editors_.begin(), editors_.end(), editor) - editors_.begin());
        QTextOption option = box->document()->defaultTextOption();
        option.setAlignment(kAlignments[(index - 3) % 3]);
        box->document()->setDefaultTextOption(option);
    }
    session_.SuppressChange = suppress;
}

void FillInController::SetCaret(QWidget* editor, int position) {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setCursorPosition(position);
    } else if (auto* box = qobject_cast<QTextEdit*>(editor)) {
        QString text = FromEditor(box->toPlainText());
        int breaks = int(text.left(position).count(QStringLiteral("\r\n")));
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(std::clamp(position - breaks, 0, int(box->toPlainText().size())));
        box->setTextCursor(cursor);
    }
}

bool FillInController::EditorKey(QKeyEvent* event) {
    QWidget* editor = OpenEditor();
    if (!editor)
        return false;
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        bool forward = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        CommitFrom(editor);
        session_.OpenNextTextField(forward, cardFace_.isVisible());
        return true;
    }
    if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) &&
        !(event->modifiers() & Qt::ControlModifier)) {
        cardFace_.ScrollPage(Qt::Vertical, event->key() == Qt::Key_PageUp ? -1 : 1);
        return true;
    }
    // Home and End belong to the caret; with Ctrl they take the card to its corners.
    if ((event->modifiers() & Qt::ControlModifier) &&
        cardFace_.ScrollToEnd(event->key(), event->modifiers()))
        return true;
    if (event->modifiers() & Qt::ControlModifier) {
        if (char key = CtrlKeyOf(event)) {
            bool bold = editor->font().bold();
            std::string typed = renderer_.Text().Codec().Encode(EditorText());
            return session_.EditorCtrlKey(key, typed, context_.TwipsPerPixel, bold);
        }
    }
    return false;
}

bool FillInController::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == cardFace_.cardPicture() && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QPoint twips = cardFace_.cardPicture()->ToCardTwips(help->pos());
        if (session_.EditMode == EditingStep::FillingIn && OptionFieldAt(twips))
            QToolTip::showText(help->globalPos(),
                               "A list: click to choose Not Used, NoTrump, Suit or Both (then "
                               "type N, S, B or U)",
                               widget);
        else
            QToolTip::hideText();
        return true;
    }
    if (widget == optionList_) {
        if (event->type() == QEvent::FocusOut && optionList_->isVisible())
            HideOptionList();
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape) {
                HideOptionList();
                return true;
            }
            // Typing chooses: the letters and digits of the choices; any other letter is
            // refused audibly instead of vanishing.
            const QString typed = key->text();
            if (typed.size() == 1 && typed[0].isPrint() && !typed[0].isSpace()) {
                const int choice = OptionChoiceOfKey(char(typed[0].toLatin1()));
                if (choice < 0) {
                    context_.prompter.Beep();
                } else {
                    optionList_->setCurrentRow(choice);
                    context_.errorTrap.Guard(loc::FillInKey,
                                             [&] { session_.OptionChosen(choice); });
                }
                return true;
            }
        }
        return false;
    }
    if (widget && widget == OpenEditor()) {
        if (event->type() == QEvent::KeyPress) {
            bool handled = false;
            context_.errorTrap.Guard(loc::FillInKey,
                                     [&] { handled = EditorKey(static_cast<QKeyEvent*>(event)); });
            return handled;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            // The editor's own Ctrl shortcuts (Ctrl+U, Ctrl+D, ...) give way to the card's.
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->modifiers() & Qt::ControlModifier) && CtrlKeyOf(key)) {
                event->accept();
                return false;
            }
        }
        if (event->type() == QEvent::FocusOut) {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                context_.errorTrap.Guard(loc::FillInCommit, [&] { CommitFrom(widget); });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace cw
