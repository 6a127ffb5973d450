#include "LayoutController.h"

#include "AlignmentPicker.h"
#include "AppContext.h"
#include "CardCanvas.h"
#include "CardFace.h"
#include "CardPicture.h"
#include "CardRenderer.h"
#include "CheckBoxMarker.h"
#include "Colour.h"
#include "ColourPicker.h"
#include "EditingMenu.h"
#include "EditorGrip.h"
#include "FillInController.h"
#include "LayoutPanel.h"
#include "LinePreview.h"
#include "LineWidthPicker.h"
#include "MoveArrows.h"
#include "RubberBand.h"
#include "SizeArrows.h"
#include "UndoHistory.h"

#include <QEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <cmath>

namespace cw {

namespace {

constexpr Rgb kNewFieldBack = colour::Yellow;
// A field picked for deletion shows in red.
constexpr Rgb kDeleteMark = colour::Red;
constexpr Rgb kDeleteBack = MakeRgb(255, 210, 210);

void SetReadOnly(QWidget* editor, bool readOnly) {
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setReadOnly(readOnly);
    else if (auto* text = qobject_cast<QTextEdit*>(editor))
        text->setReadOnly(readOnly);
}

} // namespace

LayoutController::LayoutController(AppContext& context, ChangedState& changed, UndoHistory& history,
                                   CardFace& cardFace, CardRenderer& renderer, CardCanvas& canvas,
                                   FillInController& fillIn)
    : context_(context), history_(history), cardFace_(cardFace), renderer_(renderer),
      canvas_(canvas), fillIn_(fillIn) {
    session_ = std::make_unique<LayoutEditSession>(context, changed, &history, *this);
    CardPicture* picture = cardFace_.cardPicture();
    menu_ = new EditingMenu(picture);
    connect(menu_, &EditingMenu::itemChosen, this, &LayoutController::MenuItem);
    rubberBand_ = new RubberBand(picture);
    linePreview_ = new LinePreview(picture);
    marker_ = new CheckBoxMarker(picture);
    grip_ = new EditorGrip(picture);
    panel_ = new LayoutPanel(context_.TwipsPerPixel, picture);
    ConnectPanel();

    connect(marker_, &CheckBoxMarker::dropped, this, [this](QPoint topLeft) {
        QPointF at = ToPageTwips(topLeft);
        session_->MoveMobileTo(at.x(), at.y());
    });
    connect(grip_, &EditorGrip::dragged, this, [this](QPoint topLeft) {
        if (QWidget* editor = layoutEditor())
            editor->move(topLeft + QPoint(EditorGrip::Size + 1, 0));
    });
    connect(grip_, &EditorGrip::dropped, this, [this](QPoint topLeft) {
        QPointF at = ToPageTwips(topLeft + QPoint(EditorGrip::Size + 1, 0));
        session_->MoveMobileTo(at.x(), at.y());
        // The press on the grip gave the card picture the keyboard; typing goes on in the
        // field that was moved.
        if (QWidget* editor = layoutEditor(); editor && editor->isVisible())
            editor->setFocus(Qt::MouseFocusReason);
    });
    picture->installEventFilter(this);
    // The panel stays in the part of the card on show as the card scrolls or zooms under it.
    connect(&cardFace_, &CardFace::shownAreaChanged, this, [this] { session_->KeepPanelInView(); });
    connect(picture, &CardPicture::cardKeyPressed, this, [this](QKeyEvent* event) {
        if (KeyPressed(event->key(), event->modifiers()))
            event->accept();
    });
    UpdateMenuItems();
}

LayoutController::~LayoutController() = default;

void LayoutController::ConnectPanel() {
    LayoutEditSession& s = *session_;
    connect(panel_, &LayoutPanel::actionClicked, this,
            [&s](PanelButton button) { s.ActionButton(button); });
    connect(panel_, &LayoutPanel::optionsRequested, this, [this](QPoint global) {
        session_->AnchorPanel(session_->State().PanelLeft, session_->State().PanelTop);
        menu_->popup(global);
    });
    connect(panel_, &LayoutPanel::moved, this, [this](QPoint topLeft) {
        QPointF at = ToPageTwips(topLeft);
        session_->PanelMovedTo(at.x(), at.y());
    });
    connect(panel_, &LayoutPanel::zoomRequested, this, &LayoutController::zoomRequested);
    connect(panel_, &LayoutPanel::saveZoomRequested, this, &LayoutController::saveZoomRequested);
    connect(panel_->alignmentPicker(), &AlignmentPicker::chosen, this,
            [&s](int index) { s.AlignmentClicked(index); });
    connect(panel_->colourPicker(), &ColourPicker::chosen, this,
            [&s](int code) { s.ColourClicked(code); });
    connect(panel_->lineWidthPicker(), &LineWidthPicker::chosen, this,
            [&s](int option) { s.LineWidthClicked(option); });
    connect(panel_->moveArrows(), &MoveArrows::verticalChanged, this,
            [&s](int value) { s.ArrowChanged(Arrow::UpDown, value); });
    connect(panel_->moveArrows(), &MoveArrows::horizontalChanged, this,
            [&s](int value) { s.ArrowChanged(Arrow::LeftRight, value); });
    connect(panel_->sizeArrows(), &SizeArrows::verticalChanged, this,
            [&s](int value) { s.ArrowChanged(Arrow::Taller, value); });
    connect(panel_->sizeArrows(), &SizeArrows::horizontalChanged, this,
            [&s](int value) { s.ArrowChanged(Arrow::Wider, value); });
    connect(panel_->fontButton(), &QPushButton::clicked, this, [&s] { s.FontButtonClicked(); });
    connect(panel_->defaultFontButton(), &QPushButton::clicked, this,
            [&s] { s.DefaultFontButtonClicked(); });
    connect(panel_->lineCountEdit(), &QLineEdit::textEdited, this,
            [&s](const QString& text) { s.SetLineCountText(text.toStdString()); });
    connect(panel_->lineSpacingEdit(), &QLineEdit::textEdited, this,
            [&s](const QString& text) { s.SetLineSpacingText(text.toStdString()); });
}

QWidget* LayoutController::layoutEditor() const {
    return session_->State().Mobile.kind == MobileKind::Editor ? editor_.data() : nullptr;
}

void LayoutController::SetHelpHandler(std::function<void(int)> handler) {
    help_ = std::move(handler);
    UpdateMenuItems();
}

void LayoutController::SetSaveAsHandler(std::function<void()> handler) {
    saveAs_ = std::move(handler);
    UpdateMenuItems();
}

void LayoutController::UpdateMenuItems() {
    if (QAction* help = menu_->item(menu::Help))
        help->setVisible(bool(help_));
    if (QAction* saveAs = menu_->item(menu::SaveCardAs))
        saveAs->setEnabled(bool(saveAs_));
    if (QPushButton* help = panel_->actionButton(PanelButton::Help))
        help->setVisible(bool(help_));
}

// ---- Coordinates

double LayoutController::PageX(QPoint twips) const {
    return twips.x();
}

QPointF LayoutController::ToPagePixels(double x, double y) const {
    return cardFace_.cardPicture()->ToPixels(QPoint(int(std::lround(x)), int(std::lround(y))));
}

QPointF LayoutController::ToPageTwips(QPoint pixels) const {
    QPoint twips = cardFace_.cardPicture()->ToCardTwips(QPointF(pixels));
    return QPointF(twips.x(), twips.y());
}

QRect LayoutController::PixelRect(const TwipRect& rect) const {
    QPointF topLeft = ToPagePixels(rect.left, rect.top);
    QPointF bottomRight = ToPagePixels(rect.Right(), rect.Bottom());
    QPoint start(int(std::lround(topLeft.x())), int(std::lround(topLeft.y())));
    QPoint end(int(std::lround(bottomRight.x())), int(std::lround(bottomRight.y())));
    return QRect(start, QSize(std::max(1, end.x() - start.x()), std::max(1, end.y() - start.y())));
}

// ---- The user's actions

void LayoutController::MousePressed(QPoint twips, Qt::MouseButton button) {
    if (button == Qt::LeftButton && Editing())
        session_->MouseDown(PageX(twips), twips.y());
}

void LayoutController::MouseMoved(QPoint twips) {
    session_->MouseMove(PageX(twips), twips.y());
}

void LayoutController::MouseReleased(QPoint twips) {
    session_->MouseUp(PageX(twips), twips.y());
}

void LayoutController::Clicked(QPoint twips) {
    session_->Click(PageX(twips), twips.y());
}

void LayoutController::ContextMenu(QPoint twips, QPoint globalPosition) {
    // A right click always offers the actions; the panel is moved by dragging its frame.
    session_->RightClick(PageX(twips), twips.y());
    menu_->popup(globalPosition);
}

void LayoutController::MenuItem(int index) {
    // Another action, or "Done", does not drop the field being placed without asking.
    if (Editing() && session_->State().ActionPending &&
        (EditActionOfMenuItem(index) != EditAction::None || index == menu::Done) &&
        !session_->SettlePending())
        return;
    // What is typed into the open field belongs to the card before any command.
    const bool filling = !Editing();
    const int field = fillIn_.Session().CurrentField;
    fillIn_.CommitOpenEditor();
    if (filling && EditActionOfMenuItem(index) != EditAction::None)
        fillIn_.Reset();
    session_->MenuCommand(index);
    // A command that starts no action leaves filling in where it was.
    if (filling && !Editing() && index != menu::Done && field != FillInSession::NoField &&
        field < context_.Card.Page().Count(TextField) && !fillIn_.OpenEditor())
        fillIn_.Session().OpenTextEditor(field);
}

bool LayoutController::KeyPressed(int key, Qt::KeyboardModifiers modifiers) {
    if (!Editing())
        return false;
    if (key == Qt::Key_Escape) {
        if (!session_->State().ActionPending)
            return false;
        session_->ActionButton(PanelButton::CancelAction);
        return true;
    }
    Qt::ArrowType arrow = key == Qt::Key_Left    ? Qt::LeftArrow
                          : key == Qt::Key_Right ? Qt::RightArrow
                          : key == Qt::Key_Up    ? Qt::UpArrow
                          : key == Qt::Key_Down  ? Qt::DownArrow
                                                 : Qt::NoArrow;
    // A field marked for deletion is not moved.
    if (arrow == Qt::NoArrow || session_->State().Mobile.kind == MobileKind::None ||
        !session_->State().Mobile.visible ||
        session_->State().EditMode == EditingStep::DeletingField)
        return false;
    // The same steps as the panel's arrows.
    ArrowPad* pad = modifiers & Qt::ShiftModifier ? static_cast<ArrowPad*>(panel_->sizeArrows())
                                                  : static_cast<ArrowPad*>(panel_->moveArrows());
    QToolButton* button = pad->arrow(arrow);
    if (button->isEnabled())
        button->click();
    return true;
}

bool LayoutController::InsertSuit(char letter) {
    QWidget* editor = layoutEditor();
    if (!editor || !editor->isVisible() || session_->State().Editor.readOnly)
        return false;
    return fillIn_.InsertSuitInto(editor, letter);
}

void LayoutController::RefreshScreen() {
    MenuItem(menu::RefreshScreen);
}

void LayoutController::Abandon() {
    session_->EndLayoutEditing();
}

// ---- LayoutEditView

void LayoutController::LayoutChanged(unsigned changes) {
    if (changes & ModeChanged)
        fillIn_.Session().EditMode = session_->State().EditMode;
    if (changes & (PanelChanged | InstructionsChanged | ButtonsChanged))
        UpdatePanel();
    if (changes & PickersChanged)
        UpdatePickers();
    if (changes & EditorChanged)
        UpdateEditor();
    if (changes & (PlacementChanged | EditorChanged))
        UpdatePlacement();
    // The field's controls under the panel, the marker (dragged off the panel) above it.
    if (panel_->isVisible())
        panel_->raise();
    if (marker_->isVisible())
        marker_->raise();
    emit stateChanged();
}

void LayoutController::UpdatePanel() {
    const LayoutEditState& s = session_->State();
    if (!s.PanelVisible) {
        panel_->hide();
        return;
    }
    panel_->ApplyLayout(PanelLayoutFor(s.PanelMenuIndex));
    panel_->SetInstructions(QString::fromStdString(s.Instructions));
    panel_->actionButton(PanelButton::SaveChange)->setEnabled(s.ActionPending);
    panel_->actionButton(PanelButton::CancelAction)->setEnabled(s.ActionPending);
    panel_->ShowZoomFactor(int(std::lround(context_.View.ZoomFactor())));
    QPointF at = ToPagePixels(s.PanelLeft, s.PanelTop);
    panel_->move(int(std::lround(at.x())), int(std::lround(at.y())));
    panel_->show();
}

void LayoutController::UpdatePickers() {
    const LayoutEditState& s = session_->State();
    panel_->alignmentPicker()->Select(s.Alignment);
    panel_->lineWidthPicker()->Select(s.LineWidthOption);
    panel_->colourPicker()->Select(s.WorkColour);
    panel_->colourPicker()->SetBasicTextColour(context_.Format.Defaults().BaseTextColour);
    panel_->sizeArrows()->SetVerticalEnabled(s.TallerEnabled);
    panel_->sizeArrows()->SetHorizontalEnabled(s.WiderEnabled);
    panel_->fontButton()->setEnabled(
        s.FontButtonsEnabled || s.EditMode == EditingStep::AddingTextField ||
        (s.EditMode == EditingStep::EditingField && s.PickedKind == TextField));
    panel_->defaultFontButton()->setEnabled(s.FontButtonsEnabled);
    if (panel_->lineCountEdit()->text().toStdString() != s.LineCountText)
        panel_->lineCountEdit()->setText(QString::fromStdString(s.LineCountText));
    if (panel_->lineSpacingEdit()->text().toStdString() != s.LineSpacingText)
        panel_->lineSpacingEdit()->setText(QString::fromStdString(s.LineSpacingText));
}

void LayoutController::ShowOnly(QWidget* overlay) {
    for (QWidget* widget : {static_cast<QWidget*>(rubberBand_), static_cast<QWidget*>(linePreview_),
                            static_cast<QWidget*>(marker_), static_cast<QWidget*>(grip_)})
        if (widget != overlay)
            widget->hide();
    if (editor_ && overlay != editor_.data()) {
        editor_->hide();
        // The editor goes back to filling in as it came.
        SetReadOnly(editor_.data(), false);
    }
}

void LayoutController::UpdatePlacement() {
    const LayoutEditState& s = session_->State();
    const Placement& m = s.Mobile;
    const bool deleting = s.EditMode == EditingStep::DeletingField;
    switch (m.kind) {
    case MobileKind::RubberBand:
        ShowOnly(rubberBand_);
        rubberBand_->SetLook(
            m.borderWidth, s.EditMode == EditingStep::AddingRectangle || s.PickedKind == Rectangle,
            ToQColor(deleting ? kDeleteMark : m.colour));
        rubberBand_->setGeometry(PixelRect(m.rect));
        rubberBand_->setVisible(m.visible);
        rubberBand_->raise();
        break;
    case MobileKind::LinePreview: {
        ShowOnly(linePreview_);
        const LineEnds& line = m.line;
        QPointF start = ToPagePixels(std::min(line.x1, line.x2), std::min(line.y1, line.y2));
        QPointF end = ToPagePixels(std::max(line.x1, line.x2), std::max(line.y1, line.y2));
        // The line runs down or right from its ends by its width in pixels, as it is drawn.
        QRect shown(QPoint(int(std::lround(start.x())), int(std::lround(start.y()))),
                    QPoint(int(std::lround(end.x())), int(std::lround(end.y()))));
        if (line.y1 == line.y2)
            shown.setHeight(m.borderWidth);
        else if (line.x1 == line.x2)
            shown.setWidth(m.borderWidth);
        linePreview_->setGeometry(shown);
        linePreview_->SetColour(ToQColor(deleting ? kDeleteMark : m.colour));
        linePreview_->setVisible(m.visible);
        linePreview_->raise();
        break;
    }
    case MobileKind::Marker:
        ShowOnly(marker_);
        marker_->setGeometry(PixelRect(m.rect));
        marker_->SetColour(ToQColor(deleting ? kDeleteMark : m.colour));
        marker_->setVisible(m.visible);
        marker_->raise();
        break;
    case MobileKind::Editor: {
        QWidget* editor = editor_.data();
        ShowOnly(editor);
        if (!editor || !m.visible) {
            if (editor)
                editor->hide();
            grip_->hide();
            break;
        }
        QRect area = PixelRect(m.rect);
        if (s.Editor.index < 3) // one line: the least height its font allows
            area.setHeight(QFontMetrics(editor->font()).height() + 2);
        area.setWidth(std::max(area.width(), 8));
        editor->setGeometry(area);
        const bool wasHidden = editor->isHidden();
        editor->show();
        editor->raise();
        if (wasHidden)
            editor->setFocus(Qt::OtherFocusReason);
        grip_->setVisible(!s.Editor.readOnly);
        grip_->move(area.topLeft() - QPoint(EditorGrip::Size + 1, 0));
        grip_->raise();
        break;
    }
    case MobileKind::None:
        ShowOnly(nullptr);
        break;
    }
}

void LayoutController::UpdateEditor() {
    const EditorLook& look = session_->State().Editor;
    if (session_->State().Mobile.kind != MobileKind::Editor) {
        if (editor_)
            editor_->hide();
        return;
    }
    QWidget* editor = fillIn_.fieldEditor(std::clamp(look.index, 0, 5));
    if (editor_ && editor_.data() != editor) {
        // The text moves on to the editor of the new alignment.
        QString text = fillIn_.EditorTextOf(editor_.data());
        editor_->hide();
        fillIn_.SetEditorText(editor, text);
    }
    editor_ = editor;
    PainterSurface& surface = canvas_.Surface();
    FaceKey key;
    key.family = canvas_.Fonts().Family(QString::fromStdString(look.fontName));
    key.pixelSize =
        look.fontSize * context_.View.ViewScale() * surface.Mapping().fontPixelsPerPoint;
    key.bold = look.bold;
    key.italic = look.italic;
    editor->setFont(canvas_.Fonts().Face(key, &canvas_.Picture()).Font());
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Text, ToQColor(look.foreColour));
    Rgb back = look.newField   ? kNewFieldBack
               : look.readOnly ? kDeleteBack
                               : renderer_.State.FieldBackColour;
    palette.setColor(QPalette::Base, ToQColor(back));
    editor->setPalette(palette);
    SetReadOnly(editor, look.readOnly);
}

