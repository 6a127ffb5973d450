#include "NameDialog.h"

#include "ProgramTexts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

namespace {

QString Text(int number) {
    return QString::fromStdString(GetProgramText(number));
}

} // namespace

NameDialog::NameDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("NewFrame");
    setWindowTitle(Text(435));
    setModal(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    const int captions[5] = {430, 431, 432, 433, 434};
    for (int i = 0; i < 5; ++i) {
        newLabel_[size_t(i)] = new QLabel(Text(captions[i]), this);
        newLabel_[size_t(i)]->setObjectName(QString("NewLabel(%1)").arg(i));
        newText_[size_t(i)] = new QLineEdit(this);
        newText_[size_t(i)]->setObjectName(QString("NewText(%1)").arg(i));
        newText_[size_t(i)]->installEventFilter(this);
        newLabel_[size_t(i)]->setBuddy(newText_[size_t(i)]);
        newText_[size_t(i)]->setMinimumWidth(300);
        // The file name stands apart from the names.
        int row = i == 0 ? 0 : i + 1;
        grid->addWidget(newLabel_[size_t(i)], row, 0, Qt::AlignRight);
        grid->addWidget(newText_[size_t(i)], row, 1);
    }
    grid->setRowMinimumHeight(1, 10);

    newDone_[0] = new QPushButton(Text(403), this);
    newDone_[0]->setObjectName("NewDone(0)");
    newDone_[1] = new QPushButton(Text(401), this);
    newDone_[1]->setObjectName("NewDone(1)");
    // Enter belongs to the entries, so neither button is a default button.
    for (auto* button : newDone_) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setMinimumWidth(96);
    }
    connect(newDone_[0], &QPushButton::clicked, this, &NameDialog::doneClicked);
    connect(newDone_[1], &QPushButton::clicked, this, &NameDialog::cancelClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(newDone_[0]);
    buttons->addWidget(newDone_[1]);

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
        newText_[i]->setText(entries[i]);
    newText_[0]->setReadOnly(nameReadOnly);
    newText_[0]->setFocusPolicy(nameReadOnly ? Qt::NoFocus : Qt::StrongFocus);
    newText_[nameReadOnly ? 1 : 0]->setFocus();
}

std::array<QString, 5> NameDialog::Entries() const {
    std::array<QString, 5> entries;
    for (size_t i = 0; i < 5; ++i)
        entries[i] = newText_[i]->text();
    return entries;
}

bool NameDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            for (size_t i = 0; i < 5; ++i)
                if (watched == newText_[i]) {
                    size_t next = (i + 1) % 5;
                    if (next == 0 && newText_[0]->isReadOnly())
                        next = 1;
                    newText_[next]->setFocus();
                    newText_[next]->selectAll();
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
