#include "CardView.h"

#include "CardPicture.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace cw {

CardView::CardView(QWidget* parent) : QWidget(parent) {
    setObjectName("CardView");
    viewport_ = new QWidget(this);
    viewport_->setObjectName("CardViewport");
    viewport_->setAutoFillBackground(true);
    QPalette shade = viewport_->palette();
    shade.setColor(QPalette::Window, QColor(96, 102, 112));
    viewport_->setPalette(shade);
    viewport_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    pic1_ = new CardPicture(viewport_);

    hScroll_ = new QScrollBar(Qt::Horizontal, this);
    hScroll_->setObjectName("HScroll");
    vScroll_ = new QScrollBar(Qt::Vertical, this);
    vScroll_->setObjectName("VScroll");
    connect(hScroll_, &QScrollBar::valueChanged, this, [this] { PlacePicture(); });
    connect(vScroll_, &QScrollBar::valueChanged, this, [this] { PlacePicture(); });

    auto* strip = new QWidget(this);
    strip->setObjectName("ZoomStrip");
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 4, 8, 4);
    auto* spin = new QWidget(strip);
    spin->setObjectName("SpinZoom");
    auto* spinLayout = new QHBoxLayout(spin);
    spinLayout->setContentsMargins(0, 0, 0, 0);
    spinLayout->setSpacing(2);
    zoomOut_ = new QToolButton(spin);
    zoomOut_->setObjectName("ZoomOut");
    zoomOut_->setText("Zoom OUT");
    zoomOut_->setArrowType(Qt::DownArrow);
    zoomOut_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    zoomIn_ = new QToolButton(spin);
    zoomIn_->setObjectName("ZoomIn");
    zoomIn_->setText("Zoom IN");
    zoomIn_->setArrowType(Qt::UpArrow);
    zoomIn_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    spinLayout->addWidget(zoomOut_);
    spinLayout->addWidget(zoomIn_);
    connect(zoomIn_, &QToolButton::clicked, this, [this] { emit zoomRequested(true); });
    connect(zoomOut_, &QToolButton::clicked, this, [this] { emit zoomRequested(false); });

    auto* caption = new QLabel("Zoom Factor", strip);
    label4_ = new QLabel("0", strip);
    label4_->setObjectName("Label4");
    label4_->setMinimumWidth(label4_->fontMetrics().horizontalAdvance("-00") + 8);
    label4_->setAlignment(Qt::AlignCenter);
    label4_->setFrameShape(QFrame::StyledPanel);
    saveZoom_ = new QPushButton("Save Zoom Factor", strip);
    saveZoom_->setObjectName("Command1");
    connect(saveZoom_, &QPushButton::clicked, this, [this] { emit saveZoomRequested(); });
    auto* note = new QLabel("NOTE: In zoom mode some symbols may become distorted.  This will "
                            "NOT affect printing.",
                            strip);
    note->setObjectName("ZoomNote");
    note->setWordWrap(true);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    note->setFont(small);

    stripLayout->addWidget(caption);
    stripLayout->addWidget(label4_);
    stripLayout->addSpacing(6);
    stripLayout->addWidget(spin);
    stripLayout->addSpacing(6);
    stripLayout->addWidget(saveZoom_);
    stripLayout->addSpacing(12);
    stripLayout->addWidget(note, 1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(viewport_, 0, 0);
    grid->addWidget(vScroll_, 0, 1);
    grid->addWidget(hScroll_, 1, 0);
    grid->addWidget(strip, 2, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
}

void CardView::SetPage(float pwidth, float pheight, float viewScale, int twipsPerPixel,
                       int32_t offset, int32_t rightOffset) {
    view_.PWIDTH = pwidth;
    view_.PHEIGHT = pheight;
    view_.ViewScale = viewScale > 0 ? viewScale : 1;
    twipsPerPixel_ = twipsPerPixel > 0 ? twipsPerPixel : 15;
    offset_ = offset;
    rightOffset_ = rightOffset;
    QSize pixels(int(std::lround(pwidth / twipsPerPixel_)),
                 int(std::lround(pheight / twipsPerPixel_)));
    pic1_->SetPageSize(pixels, twipsPerPixel_ / view_.ViewScale);
    UpdateScrollRanges();
}

void CardView::ShowZoomFactor(float zoomFactor) {
    label4_->setText(QString::number(int(std::lround(zoomFactor))));
}

void CardView::ScrollPage(Qt::Orientation orientation, int direction) {
    QScrollBar* bar = orientation == Qt::Horizontal ? hScroll_ : vScroll_;
    int value = bar->value() + direction * bar->pageStep();
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

void CardView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScrollRanges();
}

void CardView::UpdateScrollRanges() {
    ScrollBars bars = ScrollBarsFor(view_, InnerWidthTwips(), InnerHeightTwips());
    const QSignalBlocker blockH(hScroll_);
    const QSignalBlocker blockV(vScroll_);
    hScroll_->setRange(0, std::max(0, bars.HScroll.Max));
    hScroll_->setSingleStep(bars.HScroll.SmallChange);
    hScroll_->setPageStep(bars.HScroll.LargeChange);
    vScroll_->setRange(0, std::max(0, bars.VScroll.Max));
    vScroll_->setSingleStep(bars.VScroll.SmallChange);
    vScroll_->setPageStep(bars.VScroll.LargeChange);
    PlacePicture();
}

void CardView::PlacePicture() {
    double left = PictureLeftFor(hScroll_->value(), hScroll_->maximum(), offset_, rightOffset_);
    double top = PictureTopFor(vScroll_->value());
    pic1_->move(int(std::lround(left / twipsPerPixel_)), int(std::lround(top / twipsPerPixel_)));
    int32_t screenWidth = screen() ? screen()->geometry().width() * twipsPerPixel_ : 0;
    visible_ =
        VisibleAreaFor(view_.ViewScale, twipsPerPixel_, screenWidth, viewport_->size(), left, top);
}

} // namespace cw