void LayoutController::RedrawCard() {
    std::optional<FieldHit> lifted = session_->Lifted();
    renderer_.SetLiftedField(lifted ? lifted->kind : 0, lifted ? lifted->index : -1);
    cardFace_.cardPicture()->Redraw();
}

std::string LayoutController::EditorText() const {
    QWidget* editor =
        editor_ ? editor_.data() : fillIn_.fieldEditor(session_->State().Editor.index);
    return renderer_.Text().Codec().Encode(fillIn_.EditorTextOf(editor));
}

void LayoutController::SetEditorText(const std::string& text) {
    QWidget* editor = fillIn_.fieldEditor(std::clamp(session_->State().Editor.index, 0, 5));
    if (editor_ && editor_.data() != editor)
        editor_->hide();
    editor_ = editor;
    fillIn_.SetEditorText(editor, renderer_.Text().Codec().Decode(text));
}

std::optional<FontChoice> LayoutController::ChooseFont(const FontChoice& preset) {
    if (fontChooser_)
        return fontChooser_(preset);
    FontBook& fonts = canvas_.Fonts();
    const QString presetName = QString::fromStdString(preset.name);
    QFont initial(fonts.Family(presetName));
    initial.setPointSizeF(preset.size > 0 ? preset.size : 10);
    initial.setBold(preset.bold);
    initial.setItalic(preset.italic);
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, initial, cardFace_.window(), QStringLiteral("Font"));
    if (!ok)
        return std::nullopt;
    FontChoice choice;
    // A face that stands in for a Windows font keeps that font's name, so that the card's
    // own font is recognised as such and the card reads the same on Windows.
    const QString basic = QString::fromStdString(context_.Format.Defaults().BasicFont);
    if (font.family() == fonts.Family(basic))
        choice.name = context_.Format.Defaults().BasicFont;
    else if (font.family() == fonts.Family(presetName))
        choice.name = preset.name;
    else
        choice.name = renderer_.Text().Codec().Encode(font.family());
    choice.size = font.pointSizeF();
    choice.bold = font.bold();
    choice.italic = font.italic();
    return choice;
}

