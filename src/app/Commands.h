#pragma once

#include "CommandLine.h"

#include <ostream>
#include <string>
#include <vector>

namespace cw {

class Application;
class FormatCatalogue;

// One command-line tool of the program: its word, what its help says of it, its options and
// what it runs. A tool gets the started application (not yet through its start-up), the
// parsed command line and the two output streams, and returns the process's exit code: 0 done,
// 1 failed, 2 the options cannot be used.
struct CommandEntry {
    std::string name;
    std::string summary;  // one line for the program's help
    std::string synopsis; // the words after "cardwright": "print --card NAME|'*' [OPTIONS]"
    std::string description;
    std::vector<OptionSyntax> options; // besides the common ones
    int (*run)(Application& app, const CommandLine& line, std::ostream& out, std::ostream& err);
};

// The program's command-line tools, in the order the help lists them.
const std::vector<CommandEntry>& CommandTable();
const CommandEntry* FindCommand(const std::string& name);
// "cardwright --help": how the program is started and the commands it has.
std::string ProgramHelp();
// "cardwright help COMMAND": the command and every option it takes.
std::string CommandHelp(const CommandEntry& command);

// "cardwright formats": one line per installed format (slot, code, extension, back-page
// flag, display name), tab-separated.
int RunFormatsCommand(Application& app, std::ostream& out);

// The text of the formats listing.
std::string FormatsListing(const FormatCatalogue& catalogue);

} // namespace cw
