#pragma once

#include "PrintJob.h"
#include "PrintSettings.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace cw {

class Prompter;

// The print window ("Printer Setup"): the system's print dialog picks the printer, then the
// options panel offers the sides, black only, the paper orientation and the print size and
// margins of the card, and waits for OK or Cancel. While the pages go to the printer it says
// so.
class PrintDialog : public QDialog, public PrintQuestions {
    Q_OBJECT

public:
    PrintDialog(Prompter& prompter, QWidget* parent = nullptr);

    PrinterAnswer ChoosePrinter(QPrinter& printer, std::string& problem) override;
    bool AskPrintOptions(PrintOptionsModel& model) override;
    void ShowSpooling(bool spooling) override;

    // Fills the options panel from model (and keeps it for the panel's buttons).
    void ShowOptions(PrintOptionsModel& model);
    // Reads the panel into the model; false (after saying why) when a box is not usable.
    bool ReadOptions();

    QGroupBox* optionsPanel() const { return optionsPanel_; }
    QRadioButton* sideButton(PrintSide side) const { return sideButtons_[size_t(side)]; }
    QCheckBox* blackOnlyBox() const { return blackOnlyBox_; }
    QCheckBox* oneSheetBox() const { return oneSheetBox_; }
    QGroupBox* orientationGroup() const { return orientationGroup_; }
    QRadioButton* orientationButton(int index) const { return orientationButtons_[size_t(index)]; }
    QLineEdit* numberBox(int box) const { return numberBoxes_[size_t(box)]; }
    QLabel* numberCaption(int box) const { return numberCaptions_[size_t(box)]; }
    QLabel* defaultLabel(int box) const { return defaultLabels_[size_t(box)]; }
    QLabel* instructionsLabel() const { return instructions_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* saveSettingsButton() const { return saveButton_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowSizes();
    void OrientationClicked(int index);
    void OkClicked();
    void SaveSettingsClicked();

    Prompter& prompter_;
    PrintOptionsModel* model_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QGroupBox* optionsPanel_ = nullptr;
    QLabel* spoolingLabel_ = nullptr;
    std::array<QRadioButton*, 3> sideButtons_{};
    QCheckBox* blackOnlyBox_ = nullptr;
    QCheckBox* oneSheetBox_ = nullptr;
    QGroupBox* orientationGroup_ = nullptr;
    QButtonGroup* orientationButtonGroup_ = nullptr;
    std::array<QRadioButton*, 2> orientationButtons_{};
    std::array<QLabel*, PrintBoxCount> numberCaptions_{};
    std::array<QLineEdit*, PrintBoxCount> numberBoxes_{};
    std::array<QLabel*, PrintBoxCount> defaultLabels_{};
    QLabel* instructions_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

} // namespace cw
