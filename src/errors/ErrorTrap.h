#pragma once

#include "ErrorState.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace cw {

class Prompter;

// Shows the error dialog for the error in state and waits until it is closed with "OK".
// The dialog writes the error record to the log as part of its opening. "End This Session"
// ends the program and does not return.
class ErrorPresenter {
public:
    virtual ~ErrorPresenter() = default;
    virtual void ShowError(const ErrorState& state) = 0;
};

// The one place every procedure hands its run-time errors to. A procedure runs its body
// inside Guard: an exception thrown inside is caught at the procedure's boundary, trapped with
// the procedure's location code and diagnostic values, and the procedure returns as if it had
// finished. No exception ever escapes into the event loop.
class ErrorTrap {
public:
    ErrorTrap(Prompter& prompter, ErrorPresenter& presenter);

    // Called after the dialog has shown an error, so that the view falls back to its default
    // zoom.
    void SetAfterErrorShown(std::function<void()> callback) { afterShown_ = std::move(callback); }

    void Trap(int location, const std::string& description, std::vector<ErrValue> data = {},
              int line = 0);
    void Trap(int location, const std::exception& error, std::vector<ErrValue> data = {});

    // Runs body; on an exception traps it with location and the values data() returns at
    // that moment. Returns true when body finished without an error.
    template <class Body>
    bool Guard(int location, Body&& body, const std::function<std::vector<ErrValue>()>& data = {}) {
        try {
            body();
            return true;
        } catch (const std::exception& error) {
            Trap(location, error, data ? data() : std::vector<ErrValue>{});
        } catch (...) {
            Trap(location, std::string("Unknown error"), data ? data() : std::vector<ErrValue>{});
        }
        return false;
    }

    const ErrorState& State() const { return state_; }
    int TrapCount() const { return trapCount_; }

private:
    Prompter& prompter_;
    ErrorPresenter& presenter_;
    std::function<void()> afterShown_;
    ErrorState state_;
    int trapCount_ = 0;
};

} // namespace cw
