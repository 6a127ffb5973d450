#pragma once

#include <filesystem>
#include <vector>

namespace cw {

// Registers the program's own TrueType fonts for the lifetime of the program.
class FontRegistry {
public:
    // Removes every "*.ttf" of folder that this registry added earlier, then, when install
    // is true, adds each again. Every error is ignored; returns how many fonts were added.
    int RegisterFonts(const std::filesystem::path& folder, bool install);

private:
    std::vector<int> ids_;
};

} // namespace cw
