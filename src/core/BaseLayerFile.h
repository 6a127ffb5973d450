#pragma once

#include "FileOps.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cw {

// One record of a format's printed base layer: the kind, six attributes in the order of
// the card kinds (item 8 is attribute 5) and the text item as written.
struct BaseRecord {
    int kind = 0;
    std::array<int32_t, 6> a{};
    std::string text;
};

// The records of a base-layer file (same syntax as a card page: comment lines, 31 header
// lines, records of eight items).
struct BaseLayerFile {
    std::vector<BaseRecord> records;
    // Set when lines that are not records were left out (the first of them is named); every
    // record around them is kept.
    std::optional<std::string> problem;

    // Throws RuntimeError when the file is missing or shorter than its header.
    static BaseLayerFile Read(const fs::path& path);
    static BaseLayerFile Parse(std::string bytes);

    // The file drawn for a page: the base file itself, or, when the card asks for the
    // alternative layer, the file whose last character before the extension is "9", when
    // there is one.
    static fs::path Choose(const fs::path& baseFile, bool useAlternative);
};

} // namespace cw
