#include "DeletedCardsDialog.h"

#include "TextCodec.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

DeletedCardsDialog::DeletedCardsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("DeletedCardsDialog");
    setWindowTitle("Restore a Deleted Card");
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    cardList_ = new QListWidget(this);
    cardList_->setObjectName("cardList");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    restore_ = buttons->addButton("Restore", QDialogButtonBox::ActionRole);
    restore_->setObjectName("restoreButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(cardList_, 1);
    layout->addWidget(buttons);
    auto restore = [this] {
        if (QListWidgetItem* item = cardList_->currentItem())
            emit restoreClicked(item->data(Qt::UserRole).toString());
    };
    connect(restore_, &QPushButton::clicked, this, restore);
    connect(cardList_, &QListWidget::itemActivated, this, restore);
    connect(cardList_, &QListWidget::currentRowChanged, this,
            [this](int row) { restore_->setEnabled(row >= 0); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(420, 360);
}

void DeletedCardsDialog::ShowCards(const QString& formatName,
                                   const std::vector<DeletedCard>& cards) {
    heading_->setText(
        cards.empty()
            ? "No deleted card of the format " + formatName + " is kept in the card history."
            : "Deleted cards of the format " + formatName + ".  Choose one to bring it back.");
    cardList_->clear();
    for (const DeletedCard& card : cards) {
        QString name = TextCodec::Western().Decode(card.name);
        auto* item = new QListWidgetItem(
            name.toUpper() + "    (deleted " + QString::fromStdString(card.when) + ")", cardList_);
        item->setData(Qt::UserRole, name);
    }
    if (cardList_->count() > 0)
        cardList_->setCurrentRow(0);
    restore_->setEnabled(cardList_->count() > 0);
}

} // namespace cw
