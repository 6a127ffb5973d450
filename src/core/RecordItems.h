#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// One comma-separated item of a record line: a string in double quotes or a bare value.
struct RecordItem {
    std::string text;
    bool quoted = false;

    bool IsEmpty() const { return text.empty(); }
};

// Splits a record line into items. Strings run from a double quote to the next one and cannot
// hold a double quote; bare items are trimmed of blanks. nullopt when the line is malformed (a
// missing closing quote, or anything but blanks between a closing quote and the next comma).
std::optional<std::vector<RecordItem>> SplitRecord(std::string_view line);

// An item read into a whole-number variable; nullopt when it is not a number or out of range.
// An empty bare item reads as 0.
std::optional<int32_t> ItemToInt32(const RecordItem& item);

// Writes items of a record line: strings in double quotes, numbers in plain decimal.
std::string QuoteItem(const std::string& text);

} // namespace cw
