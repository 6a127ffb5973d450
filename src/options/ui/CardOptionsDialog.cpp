#include "CardOptionsDialog.h"

#include "AppContext.h"
#include "CheckBoxSample.h"
#include "Colour.h"
#include "ErrorTrap.h"
#include "FontBook.h"
#include "FormatDisplayName.h"
#include "OptionsLocations.h"
#include "Prompter.h"
#include "TextCodec.h"
#include "UiText.h"

#include <QButtonGroup>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace cw {

namespace {

// Font names are bytes of the card code page in the defaults file.
QString FromCard(const std::string& bytes) {
    return TextCodec::Western().Decode(bytes);
}

QString SwatchStyle(int32_t colour, bool current) {
    return QStringLiteral("background-color: %1; border: %2 solid #404040; border-radius: 2px;")
        .arg(ToQColor(colour).name(), current ? QStringLiteral("2px") : QStringLiteral("1px"));
}

constexpr int kCurrentSwatch = 5;

} // namespace

CardOptionsDialog::CardOptionsDialog(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context), options_(context) {
    setObjectName(QStringLiteral("CardOptionsDialog"));
    setWindowTitle(QStringLiteral("Card Global Settings"));
    setModal(true);
    chooseFont_ = [this](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, initial, this, UiText(TextId::SetFont));
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };

    auto* listLabel = new QLabel(UiText(TextId::SelectCardToChange), this);
    formatList_ = new QListWidget(this);
    formatList_->setObjectName(QStringLiteral("formatList"));
    listLabel->setBuddy(formatList_);
    for (int slot = 0; slot < context_.Format.Catalogue().FormatCount; ++slot)
        formatList_->addItem(
            DecodeDisplayName(context_.Format.Catalogue().Column(slot, ColDisplayName)));
    // Wide enough for the longest name.
    formatList_->setMinimumWidth(
        std::min(420, formatList_->sizeHintForColumn(0) + 2 * formatList_->frameWidth() + 24));
    connect(formatList_, &QListWidget::currentRowChanged, this, &CardOptionsDialog::FormatClicked);

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(formatList_, 1);

    auto* cardFrame = new QGroupBox(UiText(TextId::CardSpecificDefaults), this);
    cardFrame->setObjectName(QStringLiteral("cardDefaultsFrame"));
    auto* cardLayout = new QVBoxLayout(cardFrame);
    cardLayout->addWidget(BuildFontGroup(cardFrame));
    cardLayout->addWidget(BuildPrintGroup(cardFrame));
    cardLayout->addWidget(BuildCheckBoxGroup(cardFrame));

    auto* explanation = new QLabel(UiText(TextId::DefaultsChangeExplanation) + "\n" +
                                       UiText(TextId::FieldsOverrideDefaults),
                                   this);
    explanation->setWordWrap(true);

    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setAutoDefault(false);
    connect(helpButton, &QPushButton::clicked, this, &CardOptionsDialog::helpRequested);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &CardOptionsDialog::helpRequested);

    saveButton_ = new QPushButton(UiText(TextId::SaveChanges), this);
    saveButton_->setObjectName(QStringLiteral("saveButton"));
    saveButton_->setAutoDefault(false);
    doneButton_ = new QPushButton(UiText(TextId::Done), this);
    doneButton_->setObjectName(QStringLiteral("doneButton"));
    doneButton_->setDefault(true);
    connect(saveButton_, &QPushButton::clicked, this, &CardOptionsDialog::SaveChanges);
    connect(doneButton_, &QPushButton::clicked, this, &CardOptionsDialog::Done);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(helpButton);
    buttons->addStretch(1);
    buttons->addWidget(saveButton_);
    buttons->addWidget(doneButton_);

    auto* right = new QVBoxLayout;
    right->addWidget(cardFrame);
    right->addWidget(explanation);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    int16_t start = context_.HasFormat() ? context_.Format.Current() : 0;
    if (context_.Format.Catalogue().IsValidSlot(start) && options_.Start(start)) {
        const QSignalBlocker block(formatList_);
        formatList_->setCurrentRow(start);
        shownRow_ = start;
    }
    ShowFormatDefaults();
}

