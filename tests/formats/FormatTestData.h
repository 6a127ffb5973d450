#pragma once

// What the tests of card formats made from federations' blank cards share: the blank cards
// of make_blank_cards.py (made once for the test program) and looks into a data root.
#include "FormatCatalogue.h"
#include "SystemSettings.h"
#include "TestFiles.h"

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace cw::test {

// The folder of the blank cards; nullopt when make_blank_cards.py failed
// (python3-reportlab missing).
inline const std::optional<fs::path>& BlankCards() {
    static TempDir folder;
    static const std::optional<fs::path> made = [] {
        const std::string command = "/usr/bin/python3 '" CW_FORMATS_TEST_DIR
                                    "/make_blank_cards.py' '" +
                                    folder.Path().string() + "'";
        return std::system(command.c_str()) == 0 ? std::optional<fs::path>(folder.Path())
                                                 : std::nullopt;
    }();
    return made;
}

// One blank card by its file name.
inline fs::path BlankCard(const std::string& name) {
    return BlankCards().value_or(fs::path()) / name;
}

// Every path under root with its bytes ("<folder>" for folders), to see that a refused
// operation changed nothing.
inline std::map<std::string, std::string> Contents(const fs::path& root) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        contents[fs::relative(entry.path(), root).string()] =
            entry.is_regular_file() ? ReadFile(entry.path()) : "<folder>";
    return contents;
}

inline FormatCatalogue ReadCatalogue(const fs::path& root) {
    SystemSettings settings;
    FormatCatalogue catalogue;
    SystemSettingsFile(root, FileSystem::Default()).Read(settings, catalogue);
    return catalogue;
}

inline std::optional<int> SlotOf(const FormatCatalogue& catalogue, const std::string& code) {
    for (int slot = 0; slot < catalogue.FormatCount; ++slot)
        if (catalogue.Code(slot) == code)
            return slot;
    return std::nullopt;
}

} // namespace cw::test
