#include "ConsoleErrorPresenter.h"

namespace cw {

void ConsoleErrorPresenter::ShowError(const ErrorState& state) {
    std::string text = state.ErrDescription;
    // One line, however the description was put together.
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    err_ << text << '\n';
    log_.WriteErrorRecord(state, context_.Snapshot());
}

} // namespace cw
