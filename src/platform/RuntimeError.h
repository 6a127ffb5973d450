#pragma once

#include <stdexcept>
#include <string>

namespace cw {

// A run-time error raised inside a procedure and carried to that procedure's error trap.
// The numbers are the classic run-time error numbers, so that log records read as they
// always have.
class RuntimeError : public std::runtime_error {
public:
    enum Number : int {
        InvalidCall = 5,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        FileNotFound = 53,
        InputPastEnd = 62,
        DiskFull = 61,
        PathFileAccess = 75,
        PathNotFound = 76,
    };

    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int ErrorNumber() const { return number_; }

    static RuntimeError FileNotFoundError(const std::string& path) {
        return {FileNotFound, "File not found: " + path};
    }

private:
    int number_;
};

} // namespace cw
