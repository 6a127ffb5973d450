#pragma once

#include "ErrorContext.h"
#include "ErrorLog.h"
#include "ErrorTrap.h"

namespace cw {

// Shows errors of the command-line tools: writes the record to the log like the error
// dialog does and prints the dialog's lines on standard error.
class ConsoleErrorPresenter : public ErrorPresenter {
public:
    ConsoleErrorPresenter(ErrorLog& log, const ErrorContextSource& context)
        : log_(log), context_(context) {}
    void ShowError(const ErrorState& state) override;

private:
    ErrorLog& log_;
    const ErrorContextSource& context_;
};

} // namespace cw
