#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace cw {

class AppContext;
class Application;
class FormatCatalogue;

// The slot of a format by its code, compared without regard to case.
std::optional<int16_t> FindFormat(const FormatCatalogue& catalogue, const std::string& code);

// The first steps of a command on cards: start-up without a window, and the slot of the card
// format named by code (the default format without one). Messages go to err; nullopt on
// failure.
std::optional<int16_t> StartCardCommand(Application& app, const std::optional<std::string>& code,
                                        std::ostream& err);
// StartCardCommand, then the format set up as the program sets it up (its defaults, its card
// folder). False on failure, the reason given.
bool SetUpCardCommand(Application& app, const std::optional<std::string>& code, std::ostream& err);
// Whether the card's front page is in the format's card folder; the reason when it is not.
bool CardFound(const AppContext& ctx, const std::string& card, std::ostream& err);
// Whether file can be written where it is to go: its folder exists and takes new files, and
// it is not a folder itself; the reason when not.
bool OutputFileWritable(const std::filesystem::path& file, std::ostream& err);
// SetUpCardCommand, then CardFound: the start of a command on one card.
bool SetUpForCard(Application& app, const std::optional<std::string>& code, const std::string& card,
                  std::ostream& err);

} // namespace cw
