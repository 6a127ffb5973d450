#include "PrintDialog.h"

#include "BasicNumbers.h"
#include "PrintOptionsModel.h"
#include "Prompter.h"
#include "UiText.h"
#include "ViewScaling.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace cw {

namespace {

constexpr int kInstructionsWidth = 440;

const char* const kUnits[PrintBoxCount] = {"mm", "mm", "mm", "mm", "pixels"};

QString Number(double value) {
    return QString::fromStdString(FormatNumber(value));
}

} // namespace

PrintDialog::PrintDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName("PrintDialog");
    setWindowTitle("Printer Setup");
    setModal(true);

    pages_ = new QStackedWidget(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 24, 24, 24);
    outer->addWidget(pages_);

    optionsPanel_ = new QGroupBox(UiText(TextId::PrintingOptions), pages_);
    optionsPanel_->setObjectName("optionsPanel");
    optionsPanel_->setStyleSheet(
        "QGroupBox#optionsPanel { background: #f4f4f8; border: 1px solid #303060;"
        " border-radius: 4px; margin-top: 1.6em; font-weight: bold; }"
        "QGroupBox#optionsPanel::title { subcontrol-origin: margin; left: 10px; padding: 0 4px;"
        " color: white; }"
        "QGroupBox#orientationGroup { font-weight: normal; }"
        "QLabel#instructionsLabel { color: #1d2340; font-weight: normal; }");
    pages_->addWidget(optionsPanel_);
    auto* panel = new QVBoxLayout(optionsPanel_);
    panel->setContentsMargins(16, 14, 16, 12);
    panel->setSpacing(10);

    // Sides and black only.
    auto* sides = new QHBoxLayout;
    auto* sideGroup = new QButtonGroup(this);
    const TextId sideCaptions[3] = {TextId::FrontSide, TextId::BackSide, TextId::BothSides};
    for (int i = 0; i < 3; ++i) {
        sideButtons_[size_t(i)] = new QRadioButton(UiText(sideCaptions[i]), optionsPanel_);
        sideButtons_[size_t(i)]->setObjectName(QString("sideButton(%1)").arg(i));
        sideGroup->addButton(sideButtons_[size_t(i)], i);
        sides->addWidget(sideButtons_[size_t(i)]);
    }
    sides->addStretch(1);
    blackOnlyBox_ = new QCheckBox("Print Black only", optionsPanel_);
    blackOnlyBox_->setObjectName("blackOnlyBox");
    sides->addWidget(blackOnlyBox_);
    panel->addLayout(sides);
    oneSheetBox_ = new QCheckBox("Both sides on one sheet", optionsPanel_);
    oneSheetBox_->setObjectName("oneSheetBox");
    oneSheetBox_->setToolTip("Prints the two pages side by side on one sheet turned sideways, "
                             "as the folded printed card, shrunk a little where they do not fit.");
    panel->addWidget(oneSheetBox_);
    // Only both sides can share a sheet.
    connect(sideButtons_[size_t(PrintSide::Both)], &QRadioButton::toggled, oneSheetBox_,
            &QWidget::setEnabled);

    orientationGroup_ = new QGroupBox("Paper Orientation", optionsPanel_);
    orientationGroup_->setObjectName("orientationGroup");
    auto* orientation = new QHBoxLayout(orientationGroup_);
    orientationButtonGroup_ = new QButtonGroup(this);
    const char* orientationCaptions[2] = {"Portrait", "Landscape"};
    for (int i = 0; i < 2; ++i) {
        orientationButtons_[size_t(i)] =
            new QRadioButton(orientationCaptions[i], orientationGroup_);
        orientationButtons_[size_t(i)]->setObjectName(QString("orientationButton(%1)").arg(i));
        orientationButtonGroup_->addButton(orientationButtons_[size_t(i)], i);
        orientation->addWidget(orientationButtons_[size_t(i)]);
    }
    orientation->addStretch(1);
    connect(orientationButtonGroup_, &QButtonGroup::idClicked, this,
            &PrintDialog::OrientationClicked);
    panel->addWidget(orientationGroup_);
    // Two pages side by side always go on a sheet turned sideways.
    auto followOneSheet = [this] {
        orientationGroup_->setEnabled(!(oneSheetBox_->isEnabled() && oneSheetBox_->isChecked()));
    };
    connect(oneSheetBox_, &QCheckBox::toggled, this, followOneSheet);
    connect(sideButtons_[size_t(PrintSide::Both)], &QRadioButton::toggled, this, followOneSheet);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    for (int box = 0; box < PrintBoxCount; ++box) {
        numberCaptions_[size_t(box)] = new QLabel(PrintBoxCaption(box), optionsPanel_);
        numberBoxes_[size_t(box)] = new QLineEdit(optionsPanel_);
        numberBoxes_[size_t(box)]->setObjectName(QString("numberBox(%1)").arg(box));
        numberBoxes_[size_t(box)]->setMaximumWidth(80);
        numberBoxes_[size_t(box)]->setAlignment(Qt::AlignRight);
        numberCaptions_[size_t(box)]->setBuddy(numberBoxes_[size_t(box)]);
        defaultLabels_[size_t(box)] = new QLabel(optionsPanel_);
        defaultLabels_[size_t(box)]->setObjectName(QString("defaultLabel(%1)").arg(box));
        auto* unit = new QLabel(kUnits[box], optionsPanel_);
        for (QLabel* label : {numberCaptions_[size_t(box)], defaultLabels_[size_t(box)], unit})
            label->setStyleSheet("font-weight: normal;");
        grid->addWidget(numberCaptions_[size_t(box)], box, 0);
        grid->addWidget(numberBoxes_[size_t(box)], box, 1);
        grid->addWidget(unit, box, 2);
        grid->addWidget(defaultLabels_[size_t(box)], box, 3);
    }
    grid->setColumnStretch(3, 1);
    panel->addLayout(grid);

    instructions_ = new QLabel(optionsPanel_);
    instructions_->setObjectName("instructionsLabel");
    instructions_->setWordWrap(true);
    // A width of its own, so that the height its lines need at that width is known.
    instructions_->setFixedWidth(kInstructionsWidth);
    panel->addWidget(instructions_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    okButton_ = new QPushButton(UiText(TextId::Ok), optionsPanel_);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(UiText(TextId::Cancel), optionsPanel_);
    cancelButton_->setObjectName("cancelButton");
    saveButton_ = new QPushButton(UiText(TextId::SaveSettings), optionsPanel_);
    saveButton_->setObjectName("saveSettingsButton");
    for (QPushButton* button : {okButton_, cancelButton_, saveButton_})
        buttons->addWidget(button);
    panel->addLayout(buttons);
    connect(okButton_, &QPushButton::clicked, this, &PrintDialog::OkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(saveButton_, &QPushButton::clicked, this, &PrintDialog::SaveSettingsClicked);

    spoolingLabel_ = new QLabel("Spooling data to your printer.", pages_);
    spoolingLabel_->setObjectName("spoolingLabel");
    spoolingLabel_->setAlignment(Qt::AlignCenter);
    spoolingLabel_->setStyleSheet("color: white; font-size: 14pt; font-weight: bold;");
    pages_->addWidget(spoolingLabel_);
}

void PrintDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGradient(painter, size(), 2);
}

