#pragma once

#include "CommandLine.h"

#include <ostream>
#include <string>
#include <vector>

namespace cw {

class Application;
class FormatCatalogue;

// One command-line tool of the program: its word, its usage lines and what it runs. A tool
// gets the started application (not yet through its start-up), the parsed command line and
// the two output streams, and returns the process's exit code.
struct CommandEntry {
    std::string name;
    std::string usage;
    int (*run)(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err);
};

// The program's command-line tools, in the order the usage lists them.
const std::vector<CommandEntry>& CommandTable();
const CommandEntry* FindCommand(const std::string& name);
// The usage text of the program and every tool.
std::string UsageText();

// "cardwright formats": one line per installed format (slot, code, extension, back-page
// flag, display name), tab-separated.
int RunFormatsCommand(Application& app, std::ostream& out);

// The text of the formats listing.
std::string FormatsListing(const FormatCatalogue& catalogue);

} // namespace cw
