#include "FontRegistry.h"

#include "FileOps.h"

#include <QDir>
#include <QFontDatabase>
#include <QString>

namespace cw {

namespace {

// Where the build puts the program's own fonts (data/fontsdir of the sources).
const QString kBuiltInFonts = QStringLiteral(":/cardwright/fonts");

} // namespace

bool FontRegistry::Add(const QString& file) {
    int id = QFontDatabase::addApplicationFont(file);
    if (id < 0)
        return false;
    ids_.push_back(id);
    return true;
}

int FontRegistry::RegisterFonts(const std::filesystem::path& folder, bool install) {
    for (int id : ids_)
        QFontDatabase::removeApplicationFont(id);
    ids_.clear();
    unusable_.clear();
    if (!install)
        return 0;
    const QDir builtIn(kBuiltInFonts);
    const QStringList own = builtIn.entryList({QStringLiteral("*.ttf")}, QDir::Files);
    for (const QString& name : own)
        Add(builtIn.filePath(name));
    for (const std::string& name : ListFolder(folder, "*.ttf")) {
        // A data root keeps the copy of the program's own fonts it was seeded with; an older
        // copy must not stand beside the program's, which may hold more characters.
        if (own.contains(QString::fromStdString(name), Qt::CaseInsensitive))
            continue;
        if (!Add(QString::fromStdString((ResolveForWriting(folder) / name).string())))
            unusable_ << QString::fromStdString(name);
    }
    return int(ids_.size());
}

QStringList FontRegistry::Families() const {
    QStringList families;
    for (int id : ids_)
        families += QFontDatabase::applicationFontFamilies(id);
    return families;
}

} // namespace cw
