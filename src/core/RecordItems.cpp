#include "RecordItems.h"

#include "BasicNumbers.h"
#include "RuntimeError.h"

namespace cw {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::vector<RecordItem>> SplitRecord(std::string_view line) {
    std::vector<RecordItem> items;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        RecordItem item;
        if (i < line.size() && line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            item.text = std::string(line.substr(i + 1, close - i - 1));
            item.quoted = true;
            i = close + 1;
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            if (i < line.size() && line[i] != ',')
                return std::nullopt;
        } else {
            size_t comma = line.find(',', i);
            size_t end = comma == std::string_view::npos ? line.size() : comma;
            item.text = std::string(Trim(line.substr(i, end - i)));
            i = end;
        }
        items.push_back(std::move(item));
        if (i >= line.size())
            return items;
        ++i; // past the comma
    }
}

std::optional<int32_t> ItemToInt32(const RecordItem& item) {
    if (item.IsEmpty())
        return item.quoted ? std::nullopt : std::optional<int32_t>(0);
    if (!IsWholeNumber(item.text))
        return std::nullopt;
    try {
        return ToInt32(Val(item.text));
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

std::string QuoteItem(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace cw
