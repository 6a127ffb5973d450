#pragma once

#include "CardExport.h"

class QWidget;

namespace cw {

// The save dialog of "Save Card as": the card format's own file type, GIF, JPEG and
// Windows bitmaps as of old, PNG and PDF, the federation's form filled in where the format
// has one, and the resolution of the pictures.
class SaveCardAsDialog : public ExportFileChooser {
public:
    SaveCardAsDialog(QWidget* parent, int twipsPerPixel, bool offersFilledForm)
        : parent_(parent), twipsPerPixel_(twipsPerPixel), offersFilledForm_(offersFilledForm) {}

    std::optional<ExportRequest> ChooseExportFile(const fs::path& folder, const std::string& name,
                                                  const std::string& cardExt) override;

private:
    QWidget* parent_;
    int twipsPerPixel_;
    bool offersFilledForm_;
};

} // namespace cw
