#include "SaveCardAsDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace cw {

std::optional<ExportRequest> SaveCardAsDialog::ChooseExportFile(const fs::path& folder,
                                                                const std::string& name,
                                                                const std::string& cardExt) {
    const QString ext = QString::fromStdString(cardExt);
    // In the order of ExportFilter.
    QStringList filters = {
        "New Convention Card (*" + ext + ")", "CompuServe Graphics Interchange (*.gif)",
        "JPEG - JIFF Compliant (*.jpg)",      "Windows Bitmaps (*.bmp)",
        "Portable Network Graphics (*.png)",  "PDF Document (*.pdf)"};
    if (offersFilledForm_)
        filters.append("Filled PDF form (*.pdf)");
    QFileDialog dialog(parent_, "Save Card as");
    dialog.setObjectName("SaveCardAsDialog");
    // Our own dialog, so that it can offer the resolution of the pictures.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // Pictures are made from the card and replaced without asking; a card of another name
    // asks itself before it replaces one.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.first());
    dialog.setDirectory(QString::fromStdString(folder.string()));
    dialog.selectFile(QString::fromStdString(name));

    auto* resolution = new QComboBox(&dialog);
    resolution->setObjectName("resolutionBox");
    const int screenDpi = twipsPerPixel_ > 0 ? 1440 / twipsPerPixel_ : 96;
    resolution->addItem(QString("Screen (%1 dpi)").arg(screenDpi), 0);
    for (int dpi : {96, 150, 300})
        if (dpi != screenDpi)
            resolution->addItem(QString("%1 dpi").arg(dpi), dpi);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        auto* label = new QLabel("Resolution:", &dialog);
        label->setBuddy(resolution);
        grid->addWidget(label, row, 0);
        grid->addWidget(resolution, row, 1);
    }
    auto follow = [&](const QString& filter) {
        const qsizetype index = filters.indexOf(filter);
        resolution->setEnabled(index >= 1 && index <= 4);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    follow(filters.first());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    ExportRequest request;
    request.file = dialog.selectedFiles().first().toStdString();
    // A name typed with a known extension says what it is; otherwise the chosen filter does.
    // A ".pdf" name leaves the filled form as chosen.
    const auto chosen = ExportFilter(filters.indexOf(dialog.selectedNameFilter()) + 1);
    const std::optional<ExportFilter> byName = ExportFilterOf(request.file, cardExt);
    if (byName && !(chosen == ExportFilter::FilledForm && byName == ExportFilter::Pdf))
        request.filter = *byName;
    else
        request.filter = chosen;
    request.dpi = resolution->currentData().toInt();
    return request;
}

} // namespace cw
