#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// One diagnostic value handed to the error trap, kept as the text it is written as.
class ErrValue {
public:
    ErrValue(const std::string& text) : text_(text) {}
    ErrValue(const char* text) : text_(text) {}
    ErrValue(int value) : text_(std::to_string(value)) {}
    ErrValue(long value) : text_(std::to_string(value)) {}
    ErrValue(long long value) : text_(std::to_string(value)) {}
    ErrValue(double value);
    ErrValue(bool value) : text_(value ? "True" : "False") {}

    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// The latest error: description, failing line, location code and additional data.
struct ErrorState {
    int16_t ErrLine = 0;
    std::string ErrDescription;
    int Location = 0;
    std::vector<ErrValue> AdditionalData;
};

} // namespace cw
