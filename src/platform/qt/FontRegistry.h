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
    // The font files of the folder that could not be registered (damaged, or not fonts).
    const QStringList& Unusable() const { return unusable_; }

private:
    bool Add(const QString& file);

    std::vector<int> ids_;
    QStringList unusable_;
};

} // namespace cw
