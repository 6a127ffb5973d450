#include "NameDialog.h"

#include "UiText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

namespace {} // namespace

NameDialog::NameDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("NameDialog");
    setWindowTitle(UiText(TextId::NamesAndPlayerNumbers));
    setModal(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    const TextId captions[5] = {TextId::FileNameForCard, TextId::NamesOnMyCard,
                                TextId::MyPlayerNumber, TextId::NamesOnPartnersCard,
                                TextId::PartnersPlayerNumber};
    for (int i = 0; i < 5; ++i) {
        nameLabels_[size_t(i)] = new QLabel(UiText(captions[i]), this);
        nameLabels_[size_t(i)]->setObjectName(QString("nameLabel%1").arg(i));
        nameEdits_[size_t(i)] = new QLineEdit(this);
        nameEdits_[size_t(i)]->setObjectName(QString("nameEdit(%1)").arg(i));
        nameEdits_[size_t(i)]->installEventFilter(this);
        nameLabels_[size_t(i)]->setBuddy(nameEdits_[size_t(i)]);
        nameEdits_[size_t(i)]->setMinimumWidth(300);
        // The file name stands apart from the names.
        int row = i == 0 ? 0 : i + 1;
        grid->addWidget(nameLabels_[size_t(i)], row, 0, Qt::AlignRight);
        grid->addWidget(nameEdits_[size_t(i)], row, 1);
    }
    grid->setRowMinimumHeight(1, 10);

    dialogButtons_[0] = new QPushButton(UiText(TextId::Done), this);
    dialogButtons_[0]->setObjectName("dialogButton(0)");
    dialogButtons_[1] = new QPushButton(UiText(TextId::Cancel), this);
    dialogButtons_[1]->setObjectName("dialogButton(1)");
    // Enter belongs to the entries, so neither button is a default button.
    for (auto* button : dialogButtons_) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setMinimumWidth(96);
    }
    connect(dialogButtons_[0], &QPushButton::clicked, this, &NameDialog::doneClicked);
    connect(dialogButtons_[1], &QPushButton::clicked, this, &NameDialog::cancelClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(dialogButtons_[0]);
    buttons->addWidget(dialogButtons_[1]);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);
}

void NameDialog::Clear() {
    ShowEntries({}, false);
}

void NameDialog::ShowEntries(const std::array<QString, 5>& entries, bool nameReadOnly) {
    for (size_t i = 0; i < 5; ++i)
        nameEdits_[i]->setText(entries[i]);
    nameEdits_[0]->setReadOnly(nameReadOnly);
    nameEdits_[0]->setFocusPolicy(nameReadOnly ? Qt::NoFocus : Qt::StrongFocus);
    nameEdits_[nameReadOnly ? 1 : 0]->setFocus();
}

std::array<QString, 5> NameDialog::Entries() const {
    std::array<QString, 5> entries;
    for (size_t i = 0; i < 5; ++i)
        entries[i] = nameEdits_[i]->text();
    return entries;
}

bool NameDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (size_t i = 0; i < 5; ++i)
                if (watched == nameEdits_[i]) {
                    size_t next = (i + 1) % 5;
                    if (next == 0 && nameEdits_[0]->isReadOnly())
                        next = 1;
                    nameEdits_[next]->setFocus();
                    nameEdits_[next]->selectAll();
                    return true;
                }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NameDialog::reject() {
    emit cancelClicked();
}

} // namespace cw
