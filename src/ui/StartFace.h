#pragma once

#include "GradientBackground.h"
#include "Paths.h"

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTimer;

namespace cw {

// The main window's start face: the cards of the current format with the format's name and
// picture, the side buttons, the selection prompt, the card's status, the first-card hint and
// the special-notice label, beside the column of command buttons. It shows what it is told
// and reports what the user does; the main window decides.
class StartFace : public GradientBackground {
    Q_OBJECT

public:
    explicit StartFace(QWidget* parent = nullptr);

    QPushButton* commandButton(int index) const { return commandButtons_[size_t(index)]; }
    QListWidget* cardList() const { return cardList_; }
    QRadioButton* sideButton(int index) const { return sideButtons_[size_t(index)]; }
    QLabel* cardStatusLabel() const { return cardStatusLabel_; }
    QLabel* specialNoticeLabel() const { return specialNoticeLabel_; }

    void ShowFormatName(const QString& name);
    // The format's picture, or where it would be a line saying it is missing or unreadable.
    void ShowFormatPicture(const std::optional<fs::path>& picture);
    void ShowSpecialNoticeLabel(bool visible);
    // The entries as the user named the cards (file names, UTF-8).
    void ShowCardList(const std::vector<std::string>& entries);
    void SelectCardInList(int index);
    // The hint shown while the sample card is the only card; "Create a New Card" blinks
    // with it.
    void ShowFirstCardHint(bool visible);
    // No blinking behind a dialog.
    void PauseBlinking(bool pause);
    void ShowSelectionPrompt(const QString& text, bool cancelVisible);
    void ShowCardStatus(const QString& text);
    void ShowSide(bool backSide);
    void SetSideButtonsEnabled(bool enabled);
    void EnableSaveCommand(bool enabled);
    void EnableCardCommands(bool enabled, bool namesEditable);

signals:
    void commandClicked(int index);
    void sideClicked(int side);
    // A card of the list clicked (once the list has finished with the click), or chosen
    // with Enter.
    void cardClicked(int row);
    void cardChosen(int row);
    void cardDoubleClicked();
    void cancelSelectionClicked();
    void specialNoticeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* BuildHeader();
    QLayout* BuildListColumn();
    QLayout* BuildCommandColumn();

    QListWidget* cardList_ = nullptr;
    QLabel* listLabel_ = nullptr;
    QLabel* formatNameLabel_ = nullptr;
    QLabel* formatPicture_ = nullptr;
    QLabel* cardStatusLabel_ = nullptr;
    QLabel* selectionPromptLabel_ = nullptr;
    QLabel* specialNoticeLabel_ = nullptr;
    QLabel* firstCardHint_ = nullptr;
    QPushButton* cancelSelectionButton_ = nullptr;
    std::array<QPushButton*, 10> commandButtons_{};
    std::array<QRadioButton*, 2> sideButtons_{};
    QButtonGroup* sideGroup_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
};

} // namespace cw
