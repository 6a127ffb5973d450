#include "LayoutPanel.h"

#include "AlignmentPicker.h"
#include "ColourPicker.h"
#include "LineWidthPicker.h"
#include "MoveArrows.h"
#include "SizeArrows.h"
#include "UiText.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace cw {

namespace {

// What each action button does, for its tooltip.
QString ActionButtonTip(PanelButton button) {
    switch (button) {
    case PanelButton::SaveChange:
        return QStringLiteral("Store the field on the card and save the card");
    case PanelButton::CancelAction:
        return QStringLiteral("Drop the field being placed; the card stays as it was");
    case PanelButton::Help:
        return QStringLiteral("Help on changing the layout (F1)");
    case PanelButton::RefreshScreen:
        return QStringLiteral("Draw the card again");
    case PanelButton::Done:
        return QStringLiteral("End layout editing and go on filling in the card");
    }
    return {};
}

// The size of each page, panel twips.
QSize PageSize(int page) {
    switch (page) {
    case AlignmentPage:
        return {2900, 580};
    case ColourPage:
        return {2050, 580};
    case MovePage:
    case SizePage:
        return {1500, 1100};
    case LineWidthPage:
        return {1500, 1600};
    case CheckBoxPage:
        return {1100, 1000};
    case LinesPage:
        return {2750, 1100};
    case ZoomPage:
        return {4500, 1900};
    default:
        return {0, 0};
    }
}

constexpr QSize kFontButton{1450, 300};
// The marker waits this far into the "Check Box" page.
constexpr QPoint kMarkerSpot{400, 350};

} // namespace

LayoutPanel::LayoutPanel(int twipsPerPixel, QWidget* parent) : QFrame(parent) {
    setObjectName("LayoutPanel");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    setStyleSheet("QGroupBox { font-weight: bold; border: 1px solid #9aa0ac; border-radius: 3px;"
                  " margin-top: 7px; padding: 2px; }"
                  "QGroupBox::title { subcontrol-origin: margin; left: 5px; padding: 0 2px; }"
                  "QPushButton { padding: 0 4px; }");
    // The layout was made for a screen of 15 twips a pixel and 8-point captions; it grows
    // with the captions so that they fit.
    const double fit = (QFontMetrics(small).height() + 8) / double(kActionButtonHeight);
    scale_ = std::max(fit, 1.0 / std::max(1, twipsPerPixel));

    optionsButton_ = new QToolButton(this);
    optionsButton_->setObjectName("editOptionsButton");
    optionsButton_->setText(UiText(TextId::EditOptions));
    optionsButton_->setArrowType(Qt::DownArrow);
    optionsButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    optionsButton_->setAutoRaise(true);
    optionsButton_->setCursor(Qt::ArrowCursor);
    optionsButton_->setToolTip(
        "The layout actions (a right click on the card opens them too); drag the panel by its "
        "frame");
    optionsButton_->move(Pixels(120), 0);
    connect(optionsButton_, &QToolButton::clicked, this, [this] {
        emit optionsRequested(optionsButton_->mapToGlobal(QPoint(0, optionsButton_->height())));
    });

    for (const ActionButtonPlace& place : ActionButtons()) {
        auto* button = new QPushButton(QString::fromUtf8(place.caption), this);
        button->setObjectName(QStringLiteral("actionButton%1").arg(int(place.button)));
        button->setGeometry(Pixels(place.left), Pixels(place.top), Pixels(kActionButtonWidth),
                            Pixels(kActionButtonHeight));
        button->setCursor(Qt::ArrowCursor);
        button->setAutoDefault(false);
        const PanelButton action = place.button;
        button->setToolTip(ActionButtonTip(action));
        connect(button, &QPushButton::clicked, this,
                [this, action] { emit actionClicked(action); });
        actionButtons_[action] = button;
    }

    alignment_ = new AlignmentPicker;
    AddPage(AlignmentPage, "Text Alignment", alignment_);
    colours_ = new ColourPicker;
    AddPage(ColourPage, "Color Selection", colours_);
    moveArrows_ = new MoveArrows;
    AddPage(MovePage, "Move Field", moveArrows_);
    sizeArrows_ = new SizeArrows;
    AddPage(SizePage, "Change Size", sizeArrows_);
    lineWidths_ = new LineWidthPicker;
    AddPage(LineWidthPage, "Line Thickness", lineWidths_);
    AddPage(CheckBoxPage, "Check Box", new QWidget);
    AddPage(LinesPage, "Multiple Lines", BuildLinesPage());
    AddPage(ZoomPage, "Zoom", BuildZoomPage());

    fontButton_ = new QPushButton(UiText(TextId::SetFont), this);
    fontButton_->setObjectName("fontButton");
    fontButton_->setToolTip("Choose the font of the text field");
    defaultFontButton_ = new QPushButton(UiText(TextId::RestoreDefaults), this);
    defaultFontButton_->setObjectName("defaultFontButton");
    defaultFontButton_->setToolTip("Give every text field of this page the card's own font");
    for (QPushButton* button : {fontButton_, defaultFontButton_}) {
        button->resize(Pixels(kFontButton.width()), Pixels(kFontButton.height()));
        button->setCursor(Qt::ArrowCursor);
        button->setAutoDefault(false);
        button->hide();
    }

    instructions_ = new QLabel(this);
    instructions_->setObjectName("instructionsLabel");
    instructions_->setWordWrap(true);
    instructions_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instructions_->setFrameShape(QFrame::StyledPanel);
    instructions_->setMargin(3);
    instructions_->setAutoFillBackground(true);
    QPalette paper = instructions_->palette();
    paper.setColor(QPalette::Window, QColor(255, 253, 235));
    instructions_->setPalette(paper);

    ApplyLayout(PanelLayoutFor(menu::EditField));
    hide();
}

