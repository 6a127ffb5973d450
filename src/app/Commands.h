#pragma once

#include "CommandLine.h"

#include <ostream>

namespace cw {

class Application;

// "cardwright formats": one line per installed format (slot, code, extension, back-page
// flag, display name), tab-separated.
int RunFormatsCommand(Application& app, std::ostream& out);

// The text of the formats listing.
class FormatCatalogue;
std::string FormatsListing(const FormatCatalogue& catalogue);

} // namespace cw
