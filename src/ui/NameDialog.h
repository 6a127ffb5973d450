#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace cw {

// "Names and Player Numbers": the card's file name, the names as they appear on my
// card and on partner's card, and the two player numbers. Enter moves to the next entry.
class NameDialog : public QDialog {
    Q_OBJECT

public:
    explicit NameDialog(QWidget* parent = nullptr);

    // Empty entries for a new card, or the open card's entries with its name read-only.
    void Clear();
    void ShowEntries(const std::array<QString, 5>& entries, bool nameReadOnly);
    std::array<QString, 5> Entries() const;

    QLineEdit* nameEdit(int index) const { return nameEdits_[size_t(index)]; }
    QPushButton* dialogButton(int index) const { return dialogButtons_[size_t(index)]; }

signals:
    void doneClicked();
    void cancelClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    std::array<QLabel*, 5> nameLabels_{};
    std::array<QLineEdit*, 5> nameEdits_{};
    std::array<QPushButton*, 2> dialogButtons_{};
};

} // namespace cw
