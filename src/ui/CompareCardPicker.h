#pragma once

#include "FileOps.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace cw {

// "Compare with Card...": picks the card to compare the open card with, from the cards of
// the format or, with "Other File...", a card file anywhere (a partner's memory stick).
class CompareCardPicker : public QDialog {
    Q_OBJECT

public:
    // cards: the card files of the format's folder cardFolder; extension with its dot.
    CompareCardPicker(const std::vector<std::string>& cards, const fs::path& cardFolder,
                      const QString& extension, QWidget* parent = nullptr);

    // The card file chosen once the dialog was accepted.
    const std::optional<fs::path>& Chosen() const { return chosen_; }

    // What "Other File..." asks with (a file dialog unless replaced).
    void SetFileChooser(std::function<std::optional<fs::path>()> chooser) {
        fileChooser_ = std::move(chooser);
    }

    QListWidget* cardList() const { return cardList_; }
    QPushButton* compareButton() const { return compare_; }
    QPushButton* otherFileButton() const { return otherFile_; }

private:
    void ChooseListed();
    void ChooseFile();

    fs::path cardFolder_;
    std::optional<fs::path> chosen_;
    std::function<std::optional<fs::path>()> fileChooser_;
    QListWidget* cardList_ = nullptr;
    QPushButton* compare_ = nullptr;
    QPushButton* otherFile_ = nullptr;
};

} // namespace cw
