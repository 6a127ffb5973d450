#include "CardFace.h"

#include "CardPicture.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace cw {

CardFace::CardFace(QWidget* parent) : QWidget(parent) {
    setObjectName("CardFace");
    viewport_ = new QWidget(this);
    viewport_->setObjectName("CardViewport");
    viewport_->setAutoFillBackground(true);
    QPalette shade = viewport_->palette();
    shade.setColor(QPalette::Window, QColor(96, 102, 112));
    viewport_->setPalette(shade);
    viewport_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    cardPicture_ = new CardPicture(viewport_);
    cardPicture_->installEventFilter(this);

    horizontalBar_ = new QScrollBar(Qt::Horizontal, this);
    horizontalBar_->setObjectName("horizontalScrollBar");
    verticalBar_ = new QScrollBar(Qt::Vertical, this);
    verticalBar_->setObjectName("verticalScrollBar");
    sideTabs_ = new QTabBar(this);
    sideTabs_->setObjectName("sideTabs");
    sideTabs_->addTab("Front");
    sideTabs_->addTab("Back");
    sideTabs_->setTabToolTip(0, "Show the front page of the card (Ctrl+Page Up)");
    sideTabs_->setTabToolTip(1, "Turn the card over to its back page (Ctrl+Page Down)");
    sideTabs_->setDrawBase(false);
    sideTabs_->setFocusPolicy(Qt::NoFocus);
    // The owner shows the page asked for, or puts the tab back when the user stays.
    connect(sideTabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            emit sideRequested(index);
    });
    connect(horizontalBar_, &QScrollBar::valueChanged, this, [this] { PlacePicture(); });
    connect(verticalBar_, &QScrollBar::valueChanged, this, [this] { PlacePicture(); });

    auto* strip = new QWidget(this);
    strip->setObjectName("ZoomStrip");
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 4, 8, 4);
    zoomButtons_ = new QWidget(strip);
    zoomButtons_->setObjectName("zoomButtons");
    auto* zoomLayout = new QHBoxLayout(zoomButtons_);
    zoomLayout->setContentsMargins(0, 0, 0, 0);
    zoomLayout->setSpacing(2);
    zoomOut_ = new QToolButton(zoomButtons_);
    zoomOut_->setObjectName("ZoomOut");
    zoomOut_->setText("Zoom OUT");
    zoomOut_->setArrowType(Qt::DownArrow);
    zoomOut_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    zoomOut_->setToolTip("Show the card smaller (Ctrl+-)");
    zoomIn_ = new QToolButton(zoomButtons_);
    zoomIn_->setObjectName("ZoomIn");
    zoomIn_->setText("Zoom IN");
    zoomIn_->setArrowType(Qt::UpArrow);
    zoomIn_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    zoomIn_->setToolTip("Show the card larger (Ctrl++)");
    zoomLayout->addWidget(zoomOut_);
    zoomLayout->addWidget(zoomIn_);
    connect(zoomIn_, &QToolButton::clicked, this, [this] { emit zoomRequested(true); });
    connect(zoomOut_, &QToolButton::clicked, this, [this] { emit zoomRequested(false); });

    auto* caption = new QLabel("Zoom Factor", strip);
    zoomFactorLabel_ = new QLabel("0", strip);
    zoomFactorLabel_->setObjectName("zoomFactorLabel");
    zoomFactorLabel_->setMinimumWidth(zoomFactorLabel_->fontMetrics().horizontalAdvance("-00") + 8);
    zoomFactorLabel_->setAlignment(Qt::AlignCenter);
    zoomFactorLabel_->setFrameShape(QFrame::StyledPanel);
    saveZoomButton_ = new QPushButton("Save Zoom Factor", strip);
    saveZoomButton_->setObjectName("saveZoomButton");
    saveZoomButton_->setToolTip("Open the cards of this format at this zoom factor from now on");
    connect(saveZoomButton_, &QPushButton::clicked, this, [this] { emit saveZoomRequested(); });
    auto* note = new QLabel("NOTE: In zoom mode some symbols may become distorted.  This will "
                            "NOT affect printing.",
                            strip);
    note->setObjectName("ZoomNote");
    note->setWordWrap(true);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    note->setFont(small);

    stripLayout->addWidget(caption);
    stripLayout->addWidget(zoomFactorLabel_);
    stripLayout->addSpacing(6);
    stripLayout->addWidget(zoomButtons_);
    stripLayout->addSpacing(6);
    stripLayout->addWidget(saveZoomButton_);
    stripLayout->addSpacing(12);
    stripLayout->addWidget(note, 1);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(sideTabs_, 0, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(viewport_, 1, 0);
    grid->addWidget(verticalBar_, 1, 1);
    grid->addWidget(horizontalBar_, 2, 0);
    grid->addWidget(strip, 3, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
}

void CardFace::SetPage(float pwidth, float pheight, float viewScale, int twipsPerPixel,
                       int32_t offset, int32_t rightOffset) {
    view_ = ViewState::Sized(viewScale > 0 ? viewScale : 1, pwidth, pheight);
    twipsPerPixel_ = twipsPerPixel > 0 ? twipsPerPixel : 15;
    offset_ = offset;
    rightOffset_ = rightOffset;
    QSize pixels(int(std::lround(pwidth / twipsPerPixel_)),
                 int(std::lround(pheight / twipsPerPixel_)));
    cardPicture_->SetPageSize(pixels, twipsPerPixel_ / view_.ViewScale());
    UpdateScrollRanges();
}

void CardFace::ShowSide(bool backSide) {
    const QSignalBlocker block(sideTabs_);
    sideTabs_->setCurrentIndex(backSide ? 1 : 0);
}

void CardFace::SetSidesEnabled(bool enabled) {
    sideTabs_->setTabEnabled(1, enabled);
    sideTabs_->setVisible(enabled);
}

bool CardFace::ScrollToEnd(int key, Qt::KeyboardModifiers modifiers) {
    if (key != Qt::Key_Home && key != Qt::Key_End)
        return false;
    const bool start = key == Qt::Key_Home;
    auto toEnd = [start](QScrollBar* bar) {
        bar->setValue(start ? bar->minimum() : bar->maximum());
    };
    toEnd(verticalBar_);
    if (modifiers & Qt::ControlModifier)
        toEnd(horizontalBar_);
    return true;
}

void CardFace::ShowZoomFactor(float zoomFactor) {
    zoomFactorLabel_->setText(QString::number(int(std::lround(zoomFactor))));
}

void CardFace::ScrollPage(Qt::Orientation orientation, int direction) {
    QScrollBar* bar = orientation == Qt::Horizontal ? horizontalBar_ : verticalBar_;
    ScrollBy(bar, direction * bar->pageStep());
}

void CardFace::ScrollBy(QScrollBar* bar, int twips) {
    if (twips != 0)
        bar->setValue(std::clamp(bar->value() + twips, bar->minimum(), bar->maximum()));
}

void CardFace::wheelEvent(QWheelEvent* event) {
    TurnWheel(event);
}

bool CardFace::eventFilter(QObject* watched, QEvent* event) {
    // The card picture's wheel is the card face's, whoever sent it.
    if (watched == cardPicture_ && event->type() == QEvent::Wheel) {
        TurnWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CardFace::TurnWheel(QWheelEvent* event) {
    // One notch of a wheel is 120 units of its angle.
    constexpr int kNotch = 120;
    const QPoint angle = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        zoomWheel_ += angle.y() != 0 ? angle.y() : angle.x();
        while (zoomWheel_ >= kNotch) {
            zoomWheel_ -= kNotch;
            emit zoomRequested(true);
        }
        while (zoomWheel_ <= -kNotch) {
            zoomWheel_ += kNotch;
            emit zoomRequested(false);
        }
        event->accept();
        return;
    }
    // Touchpads tell pixels; wheels move as many small steps a notch as the desktop's
    // wheel setting has lines. Turning away from oneself (negative) goes down the card.
    const QPoint pixels = event->pixelDelta();
    auto twips = [&](int pixelDelta, int angleDelta, const QScrollBar* bar) {
        if (!pixels.isNull())
            return -pixelDelta * twipsPerPixel_;
        return -angleDelta * QApplication::wheelScrollLines() * bar->singleStep() / kNotch;
    };
    int across = twips(pixels.x(), angle.x(), horizontalBar_);
    int down = twips(pixels.y(), angle.y(), verticalBar_);
    if ((event->modifiers() & Qt::ShiftModifier) && across == 0) {
        across = twips(pixels.y(), angle.y(), horizontalBar_);
        down = 0;
    }
    ScrollBy(horizontalBar_, across);
    ScrollBy(verticalBar_, down);
    event->accept();
}

void CardFace::ScrollToShow(const QRect& card) {
    const double scale = view_.ViewScale();
    // Scroll values are the window's twips of the zoomed card.
    auto show = [](QScrollBar* bar, double from, double to, int32_t inner, double offset) {
        const double shownFrom = bar->value() - offset, shownTo = shownFrom + inner;
        if (from >= shownFrom && to <= shownTo)
            return;
        int value = int(std::lround((from + to) / 2 - inner / 2.0 + offset));
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    };
    show(horizontalBar_, card.left() * scale, (card.left() + card.width()) * scale,
         InnerWidthTwips(), offset_);
    show(verticalBar_, card.top() * scale, (card.top() + card.height()) * scale, InnerHeightTwips(),
         0);
}

void CardFace::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScrollRanges();
}

void CardFace::UpdateScrollRanges() {
    ScrollBars bars = ScrollBarsFor(view_, InnerWidthTwips(), InnerHeightTwips());
    const QSignalBlocker blockH(horizontalBar_);
    const QSignalBlocker blockV(verticalBar_);
    horizontalBar_->setRange(0, std::max(0, bars.Horizontal.Max));
    horizontalBar_->setSingleStep(bars.Horizontal.SmallChange);
    horizontalBar_->setPageStep(bars.Horizontal.LargeChange);
    verticalBar_->setRange(0, std::max(0, bars.Vertical.Max));
    verticalBar_->setSingleStep(bars.Vertical.SmallChange);
    verticalBar_->setPageStep(bars.Vertical.LargeChange);
    PlacePicture();
}

VisibleCardArea VisibleCardPart(QSize viewport, QRect picture, double cardTwipsPerPixel,
                                int margin) {
    QRect shown = QRect(QPoint(0, 0), viewport).intersected(picture);
    if (shown.isEmpty())
        shown = QRect(picture.topLeft(), QSize(0, 0));
    // Picture pixels, then card twips.
    shown.translate(-picture.topLeft());
    auto twips = [&](double pixels) {
        return int32_t(std::lround(pixels * cardTwipsPerPixel));
    };
    VisibleCardArea area;
    area.VisibleWidth = twips(shown.width());
    area.VisibleHeight = twips(shown.height());
    const int across = std::min(margin, shown.width() / 2);
    const int down = std::min(margin, shown.height() / 2);
    area.VisibleLeft = twips(shown.left() + across);
    area.VisibleRight = twips(shown.left() + shown.width() - across);
    area.VisibleTop = twips(shown.top() + down);
    area.VisibleBottom = twips(shown.top() + shown.height() - down);
    return area;
}

void CardFace::PlacePicture() {
    double left =
        PictureLeftFor(horizontalBar_->value(), horizontalBar_->maximum(), offset_, rightOffset_);
    double top = PictureTopFor(verticalBar_->value());
    const QPoint at(int(std::lround(left / twipsPerPixel_)),
                    int(std::lround(top / twipsPerPixel_)));
    // What is on show is known before the picture moves: whatever follows the move (the
    // layout panel) keeps inside it.
    constexpr int kMargin = 6;
    visible_ = VisibleCardPart(viewport_->size(), QRect(at, cardPicture_->size()),
                               cardPicture_->CardTwipsPerPixel(), kMargin);
    cardPicture_->move(at);
    emit shownAreaChanged();
}

} // namespace cw
