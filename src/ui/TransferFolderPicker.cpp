#include "TransferFolderPicker.h"

#include <QDir>
#include <QFileDialog>
#include <algorithm>
#include <cstdlib>

namespace cw {

std::optional<fs::path> FirstRemovableMedium(const std::vector<fs::path>& roots) {
    for (const fs::path& root : roots) {
        std::vector<fs::path> folders;
        std::error_code ec;
        for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            if (it->is_directory(typeError))
                folders.push_back(it->path());
        }
        if (!folders.empty())
            return *std::min_element(folders.begin(), folders.end());
    }
    return std::nullopt;
}

std::vector<fs::path> RemovableMediaRoots() {
    std::vector<fs::path> roots;
    const char* user = std::getenv("USER");
    if (user && *user) {
        roots.push_back(fs::path("/run/media") / user);
        roots.push_back(fs::path("/media") / user);
    }
    roots.push_back("/media");
    return roots;
}

std::optional<fs::path> TransferFolderPicker::ChooseTransferFolder(const std::string& caption) {
    fs::path start;
    std::error_code ec;
    if (last_ && fs::is_directory(*last_, ec))
        start = *last_;
    else if (auto medium = FirstRemovableMedium(RemovableMediaRoots()))
        start = *medium;
    else
        start = QDir::homePath().toStdString();
    QString folder = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(caption),
                                                       QString::fromStdString(start.string()));
    if (folder.isEmpty())
        return std::nullopt;
    last_ = fs::path(folder.toStdString());
    return last_;
}

} // namespace cw
