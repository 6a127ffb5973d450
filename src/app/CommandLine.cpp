#include "CommandLine.h"

namespace cw {

namespace {

// Options that take no value.
bool IsFlag(const std::string& option) {
    return option == "--version" || option == "--partner" || option == "--help" ||
           option == "--black";
}

} // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (line.command.empty() && line.options.empty())
                line.command = arg;
            else
                line.errors.push_back("Unexpected argument: " + arg);
            continue;
        }
        std::string name = arg, value;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else if (!IsFlag(arg)) {
            if (i + 1 >= args.size()) {
                line.errors.push_back("Missing value after " + arg);
                continue;
            }
            value = args[++i];
        }
        line.options[name] = value;
    }
    return line;
}

std::optional<std::string> CommandLine::Value(const std::string& option) const {
    auto it = options.find(option);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

} // namespace cw