void LayoutController::ReloadCard() {
    fillIn_.Reset();
    context_.LoadCard();
    history_.Reset();
}

void LayoutController::ShowHelp(int topic) {
    if (help_)
        help_(topic);
}

void LayoutController::SaveCardAs() {
    if (saveAs_)
        saveAs_();
}

void LayoutController::LayoutEditingDone() {
    FillInSession& filling = fillIn_.Session();
    filling.CurrentField = 0;
    filling.OpenNextTextField(true, cardFace_.isVisible());
}

CardArea LayoutController::VisibleCard() const {
    VisibleCardArea area = cardFace_.Visible();
    return {double(area.VisibleLeft), double(area.VisibleTop), double(area.VisibleRight),
            double(area.VisibleBottom)};
}

std::pair<double, double> LayoutController::PanelSize(int menuIndex) const {
    QSize pixels = panel_->SizeFor(PanelLayoutFor(menuIndex));
    QPoint twips = cardFace_.cardPicture()->ToCardTwips(QPointF(pixels.width(), pixels.height()));
    return {double(twips.x()), double(twips.y())};
}

std::pair<double, double> LayoutController::MarkerOffsetOnPanel() const {
    QPoint spot = panel_->MarkerSpotFor(PanelLayoutFor(menu::AddCheckBox));
    QPoint twips = cardFace_.cardPicture()->ToCardTwips(QPointF(spot));
    return {double(twips.x()), double(twips.y())};
}

HitMetrics LayoutController::Metrics() const {
    DrawSurface& surface = canvas_.Surface();
    HitMetrics metrics;
    metrics.letterWidth = int32_t(std::lround(surface.TextWidth(QStringLiteral("H"))));
    metrics.letterHeight = int32_t(std::lround(surface.TextHeight(QStringLiteral("H"))));
    metrics.twipsPerPixel = context_.TwipsPerPixel;
    return metrics;
}

int32_t LayoutController::TextColourOfCode(int32_t code) const {
    renderer_.State.PrintMode = 0;
    return renderer_.Text().ResolveColour(code, 't');
}

// ---- Zoom and scrolling

void LayoutController::PlaceOverlays() {
    LayoutChanged(PanelChanged | EditorChanged | PlacementChanged);
}

bool LayoutController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cardFace_.cardPicture() && event->type() == QEvent::Resize &&
        (session_->State().PanelVisible || session_->State().Mobile.kind != MobileKind::None))
        PlaceOverlays();
    return QObject::eventFilter(watched, event);
}

} // namespace cw
