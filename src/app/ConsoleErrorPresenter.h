#pragma once

#include "ErrorContext.h"
#include "ErrorLog.h"
#include "ErrorTrap.h"

#include <iostream>

namespace cw {

// Shows errors of the command-line tools: writes the record to the log like the error
// dialog does, and says what went wrong in one line on the error stream (the dialog's
// location and diagnostic values are for the log, not the terminal).
class ConsoleErrorPresenter : public ErrorPresenter {
public:
    ConsoleErrorPresenter(ErrorLog& log, const ErrorContextSource& context,
                          std::ostream& err = std::cerr)
        : log_(log), context_(context), err_(err) {}
    void ShowError(const ErrorState& state) override;

private:
    ErrorLog& log_;
    const ErrorContextSource& context_;
    std::ostream& err_;
};

} // namespace cw