int LayoutPanel::Pixels(int twips) const {
    return int(std::lround(twips * scale_));
}

QGroupBox* LayoutPanel::AddPage(int page, const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(QStringLiteral("panelPage%1").arg(page));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 2, 4, 2);
    content->setParent(box);
    layout->addWidget(content, 0, Qt::AlignCenter);
    QSize size = PageSize(page);
    box->resize(Pixels(size.width()), Pixels(size.height()));
    box->setCursor(Qt::ArrowCursor);
    box->hide();
    pages_[page] = box;
    return box;
}

QWidget* LayoutPanel::BuildLinesPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    lineCount_ = new QLineEdit(QStringLiteral("1"), page);
    lineCount_->setObjectName("lineCountEdit");
    lineCount_->setValidator(new QIntValidator(1, 200, lineCount_));
    lineSpacing_ = new QLineEdit(QStringLiteral("0"), page);
    lineSpacing_->setObjectName("lineSpacingEdit");
    lineSpacing_->setValidator(new QIntValidator(-15000, 15000, lineSpacing_));
    lineSpacing_->setToolTip("Twips between one line and the next (1440 to the inch)");
    for (QLineEdit* edit : {lineCount_, lineSpacing_})
        edit->setMaximumWidth(Pixels(700));
    grid->addWidget(new QLabel("Number of lines:", page), 0, 0);
    grid->addWidget(lineCount_, 0, 1);
    grid->addWidget(new QLabel("Space between lines:", page), 1, 0);
    grid->addWidget(lineSpacing_, 1, 1);
    return page;
}

