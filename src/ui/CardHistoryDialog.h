#pragma once

#include "CardArchive.h"

#include <QDialog>
#include <QImage>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace cw {

// "Card History": the kept versions of the shown page with their dates and small pictures;
// the chosen version's picture beside the page as it is now, and "Restore".
class CardHistoryDialog : public QDialog {
    Q_OBJECT

public:
    explicit CardHistoryDialog(QWidget* parent = nullptr);

    // pictures: one small picture per version.
    void ShowVersions(const QString& title, const std::vector<ArchivedVersion>& versions,
                      const std::vector<QImage>& pictures);
    void ShowCurrent(const QImage& picture);
    void ShowChosen(const QImage& picture, const QString& caption);

    QListWidget* versionList() const { return versionList_; }
    QLabel* chosenPicture() const { return chosenPicture_; }
    QLabel* currentPicture() const { return currentPicture_; }
    QPushButton* restoreButton() const { return restore_; }

signals:
    void versionChosen(int index);
    void restoreClicked(int index);

private:
    QLabel* heading_ = nullptr;
    QListWidget* versionList_ = nullptr;
    QLabel* chosenCaption_ = nullptr;
    QLabel* chosenPicture_ = nullptr;
    QLabel* currentPicture_ = nullptr;
    QPushButton* restore_ = nullptr;
};

} // namespace cw
