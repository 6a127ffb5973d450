#include "ConsoleErrorPresenter.h"

#include <iostream>

namespace cw {

void ConsoleErrorPresenter::ShowError(const ErrorState& state) {
    ErrorContextSnapshot snapshot = context_.Snapshot();
    for (const std::string& line : ErrorDialogLines(state, snapshot))
        std::cerr << line << '\n';
    log_.WriteErrorRecord(state, snapshot);
}

} // namespace cw
