#pragma once

#include <filesystem>
#include <optional>

namespace cw {

// Where the program keeps its data: the folder given with --root, else
// $XDG_DATA_HOME/cardwright (~/.local/share/cardwright).
std::filesystem::path DefaultDataRoot();

// The shipped data folder: the repository's data/ in a build tree, or the installed copy.
std::optional<std::filesystem::path> ShippedDataFolder();

// A root without cwr.sys (in any letter case) is first filled with a copy of the shipped
// data, so that a new user starts on the shipped formats and sample cards. Existing files are
// never overwritten.
// Returns false (with a reason) when the root cannot be prepared.
bool PrepareDataRoot(const std::filesystem::path& root, std::string& problem);

} // namespace cw
