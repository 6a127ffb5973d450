#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cw {

// One option of a command as its help describes it.
struct OptionSyntax {
    std::string name;        // without the dashes: "card"
    std::string valueName;   // "NAME"; empty for a flag
    std::string description; // one sentence
};

// The words of the command line: an optional command ("formats", "render") and its options,
// checked against the options that command takes.
struct CommandLine {
    // What the words ask for.
    enum class Request {
        Program,     // the desktop program, with an optional card file to open
        Command,     // one of the command-line tools
        ProgramHelp, // "--help" or "help" alone
        CommandHelp, // "help COMMAND" or "COMMAND --help"
        Version,     // "--version"
        UsageError,  // the words cannot be used: error says why
    };

    Request request = Request::Program;
    std::string command;                        // the tool's word, for Command and CommandHelp
    std::map<std::string, std::string> options; // "--root" -> "DIR"; flags map to ""
    std::optional<std::string> file;            // the card file the program is asked to open
    std::string error;                          // UsageError: one line naming the fault

    static CommandLine Parse(const std::vector<std::string>& args);

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    std::optional<std::string> Value(const std::string& option) const;
};

// The options every command takes besides its own.
const std::vector<OptionSyntax>& CommonOptions();

} // namespace cw
