#include "FontRegistry.h"

#include "FileOps.h"

#include <QFontDatabase>
#include <QString>

namespace cw {

int FontRegistry::RegisterFonts(const std::filesystem::path& folder, bool install) {
    for (int id : ids_)
        QFontDatabase::removeApplicationFont(id);
    ids_.clear();
    if (!install)
        return 0;
    for (const std::string& name : ListFolder(folder, "*.ttf")) {
        int id =
            QFontDatabase::addApplicationFont(QString::fromStdString((folder / name).string()));
        if (id >= 0)
            ids_.push_back(id);
    }
    return int(ids_.size());
}

} // namespace cw
