#pragma once

#include "CommandLine.h"

#include <optional>
#include <ostream>
#include <string>

namespace cw {

class Application;

// "cardwright compare": the fields whose values differ between two cards of one format, one
// line each (page, field, the first card's value, the second's); exit code 1 when there is
// any. The second card is a card name of the format or a card file anywhere.
struct CompareOptions {
    std::string card;
    std::string with;
    std::optional<std::string> format;
};

bool ParseCompareOptions(const CommandLine& line, CompareOptions& options, std::string& problem);
int RunCompareCommand(Application& app, const CompareOptions& options, std::ostream& out,
                      std::ostream& err);

} // namespace cw
