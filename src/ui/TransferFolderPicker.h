#pragma once

#include "CardLibrary.h"

#include <optional>
#include <vector>

class QWidget;

namespace cw {

// The first removable medium mounted under one of roots (such as /run/media/USER, /media/USER,
// /media): the first folder, by name, directly inside the first root that has one.
std::optional<fs::path> FirstRemovableMedium(const std::vector<fs::path>& roots);
// The mount roots of removable media for the current user.
std::vector<fs::path> RemovableMediaRoots();

// The "diskette": a folder the user picks in a folder dialog that starts at the folder picked
// last, else at the first removable medium, else at the home folder.
class TransferFolderPicker : public TransferFolderChooser {
public:
    explicit TransferFolderPicker(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<fs::path> ChooseTransferFolder(const std::string& caption) override;

private:
    QWidget* parent_;
    std::optional<fs::path> last_;
};

} // namespace cw
