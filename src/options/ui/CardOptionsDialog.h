#pragma once

#include "CardOptions.h"

#include <QDialog>
#include <QFont>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace cw {

class AppContext;

// "Card Global Settings": per card format, the font and colour of the USER INPUT fields, the
// colour of the PRINTED BASE TEXT on paper for each page, and the check-box style, saved into
// the format's defaults file. The logic is CardOptions; the window shows it.
class CardOptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CardOptionsDialog(AppContext& context, QWidget* parent = nullptr);

    CardOptions& Options() { return options_; }

    // Qt's font dialog by default; nullopt when the user cancels.
    using FontChooser = std::function<std::optional<QFont>(const QFont& initial)>;
    void SetFontChooser(FontChooser choose) { chooseFont_ = std::move(choose); }

    QListWidget* formatList() const { return formatList_; }
    QLabel* fontLabel() const { return fontLabel_; }
    // Swatches 0-5 colour the USER INPUT text, 6-11 the printed base text; 5 and 11 show the
    // colour now chosen.
    QWidget* colourSwatch(int index) const { return swatches_[size_t(index)]; }
    QRadioButton* sideButton(int index) const { return sideButtons_[size_t(index)]; }
    QRadioButton* checkBoxStyleButton(int index) const { return styleButtons_[size_t(index)]; }
    QPushButton* setFontButton() const { return setFontButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* doneButton() const { return doneButton_; }

    // The colour swatch 5 or 11 shows.
    int32_t ShownColour(int group) const;

    // Fills the controls from the values of the format being edited.
    void ShowFormatDefaults();

signals:
    // F1 or the Help button: the help page of this window.
    void helpRequested();

public slots:
    // Closing the window asks about unsaved changes as "Done" does.
    void reject() override;

private:
    QWidget* BuildFontGroup(QWidget* parent);
    QWidget* BuildPrintGroup(QWidget* parent);
    QWidget* BuildCheckBoxGroup(QWidget* parent);
    QWidget* MakeSwatch(int index, QWidget* parent);
    void PaintSwatch(int index, int32_t colour);
    void SwatchClicked(int index);
    void FormatClicked(int row);
    void SetFont();
    void SaveChanges();
    void Done();
    CardOptions::Side SelectedSide() const;
    void UpdateSaveButton();

    AppContext& context_;
    CardOptions options_;
    FontChooser chooseFont_;
    // The option buttons are set by the program: their handlers stay quiet meanwhile.
    bool settingControls_ = false;
    int shownRow_ = -1;

    QListWidget* formatList_ = nullptr;
    QLabel* fontLabel_ = nullptr;
    std::array<QWidget*, 12> swatches_{};
    std::array<int32_t, 2> shownColours_{};
    QWidget* sideChoice_ = nullptr;
    std::array<QRadioButton*, 2> sideButtons_{};
    std::array<QRadioButton*, 3> styleButtons_{};
    QPushButton* setFontButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* doneButton_ = nullptr;
};

} // namespace cw
