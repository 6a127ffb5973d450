#include "CompareCardPicker.h"

#include "TextCodec.h"
#include "TransferFolderPicker.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

CompareCardPicker::CompareCardPicker(const std::vector<std::string>& cards,
                                     const fs::path& cardFolder, const QString& extension,
                                     QWidget* parent)
    : QDialog(parent), cardFolder_(cardFolder) {
    setObjectName("CompareCardPicker");
    setWindowTitle("Compare with Card");
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel("Compare the open card with your partner's card:", this);
    cardList_ = new QListWidget(this);
    cardList_->setObjectName("cardList");
    for (const std::string& card : cards)
        cardList_->addItem(TextCodec::Western().Decode(card));
    if (cardList_->count() > 0)
        cardList_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(this);
    compare_ = buttons->addButton("Compare", QDialogButtonBox::AcceptRole);
    compare_->setObjectName("compareButton");
    compare_->setEnabled(cardList_->count() > 0);
    otherFile_ = buttons->addButton("Other File...", QDialogButtonBox::ActionRole);
    otherFile_->setObjectName("otherFileButton");
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(prompt);
    layout->addWidget(cardList_, 1);
    layout->addWidget(buttons);

    fileChooser_ = [this, extension]() -> std::optional<fs::path> {
        auto medium = FirstRemovableMedium(RemovableMediaRoots());
        QString start = medium ? QString::fromStdString(medium->string()) : QDir::homePath();
        QString file = QFileDialog::getOpenFileName(
            this, "Partner's Card", start,
            QString("Cards (*%1 *%2);;All files (*)").arg(extension, extension.toUpper()));
        if (file.isEmpty())
            return std::nullopt;
        return fs::path(file.toStdString());
    };
    connect(compare_, &QPushButton::clicked, this, &CompareCardPicker::ChooseListed);
    connect(cardList_, &QListWidget::itemActivated, this, &CompareCardPicker::ChooseListed);
    connect(otherFile_, &QPushButton::clicked, this, &CompareCardPicker::ChooseFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(360, 360);
}

void CompareCardPicker::ChooseListed() {
    if (QListWidgetItem* item = cardList_->currentItem()) {
        chosen_ = cardFolder_ / TextCodec::Western().Encode(item->text());
        accept();
    }
}

void CompareCardPicker::ChooseFile() {
    if (auto file = fileChooser_()) {
        chosen_ = *file;
        accept();
    }
}

} // namespace cw