PrintQuestions::PrinterAnswer PrintDialog::ChoosePrinter(QPrinter& printer, std::string& problem) {
    QPrintDialog dialog(&printer, parentWidget());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
    if (dialog.exec() != QDialog::Accepted)
        return PrinterAnswer::Cancelled;
    if (!printer.isValid()) {
        problem = "the printer " + printer.printerName().toStdString() + " is not available.";
        return PrinterAnswer::Failed;
    }
    return PrinterAnswer::Chosen;
}

bool PrintDialog::AskPrintOptions(PrintOptionsModel& model) {
    ShowOptions(model);
    pages_->setCurrentWidget(optionsPanel_);
    okButton_->setFocus();
    // The panel waits in its own event loop: the rest of the program keeps painting.
    const bool ok = exec() == QDialog::Accepted;
    model_ = nullptr;
    return ok;
}

void PrintDialog::ShowSpooling(bool spooling) {
    if (spooling) {
        pages_->setCurrentWidget(spoolingLabel_);
        show();
        raise();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        hide();
    }
}

void PrintDialog::ShowOptions(PrintOptionsModel& model) {
    model_ = &model;
    const PrintChoices& c = model.Choices();
    for (QRadioButton* button : sideButtons_)
        button->setEnabled(model.HasBackPage());
    sideButton(c.side)->setChecked(true);
    blackOnlyBox_->setChecked(c.blackOnly);
    oneSheetBox_->setVisible(model.HasBackPage());
    oneSheetBox_->setChecked(c.oneSheet);
    oneSheetBox_->setEnabled(c.side == PrintSide::Both);
    orientationGroup_->setEnabled(!(c.side == PrintSide::Both && c.oneSheet));
    for (QWidget* widget : std::initializer_list<QWidget*>{numberCaptions_[BoxBackMargin],
                                                           numberBoxes_[BoxBackMargin],
                                                           defaultLabels_[BoxBackMargin]})
        widget->setEnabled(model.HasBackPage());
    orientationGroup_->setVisible(model.OrientationOffered());
    orientationButtons_[c.landscape ? 1 : 0]->setChecked(true);
    instructions_->setText(QString::fromStdString(model.Instructions()));
    instructions_->setFixedHeight(instructions_->heightForWidth(kInstructionsWidth));
    for (int box = 0; box < PrintBoxCount; ++box)
        numberBoxes_[size_t(box)]->setText(Number(c.boxes[size_t(box)]));
    ShowSizes();
    // The panel takes the size of what it now shows.
    optionsPanel_->layout()->invalidate();
    layout()->invalidate();
    layout()->activate();
    resize(minimumSizeHint());
}

