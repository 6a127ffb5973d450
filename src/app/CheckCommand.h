#pragma once

#include "CommandLine.h"

#include <optional>
#include <ostream>
#include <string>

namespace cw {

class Application;

// "cardwright check": the text fields of both pages of a card whose text is cut off, one
// line each (page, field number, why, text); exit code 1 when there is any.
struct CheckOptions {
    std::string card;
    std::optional<std::string> format;
};

bool ParseCheckOptions(const CommandLine& line, CheckOptions& options, std::string& problem);
int RunCheckCommand(Application& app, const CheckOptions& options, std::ostream& out,
                    std::ostream& err);

} // namespace cw
