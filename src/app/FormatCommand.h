#pragma once

#include "CommandLine.h"

#include <ostream>

namespace cw {

class Application;

// "cardwright format new": a card format made from a federation's blank PDF or pictures.
int RunFormatNewCommand(Application& app, const CommandLine& line, std::ostream& out,
                        std::ostream& err);

// "cardwright format export": a card format written as one file to be imported elsewhere.
int RunFormatExportCommand(Application& app, const CommandLine& line, std::ostream& out,
                           std::ostream& err);

// "cardwright format import": a card format installed from a file "format export" wrote.
int RunFormatImportCommand(Application& app, const CommandLine& line, std::ostream& out,
                           std::ostream& err);

// "cardwright card new": a new blank card of a format, made from its templates as the
// program's "Create a New Card" makes it.
int RunCardNewCommand(Application& app, const CommandLine& line, std::ostream& out,
                      std::ostream& err);

} // namespace cw