QWidget* LayoutPanel::BuildZoomPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    auto* zoomOut = new QToolButton(page);
    zoomOut->setObjectName("panelZoomOut");
    zoomOut->setArrowType(Qt::DownArrow);
    zoomOut->setText("Zoom OUT");
    zoomOut->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    zoomOut->setToolTip("Show the card smaller");
    auto* zoomIn = new QToolButton(page);
    zoomIn->setObjectName("panelZoomIn");
    zoomIn->setArrowType(Qt::UpArrow);
    zoomIn->setText("Zoom IN");
    zoomIn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    zoomIn->setToolTip("Show the card larger");
    zoomFactor_ = new QLabel(QStringLiteral("0"), page);
    zoomFactor_->setObjectName("panelZoomFactor");
    zoomFactor_->setFrameShape(QFrame::StyledPanel);
    zoomFactor_->setAlignment(Qt::AlignCenter);
    zoomFactor_->setMinimumWidth(Pixels(400));
    row->addWidget(new QLabel("Zoom Factor", page));
    row->addWidget(zoomFactor_);
    row->addWidget(zoomOut);
    row->addWidget(zoomIn);
    auto* save = new QPushButton("Save Zoom Factor", page);
    save->setObjectName("panelSaveZoom");
    save->setToolTip("Open the cards of this format at this zoom factor from now on");
    save->setAutoDefault(false);
    column->addLayout(row);
    column->addWidget(save, 0, Qt::AlignLeft);
    connect(zoomIn, &QToolButton::clicked, this, [this] { emit zoomRequested(true); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { emit zoomRequested(false); });
    connect(save, &QPushButton::clicked, this, &LayoutPanel::saveZoomRequested);
    return page;
}

QSize LayoutPanel::SizeFor(const PanelLayout& layout) const {
    return {Pixels(kPanelWidth), Pixels(layout.height)};
}

void LayoutPanel::ApplyLayout(const PanelLayout& layout) {
    resize(SizeFor(layout));
    for (auto& [number, box] : pages_) {
        auto place =
            std::find_if(layout.pages.begin(), layout.pages.end(),
                         [number = number](const PagePlace& p) { return p.page == number; });
        if (place == layout.pages.end()) {
            box->hide();
            continue;
        }
        box->move(Pixels(place->left), Pixels(place->top));
        box->show();
    }
    auto placeButton = [this](QPushButton* button, const std::optional<std::pair<int, int>>& at) {
        button->setVisible(at.has_value());
        if (at)
            button->move(Pixels(at->first), Pixels(at->second));
    };
    placeButton(fontButton_, layout.fontButton);
    placeButton(defaultFontButton_, layout.defaultFontButton);
    const int margin = Pixels(60);
    instructions_->setGeometry(margin, Pixels(layout.labelTop), width() - 2 * margin,
                               std::max(20, height() - Pixels(layout.labelTop) - margin));
}

void LayoutPanel::SetInstructions(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    instructions_->setText(shown);
}

QPoint LayoutPanel::MarkerSpotFor(const PanelLayout& layout) const {
    for (const PagePlace& place : layout.pages)
        if (place.page == CheckBoxPage)
            return {Pixels(place.left + kMarkerSpot.x()), Pixels(place.top + kMarkerSpot.y())};
    return {Pixels(kMarkerSpot.x()), Pixels(kMarkerSpot.y())};
}

void LayoutPanel::ShowZoomFactor(int factor) {
    zoomFactor_->setText(QString::number(factor));
}

QPushButton* LayoutPanel::actionButton(PanelButton button) const {
    auto found = actionButtons_.find(button);
    return found == actionButtons_.end() ? nullptr : found->second;
}

QWidget* LayoutPanel::page(int number) const {
    auto found = pages_.find(number);
    return found == pages_.end() ? nullptr : found->second;
}

void LayoutPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    grab_ = event->position().toPoint();
    dragging_ = true;
    raise();
}

void LayoutPanel::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        move(parentWidget()->mapFromGlobal(event->globalPosition().toPoint()) - grab_);
}

void LayoutPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    QPoint topLeft = parentWidget()->mapFromGlobal(event->globalPosition().toPoint()) - grab_;
    move(topLeft);
    emit moved(topLeft);
}

} // namespace cw
