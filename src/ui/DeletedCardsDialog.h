#pragma once

#include "CardArchive.h"

#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace cw {

// "Restore a Deleted Card": the deleted cards of the format that the card history keeps,
// each with the time it was last kept.
class DeletedCardsDialog : public QDialog {
    Q_OBJECT

public:
    explicit DeletedCardsDialog(QWidget* parent = nullptr);

    void ShowCards(const QString& formatName, const std::vector<DeletedCard>& cards);

    QListWidget* cardList() const { return cardList_; }
    QPushButton* restoreButton() const { return restore_; }

signals:
    void restoreClicked(const QString& card);

private:
    QLabel* heading_ = nullptr;
    QListWidget* cardList_ = nullptr;
    QPushButton* restore_ = nullptr;
};

} // namespace cw