QWidget* CardOptionsDialog::BuildFontGroup(QWidget* parent) {
    auto* group = new QGroupBox(UiText(TextId::UserInputFontSelection), parent);
    group->setObjectName(QStringLiteral("fontFrame"));
    fontLabel_ = new QLabel(group);
    fontLabel_->setObjectName(QStringLiteral("fontLabel"));
    fontLabel_->setMinimumWidth(220);
    setFontButton_ = new QPushButton(UiText(TextId::SetFont), group);
    setFontButton_->setObjectName(QStringLiteral("setFontButton"));
    setFontButton_->setAutoDefault(false);
    connect(setFontButton_, &QPushButton::clicked, this, &CardOptionsDialog::SetFont);

    auto* colours = new QHBoxLayout;
    colours->addWidget(new QLabel(UiText(TextId::FontColour), group));
    for (int i = 0; i < 6; ++i) {
        if (i == kCurrentSwatch)
            colours->addSpacing(14);
        colours->addWidget(MakeSwatch(i, group));
    }
    colours->addStretch(1);

    auto* grid = new QGridLayout(group);
    grid->addWidget(fontLabel_, 0, 0);
    grid->addWidget(setFontButton_, 0, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid->addLayout(colours, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    return group;
}

QWidget* CardOptionsDialog::BuildPrintGroup(QWidget* parent) {
    auto* group = new QGroupBox(UiText(TextId::SelectBaseTextColour), parent);
    group->setObjectName(QStringLiteral("printColourFrame"));
    auto* explanation = new QLabel(UiText(TextId::BaseTextColourExplanation), group);
    explanation->setWordWrap(true);

    sideChoice_ = new QWidget(group);
    auto* sides = new QHBoxLayout(sideChoice_);
    sides->setContentsMargins(0, 0, 0, 0);
    auto* sideGroup = new QButtonGroup(this);
    const QString captions[2] = {QStringLiteral("Front Side of Card"),
                                 QStringLiteral("Back Side of Card")};
    for (int i = 0; i < 2; ++i) {
        sideButtons_[size_t(i)] = new QRadioButton(captions[i], sideChoice_);
        sideButtons_[size_t(i)]->setObjectName(QStringLiteral("sideButton(%1)").arg(i));
        sideGroup->addButton(sideButtons_[size_t(i)], i);
        sides->addWidget(sideButtons_[size_t(i)]);
    }
    sides->addStretch(1);
    sideButtons_[0]->setChecked(true);
    connect(sideGroup, &QButtonGroup::idClicked, this,
            [this] { PaintSwatch(6 + kCurrentSwatch, options_.PrintColour(SelectedSide())); });

    auto* colours = new QHBoxLayout;
    for (int i = 6; i < 12; ++i) {
        if (i == 6 + kCurrentSwatch)
            colours->addSpacing(14);
        colours->addWidget(MakeSwatch(i, group));
    }
    colours->addStretch(1);

    auto* layout = new QVBoxLayout(group);
    layout->addWidget(explanation);
    layout->addWidget(sideChoice_);
    layout->addLayout(colours);
    return group;
}

QWidget* CardOptionsDialog::BuildCheckBoxGroup(QWidget* parent) {
    auto* group = new QGroupBox(UiText(TextId::CheckBoxStyle), parent);
    group->setObjectName(QStringLiteral("checkBoxStyleFrame"));
    auto* layout = new QHBoxLayout(group);
    auto* styles = new QButtonGroup(this);
    const QString captions[3] = {QStringLiteral("Solid"), QStringLiteral("Tick Mark"),
                                 QStringLiteral("X Mark")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(captions[i], group);
        button->setObjectName(QStringLiteral("checkBoxStyleButton(%1)").arg(i));
        styles->addButton(button, i);
        auto* sample = new QLabel(group);
        sample->setObjectName(QStringLiteral("checkBoxSample(%1)").arg(i));
        sample->setPixmap(CheckBoxSample(context_, i));
        layout->addWidget(button);
        layout->addWidget(sample);
        layout->addSpacing(12);
        styleButtons_[size_t(i)] = button;
    }
    layout->addStretch(1);
    connect(styles, &QButtonGroup::idClicked, this, [this](int style) {
        if (settingControls_)
            return;
        options_.SetCheckBoxStyle(style);
        UpdateSaveButton();
    });
    return group;
}

QWidget* CardOptionsDialog::MakeSwatch(int index, QWidget* parent) {
    QWidget* swatch = nullptr;
    if (index % 6 == kCurrentSwatch) {
        auto* shown = new QLabel(parent);
        shown->setToolTip(QStringLiteral("The colour now chosen"));
        swatch = shown;
    } else {
        auto* button = new QToolButton(parent);
        button->setToolTip(UiText(TextId::SelectColour).trimmed());
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QToolButton::clicked, this, [this, index] { SwatchClicked(index); });
        swatch = button;
    }
    swatch->setObjectName(QStringLiteral("colourSwatch(%1)").arg(index));
    swatch->setFixedSize(index % 6 == kCurrentSwatch ? QSize(40, 24) : QSize(24, 24));
    swatches_[size_t(index)] = swatch;
    if (index % 6 != kCurrentSwatch)
        PaintSwatch(index, CardOptions::SwatchColours[size_t(index % 6)]);
    return swatch;
}

void CardOptionsDialog::PaintSwatch(int index, int32_t colour) {
    bool current = index % 6 == kCurrentSwatch;
    swatches_[size_t(index)]->setStyleSheet(SwatchStyle(colour, current));
    if (current)
        shownColours_[size_t(index / 6)] = colour;
}

int32_t CardOptionsDialog::ShownColour(int group) const {
    return shownColours_[size_t(group)];
}

CardOptions::Side CardOptionsDialog::SelectedSide() const {
    return sideButtons_[1]->isChecked() && options_.HasBackPage() ? CardOptions::Side::Back
                                                                  : CardOptions::Side::Front;
}

void CardOptionsDialog::ShowFormatDefaults() {
    context_.errorTrap.Guard(loc::ShowFormatDefaults, [&] {
        settingControls_ = true;
        bool twoPages = options_.HasBackPage();
        sideChoice_->setVisible(twoPages);
        if (!twoPages)
            sideButtons_[0]->setChecked(true);
        int style = options_.CheckBoxStyle();
        for (int i = 0; i < 3; ++i)
            styleButtons_[size_t(i)]->setChecked(i == style);
        PaintSwatch(kCurrentSwatch, options_.BaseTextColour());
        PaintSwatch(6 + kCurrentSwatch, options_.PrintColour(SelectedSide()));
        QString description = FromCard(options_.FontDescription());
        fontLabel_->setText(description);
        QFont shown = fontLabel_->font();
        shown.setFamily(FromCard(options_.BasicFont()));
        shown.setBold(options_.BasicFontBold());
        shown.setItalic(options_.BasicFontItalic());
        fontLabel_->setFont(shown);
        settingControls_ = false;
        UpdateSaveButton();
    });
    settingControls_ = false;
}

void CardOptionsDialog::UpdateSaveButton() {
    saveButton_->setEnabled(options_.Changed());
}

void CardOptionsDialog::SwatchClicked(int index) {
    context_.errorTrap.Guard(
        loc::OptionsSwatchClick,
        [&] {
            int32_t colour = CardOptions::SwatchColours[size_t(index % 6)];
            if (index < 6)
                options_.SetBaseTextColour(colour);
            else
                options_.SetPrintColour(SelectedSide(), colour);
            PaintSwatch(index < 6 ? kCurrentSwatch : 6 + kCurrentSwatch, colour);
            UpdateSaveButton();
        },
        [&] { return std::vector<ErrValue>{index}; });
}

void CardOptionsDialog::FormatClicked(int row) {
    if (row < 0 || row == shownRow_)
        return;
    context_.errorTrap.Guard(
        loc::SelectOptionsFormat,
        [&] {
            if (!options_.SelectFormat(int16_t(row))) {
                // Cancelled: the format being edited stays selected, with its changes.
                const QSignalBlocker block(formatList_);
                formatList_->setCurrentRow(shownRow_);
                return;
            }
            shownRow_ = row;
            ShowFormatDefaults();
        },
        [&] { return std::vector<ErrValue>{row}; });
}

void CardOptionsDialog::SetFont() {
    context_.errorTrap.Guard(loc::OptionsSetFont, [&] {
        QString presetName = FromCard(options_.BasicFont());
        FontBook fonts;
        // The dialog lists only installed families: handed a Windows name it would fall back
        // to its own first choice, so it is handed the face that stands in for that name.
        QFont preset(fonts.Family(presetName));
        preset.setPointSizeF(options_.BasicFontSize() > 0 ? options_.BasicFontSize() : 10);
        preset.setBold(options_.BasicFontBold());
        preset.setItalic(options_.BasicFontItalic());
        std::optional<QFont> chosen = chooseFont_ ? chooseFont_(preset) : std::nullopt;
        if (!chosen)
            return;
        // A Windows font name shown through its stand-in keeps its own name when the user
        // leaves the family as it was: cards travel between systems by these names.
        QString family = chosen->family();
        if (family == fonts.Family(presetName))
            family = presetName;
        float size = float(chosen->pointSizeF() > 0 ? chosen->pointSizeF() : chosen->pointSize());
        // Card files hold font names in their code page: a name it cannot spell would come
        // back as question marks, a font no system has.
        const std::string name = TextCodec::Western().Encode(family);
        if (TextCodec::Western().Decode(name) != family || family.contains(u'"')) {
            context_.prompter.Message("The font \"" + family.toStdString() +
                                          "\" cannot be used for cards: card files cannot hold "
                                          "the letters of its name. Please choose another font.",
                                      UiText(TextId::ProgramName).toStdString(), Buttons::Ok,
                                      Icon::Warning);
            return;
        }
        options_.SetFont(name, size, chosen->bold(), chosen->italic());
        ShowFormatDefaults();
    });
}

void CardOptionsDialog::SaveChanges() {
    options_.Save();
    UpdateSaveButton();
}

void CardOptionsDialog::Done() {
    bool close = true;
    context_.errorTrap.Guard(loc::OptionsDone, [&] { close = options_.Done(); });
    if (close)
        accept();
}

void CardOptionsDialog::reject() {
    bool close = true;
    context_.errorTrap.Guard(loc::OptionsDone, [&] { close = options_.Done(); });
    if (close)
        QDialog::reject();
}

} // namespace cw
