#pragma once

#include "CommandLine.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace cw {

class Application;

// "cardwright export": the card saved as pictures (or a PDF file) as "Save Card as" saves
// it: FILE.ext for the front page and FILE_.ext for the back page.
struct ExportCommandOptions {
    std::string card;
    std::optional<std::string> format;
    std::filesystem::path out;
    int dpi = 0;             // 0: the screen's at zoom 1
    bool filledForm = false; // the format's federation form, filled in
};

bool ParseExportOptions(const CommandLine& line, ExportCommandOptions& options,
                        std::string& problem);

int RunExportCommand(Application& app, const ExportCommandOptions& options, std::ostream& out,
                     std::ostream& err);

} // namespace cw
