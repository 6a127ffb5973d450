#pragma once

#include <QStringList>
#include <filesystem>
#include <vector>

namespace cw {

// Registers the program's own TrueType fonts for the lifetime of the program: those built
// into it (the suit font Pip4, so that suit symbols never depend on the data root) and
// every "*.ttf" of the data root's fontsdir.
class FontRegistry {
public:
    // Removes every font this registry added earlier, then, when install is true, adds the
    // built-in fonts and each "*.ttf" of folder. Every error is ignored; returns how many
    // fonts were added.
    int RegisterFonts(const std::filesystem::path& folder, bool install);

    // The families of the fonts registered now.
    QStringList Families() const;

private:
    void Add(const QString& file);

    std::vector<int> ids_;
};

} // namespace cw
