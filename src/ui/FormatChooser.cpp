#include "FormatChooser.h"

#include "FileOps.h"
#include "FormatCatalogue.h"
#include "FormatDisplayName.h"
#include "GradientBackground.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace cw {

// The rows picture: draws the rows; moved up and down inside its frame by the scroll bar.
class FormatRows : public QWidget {
public:
    explicit FormatRows(FormatChooser& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
        setObjectName("formatRows");
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        const int height = owner_.RowHeight();
        for (int row = 0; row < owner_.RowCount(); ++row) {
            QRect box(0, row * height, width(), height);
            if (!box.intersects(event->rect()))
                continue;
            bool highlighted = row == owner_.selection_;
            if (highlighted)
                painter.fillRect(box, QColor(0, 0, 128));
            painter.setPen(highlighted ? Qt::white : Qt::black);
            painter.setFont(owner_.RowFont(row));
            painter.drawText(box.adjusted(8, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             owner_.RowText(row));
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override { owner_.rememberedY_ = event->pos().y(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
            owner_.MoveSelection(event->key() == Qt::Key_Up ? -1 : 1);
        else
            event->ignore();
    }
    void mousePressEvent(QMouseEvent* event) override {
        owner_.rememberedY_ = event->pos().y();
        if (event->button() == Qt::LeftButton)
            owner_.PictureClicked(event->pos().y());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        owner_.rememberedY_ = event->pos().y();
        if (event->button() == Qt::LeftButton)
            owner_.PictureDoubleClicked();
    }

private:
    FormatChooser& owner_;
};

FormatChooser::FormatChooser(const FormatCatalogue& catalogue, int16_t currentFormat,
                             int twipsPerPixel, QWidget* parent)
    : QDialog(parent), twipsPerPixel_(twipsPerPixel > 0 ? twipsPerPixel : 15) {
    setObjectName("FormatChooser");
    setWindowTitle("Card Format Selection From");
    setModal(true);
    for (int slot = 0; slot < catalogue.FormatCount; ++slot) {
        names_.push_back(catalogue.Column(slot, ColDisplayName));
        rows_.push_back(DecodeDisplayName(names_.back()));
    }
    selection_ = currentFormat;

    auto* background = new GradientBackground(2, this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(background);

    auto* frame = new QGroupBox("Click on the desired card format:", background);
    frame->setObjectName("formatFrame");
    frame->setStyleSheet("QGroupBox#formatFrame { background: #f4f4f8; border: 1px solid #303060;"
                         " border-radius: 4px; margin-top: 1.6em; font-weight: bold; }"
                         "QGroupBox#formatFrame::title { subcontrol-origin: margin; left: 10px;"
                         " padding: 0 4px; color: white; }");
    frameView_ = new QWidget(frame);
    frameView_->setObjectName("formatRowsFrame");
    rowsPicture_ = new FormatRows(*this, frameView_);
    int rowHeight = RowHeight();
    // Up to fifteen rows in view; a short list gets a shorter frame.
    shownRows_ = std::clamp(RowCount(), 6, VisibleRows);
    int listHeight = rowHeight * shownRows_;
    frameView_->setFixedHeight(listHeight);
    frameView_->setMinimumWidth(340);
    rowsPicture_->resize(340, std::max(listHeight, rowHeight * RowCount()));

    frameView_->installEventFilter(this);

    scrollBar_ = new QScrollBar(Qt::Vertical, frame);
    scrollBar_->setObjectName("formatScrollBar");
    scrollBar_->setSingleStep(RowTwips);
    scrollBar_->setPageStep(RowTwips * VisibleRows);
    scrollBar_->setRange(0, std::max(0, (RowCount() - shownRows_) * RowTwips));
    scrollBar_->setEnabled(scrollBar_->maximum() > 0);
    scrollBar_->setFixedHeight(listHeight);
    connect(scrollBar_, &QScrollBar::valueChanged, this,
            [this](int value) { rowsPicture_->move(0, -value / twipsPerPixel_); });

    auto* rows = new QHBoxLayout;
    rows->setSpacing(0);
    rows->addWidget(frameView_, 1);
    rows->addWidget(scrollBar_);

    selectedFormatLabel_ = new QLabel(frame);
    selectedFormatLabel_->setObjectName("selectedFormatLabel");
    selectedFormatLabel_->setAlignment(Qt::AlignCenter);
    QFont labelFont = selectedFormatLabel_->font();
    labelFont.setBold(true);
    selectedFormatLabel_->setFont(labelFont);

    doneButton_ = new QPushButton("Done", frame);
    doneButton_->setObjectName("doneButton");
    doneButton_->setDefault(true);
    doneButton_->setMinimumWidth(110);
    connect(doneButton_, &QPushButton::clicked, this, &FormatChooser::Done);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(12, 18, 12, 12);
    frameLayout->addLayout(rows);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(selectedFormatLabel_);
    frameLayout->addWidget(doneButton_, 0, Qt::AlignHCenter);
    auto* newFormat = new QPushButton("New Format from a Blank Card...", frame);
    newFormat->setObjectName("newFormatButton");
    connect(newFormat, &QPushButton::clicked, this, &FormatChooser::newFormatRequested);
    frameLayout->addWidget(newFormat, 0, Qt::AlignHCenter);
    // A format travels between players and clubs as one file.
    auto* exportFormat = new QPushButton("Export Format...", frame);
    exportFormat->setObjectName("exportFormatButton");
    exportFormat->setToolTip("Save the highlighted format, with its layouts and blank card, as "
                             "one file to give to others");
    connect(exportFormat, &QPushButton::clicked, this,
            [this] { emit exportFormatRequested(selection_); });
    auto* importFormat = new QPushButton("Import Format...", frame);
    importFormat->setObjectName("importFormatButton");
    importFormat->setToolTip("Add a format from a format file (.cwformat) someone gave you");
    connect(importFormat, &QPushButton::clicked, this, &FormatChooser::importFormatRequested);
    auto* sharing = new QHBoxLayout;
    sharing->addStretch();
    sharing->addWidget(exportFormat);
    sharing->addWidget(importFormat);
    sharing->addStretch();
    frameLayout->addLayout(sharing);

    // The frame stands in the middle of the window at any size.
    auto* centre = new QGridLayout(background);
    centre->setContentsMargins(24, 18, 24, 24);
    centre->addWidget(frame, 1, 1);
    centre->setRowStretch(0, 1);
    centre->setRowStretch(2, 1);
    centre->setColumnStretch(0, 1);
    centre->setColumnStretch(2, 1);

    Select(selection_);
    // Start with the current format in view.
    scrollBar_->setValue(
        std::clamp((selection_ - shownRows_ / 2) * RowTwips, 0, scrollBar_->maximum()));
    resize(sizeHint().expandedTo(QSize(460, 0)));
    rowsPicture_->setFocus();
}

int FormatChooser::RowHeight() const {
    return std::max(1, RowTwips / twipsPerPixel_);
}

QWidget* FormatChooser::rowsPicture() const {
    return rowsPicture_;
}

QFont FormatChooser::RowFont(int row) const {
    QFont font(QString::fromStdString(RowFontName(names_[size_t(row)])));
    font.setPixelSize(std::max(8, RowHeight() * 2 / 3));
    return font;
}

void FormatChooser::Select(int row) {
    if (row < 0 || row >= RowCount())
        return;
    selection_ = int16_t(row);
    selectedFormatLabel_->setFont(
        QFont(RowFont(row).family(), selectedFormatLabel_->font().pointSize(), QFont::Bold));
    selectedFormatLabel_->setText(RowText(row));
    rowsPicture_->update();
}

void FormatChooser::PictureClicked(int y) {
    int row = y * twipsPerPixel_ / RowTwips;
    if (row <= RowCount() - 1)
        Select(row);
}

void FormatChooser::PictureDoubleClicked() {
    int row = rememberedY_ * twipsPerPixel_ / RowTwips;
    if (row >= 0 && row <= RowCount() - 1) {
        Select(row);
        Done();
    }
}

void FormatChooser::Done() {
    emit formatChosen(selection_);
    accept();
}

bool FormatChooser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frameView_ && event->type() == QEvent::Resize)
        rowsPicture_->resize(frameView_->width(), rowsPicture_->height());
    return QDialog::eventFilter(watched, event);
}

void FormatChooser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        MoveSelection(event->key() == Qt::Key_Up ? -1 : 1);
    else
        QDialog::keyPressEvent(event);
}

void FormatChooser::MoveSelection(int step) {
    Select(std::clamp(selection_ + step, 0, RowCount() - 1));
    int top = scrollBar_->value() / RowTwips;
    if (selection_ < top)
        scrollBar_->setValue(selection_ * RowTwips);
    else if (selection_ >= top + shownRows_)
        scrollBar_->setValue((selection_ - shownRows_ + 1) * RowTwips);
}

} // namespace cw
