#pragma once

#include "CommandLine.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace cw {

class Application;

// "cardwright render": one page of a card drawn without a display, as on screen (PNG, JPEG,
// BMP, GIF) or as printed with the format's print settings (PDF).
struct RenderOptions {
    std::string card;
    std::optional<std::string> format; // the format's code; the default format without it
    bool back = false;
    bool partner = false;
    std::optional<double> zoom; // the view's scale
    std::filesystem::path out;
};

// The options of the render command; false with the reason when they are not usable.
bool ParseRenderOptions(const CommandLine& line, RenderOptions& options, std::string& problem);

// Draws the page and writes the file. Messages go to err; returns the exit code.
int RunRenderCommand(Application& app, const RenderOptions& options, std::ostream& err);

} // namespace cw
