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

void FontRegistry::Add(const QString& file) {
    int id = QFontDatabase::addApplicationFont(file);
    if (id >= 0)
        ids_.push_back(id);
}

int FontRegistry::RegisterFonts(const std::filesystem::path& folder, bool install) {
    for (int id : ids_)
        QFontDatabase::removeApplicationFont(id);
    ids_.clear();
    if (!install)
        return 0;
    const QDir builtIn(kBuiltInFonts);
    for (const QString& name : builtIn.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        Add(builtIn.filePath(name));
    for (const std::string& name : ListFolder(folder, "*.ttf"))
        Add(QString::fromStdString((ResolveForWriting(folder) / name).string()));
    return int(ids_.size());
}

QStringList FontRegistry::Families() const {
    QStringList families;
    for (int id : ids_)
        families += QFontDatabase::applicationFontFamilies(id);
    return families;
}

} // namespace cw
