#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cw {

// The words of the command line: an optional command ("formats", "render") and its options.
struct CommandLine {
    std::string command;                        // empty: the program itself
    std::map<std::string, std::string> options; // "--root" -> "DIR"; flags map to ""
    std::vector<std::string> errors;

    static CommandLine Parse(const std::vector<std::string>& args);

    bool Has(const std::string& option) const { return options.count(option) != 0; }
    std::optional<std::string> Value(const std::string& option) const;
};

} // namespace cw
