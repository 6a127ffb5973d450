#pragma once

#include "FormatCatalogue.h"
#include "Paths.h"

#include <filesystem>
#include <optional>
#include <string>

namespace cw {

// Where a card file given by its path (a double click in the file manager, `cardwright FILE`)
// belongs: the format whose extension it has, preferring the format whose card folder holds it.
struct CardFileLocation {
    int16_t slot = -1;
    // The card's name: the file name without extension (and without a back page's "_").
    std::string cardName;
    bool backPage = false;
    // The file already lives in its format's card folder of this data root.
    bool inCardFolder = false;
};

// nullopt with problem set when no installed format takes files of this kind.
std::optional<CardFileLocation> LocateCardFile(const FormatCatalogue& catalogue, const Paths& paths,
                                               const std::filesystem::path& file,
                                               std::string& problem);

} // namespace cw
