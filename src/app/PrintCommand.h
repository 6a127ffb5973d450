#pragma once

#include "CommandLine.h"
#include "PrintSettings.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace cw {

class Application;

// "cardwright print": cards printed as the print window prints them, with the format's
// saved print settings, on a printer the system knows or into a PDF file.
struct PrintCommandOptions {
    std::string card; // "*": every card of the format, in one document
    std::optional<std::string> format;
    std::optional<PrintSide> side; // the saved choice without it
    PrintCardChoice cards = PrintCardChoice::Mine;
    bool black = false;
    bool oneSheet = false; // both sides side by side on one sheet
    std::optional<std::filesystem::path> pdf;
    std::optional<std::string> printer; // the system's default printer without it (and --pdf)
    bool skipUnreadable = false;        // a card that cannot be read whole is left out
};

bool ParsePrintOptions(const CommandLine& line, PrintCommandOptions& options, std::string& problem);

// Prints; a line on out says what was printed, problems go to err. The exit code.
int RunPrintCommand(Application& app, const PrintCommandOptions& options, std::ostream& out,
                    std::ostream& err);

} // namespace cw
