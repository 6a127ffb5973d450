#include "NewFormatDialog.h"

#include "FormatCatalogue.h"
#include "FormatMaker.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cw {

NewFormatDialog::NewFormatDialog(fs::path root, QWidget* parent)
    : QDialog(parent), root_(std::move(root)) {
    setObjectName("NewFormatDialog");
    setWindowTitle("New Format from a Blank Card");
    setModal(true);

    source_ = new QLineEdit(this);
    source_->setObjectName("sourceEdit");
    source_->setPlaceholderText("a PDF file, or front and back pictures");
    auto* browse = new QPushButton("Browse...", this);
    browse->setObjectName("browseButton");
    connect(browse, &QPushButton::clicked, this, &NewFormatDialog::Browse);
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source_, 1);
    sourceRow->addWidget(browse);

    name_ = new QLineEdit(this);
    name_->setObjectName("nameEdit");
    code_ = new QComboBox(this);
    code_->setObjectName("codeBox");
    code_->setEditable(true);
    code_->setInsertPolicy(QComboBox::NoInsert);
    for (const KnownFormatCode& known : KnownFormatCodes())
        code_->addItem(QString("%1  (%2)").arg(known.code, known.card), known.card);
    code_->setCurrentIndex(-1);
    code_->lineEdit()->setPlaceholderText("a known code, or letters and digits of your own");
    code_->setToolTip("A known code gives the format that card's rules for printing and "
                      "drawing; any other code gives the common rules.");
    extension_ = new QLineEdit(this);
    extension_->setObjectName("extensionEdit");
    extension_->setPlaceholderText("from the code");
    pages_ = new QLineEdit(this);
    pages_->setObjectName("pagesEdit");
    pages_->setPlaceholderText("1,2");
    connect(code_, &QComboBox::currentTextChanged, this, [this] {
        const std::string code = ChosenCode();
        extension_->setPlaceholderText(
            code.empty() ? QString("from the code")
                         : QString::fromStdString(FormatMaker::DefaultExtension(code)));
    });
    // Picking a known card names the format after it unless the user named it already.
    connect(code_, &QComboBox::activated, this, [this](int index) {
        if (name_->text().trimmed().isEmpty())
            name_->setText(code_->itemData(index).toString());
    });

    auto* form = new QFormLayout;
    form->addRow("Blank card:", sourceRow);
    form->addRow("Format name:", name_);
    form->addRow("Code:", code_);
    form->addRow("Card file extension:", extension_);
    form->addRow("PDF pages (front, back):", pages_);

    problem_ = new QLabel(this);
    problem_->setObjectName("problemLabel");
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #a00000;");
    problem_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    auto* make = buttons->addButton("Make Format", QDialogButtonBox::AcceptRole);
    make->setObjectName("makeButton");
    make->setDefault(true);
    connect(make, &QPushButton::clicked, this, &NewFormatDialog::Make);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

void NewFormatDialog::Browse() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, "Choose the blank card (a PDF, or front and back pictures)", QString(),
        "Blank cards (*.pdf *.png *.jpg *.jpeg)");
    if (!files.isEmpty())
        source_->setText(files.mid(0, 2).join(','));
}

std::string NewFormatDialog::ChosenCode() const {
    const QString text = code_->currentText().trimmed();
    return text.section(' ', 0, 0).toStdString();
}

void NewFormatDialog::Make() {
    NewFormatRequest request;
    request.root = root_;
    for (const QString& file : source_->text().split(',', Qt::SkipEmptyParts))
        request.sources.emplace_back(file.trimmed().toStdString());
    request.name = name_->text().trimmed().toStdString();
    request.code = ChosenCode();
    request.extension = extension_->text().trimmed().toStdString();
    for (const QString& page : pages_->text().split(',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = page.trimmed().toInt(&ok);
        if (!ok || number < 1) {
            problem_->setText("Give the PDF's pages as numbers from 1, e.g. 1,2.");
            problem_->show();
            return;
        }
        request.pages.push_back(number - 1);
    }
    try {
        FormatMaker maker(request);
        maker.Write();
        madeCode_ = maker.Record().code;
        accept();
    } catch (const FormatMakerError& error) {
        problem_->setText(QString::fromStdString(error.what()));
        problem_->show();
    }
}

} // namespace cw
