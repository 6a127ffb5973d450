#include "ErrorTrap.h"

#include "BasicNumbers.h"
#include "Prompter.h"

namespace cw {

ErrValue::ErrValue(double value) : text_(FormatNumber(value)) {}

ErrorTrap::ErrorTrap(Prompter& prompter, ErrorPresenter& presenter)
    : prompter_(prompter), presenter_(presenter) {}

void ErrorTrap::Trap(int location, const std::string& description, std::vector<ErrValue> data,
                     int line) {
    ++trapCount_;
    state_.ErrLine = static_cast<int16_t>(line);
    state_.ErrDescription = description;
    state_.Location = location;
    state_.AdditionalData = std::move(data);
    prompter_.Beep();
    // The busy pointer of the failing procedure must not stay over the dialog.
    prompter_.ResetBusy();
    presenter_.ShowError(state_);
    state_.ErrLine = 0;
    if (afterShown_)
        afterShown_();
}

void ErrorTrap::Trap(int location, const std::exception& error, std::vector<ErrValue> data) {
    Trap(location, std::string(error.what()), std::move(data));
}

} // namespace cw