void PrintDialog::ShowSizes() {
    if (!model_)
        return;
    for (int box = 0; box < PrintBoxCount; ++box)
        defaultLabels_[size_t(box)]->setText(QString::fromStdString(model_->DefaultLabel(box)));
    for (int box : {BoxPrintWidth, BoxPrintHeight})
        numberBoxes_[size_t(box)]->setText(Number(model_->Choices().boxes[size_t(box)]));
}

void PrintDialog::OrientationClicked(int index) {
    if (!model_)
        return;
    model_->SelectOrientation(index == 1);
    ShowSizes();
}

bool PrintDialog::ReadOptions() {
    if (!model_)
        return false;
    PrintChoices choices = model_->Choices();
    for (int side = 0; side < 3; ++side)
        if (sideButtons_[size_t(side)]->isChecked())
            choices.side = PrintSide(side);
    choices.blackOnly = blackOnlyBox_->isChecked();
    choices.oneSheet = choices.side == PrintSide::Both && oneSheetBox_->isChecked();
    choices.landscape = orientationButtons_[1]->isChecked();
    for (int box = 0; box < PrintBoxCount; ++box) {
        const std::string text = numberBoxes_[size_t(box)]->text().trimmed().toStdString();
        if (!IsWholeNumber(text)) {
            prompter_.Message(std::string(PrintBoxCaption(box)) + " must be a number.",
                              GetProgramText(TextId::ProgramName), Buttons::Ok, Icon::Warning);
            numberBoxes_[size_t(box)]->setFocus();
            numberBoxes_[size_t(box)]->selectAll();
            return false;
        }
        choices.boxes[size_t(box)] = Val(text);
    }
    const PrintChoices before = model_->Choices();
    model_->Choices() = choices;
    if (auto problem = model_->Problem()) {
        model_->Choices() = before;
        prompter_.Message(*problem, GetProgramText(TextId::ProgramName), Buttons::Ok,
                          Icon::Warning);
        return false;
    }
    return true;
}

void PrintDialog::OkClicked() {
    if (ReadOptions())
        accept();
}

void PrintDialog::SaveSettingsClicked() {
    if (ReadOptions())
        model_->SavePrintSettings();
}

} // namespace cw
