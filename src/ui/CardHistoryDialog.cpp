#include "CardHistoryDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>

namespace cw {

namespace {

QScrollArea* Framed(QLabel* picture, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidget(picture);
    area->setAlignment(Qt::AlignCenter);
    area->setBackgroundRole(QPalette::Dark);
    return area;
}

} // namespace

CardHistoryDialog::CardHistoryDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("CardHistoryDialog");
    setWindowTitle("Card History");
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    versionList_ = new QListWidget(this);
    versionList_->setObjectName("versionList");
    versionList_->setIconSize(QSize(96, 128));
    versionList_->setSpacing(2);
    versionList_->setMinimumWidth(230);
    chosenCaption_ = new QLabel("Earlier version", this);
    chosenPicture_ = new QLabel(this);
    chosenPicture_->setObjectName("chosenPicture");
    currentPicture_ = new QLabel(this);
    currentPicture_->setObjectName("currentPicture");
    auto* nowCaption = new QLabel("Now", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    restore_ = buttons->addButton("Restore", QDialogButtonBox::ActionRole);
    restore_->setObjectName("restoreButton");
    restore_->setEnabled(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(heading_, 0, 0, 1, 3);
    grid->addWidget(versionList_, 1, 0, 2, 1);
    grid->addWidget(chosenCaption_, 1, 1);
    grid->addWidget(nowCaption, 1, 2);
    grid->addWidget(Framed(chosenPicture_, this), 2, 1);
    grid->addWidget(Framed(currentPicture_, this), 2, 2);
    grid->addWidget(buttons, 3, 0, 1, 3);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);

    connect(versionList_, &QListWidget::currentRowChanged, this, [this](int row) {
        restore_->setEnabled(row >= 0);
        if (row >= 0)
            emit versionChosen(row);
    });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (versionList_->currentRow() >= 0)
            emit restoreClicked(versionList_->currentRow());
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(1140, 800);
}

void CardHistoryDialog::ShowVersions(const QString& title,
                                     const std::vector<ArchivedVersion>& versions,
                                     const std::vector<QImage>& pictures) {
    heading_->setText(versions.empty()
                          ? title + ": no earlier version is kept yet.  Every save keeps the "
                                    "version it replaces."
                          : title + ": choose a version to see it beside the page as it is now.");
    const QSignalBlocker block(versionList_);
    versionList_->clear();
    for (size_t i = 0; i < versions.size(); ++i) {
        auto* item = new QListWidgetItem(QString::fromStdString(versions[i].when), versionList_);
        if (i < pictures.size())
            item->setIcon(QPixmap::fromImage(pictures[i]));
    }
    restore_->setEnabled(false);
    chosenPicture_->clear();
    chosenPicture_->resize(1, 1);
    chosenCaption_->setText("Earlier version");
}

void CardHistoryDialog::ShowCurrent(const QImage& picture) {
    currentPicture_->setPixmap(QPixmap::fromImage(picture));
    currentPicture_->resize(picture.size());
}

void CardHistoryDialog::ShowChosen(const QImage& picture, const QString& caption) {
    chosenPicture_->setPixmap(QPixmap::fromImage(picture));
    chosenPicture_->resize(picture.size());
    chosenCaption_->setText(caption);
}

} // namespace cw
