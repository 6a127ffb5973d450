#include "BaseLayerFile.h"

#include "HeaderLines.h"
#include "LineReader.h"
#include "RecordItems.h"
#include "RuntimeError.h"

#include <climits>
#include <string_view>

namespace cw {

namespace {

constexpr int kHeaderLines = 31;
constexpr size_t kItems = 8;

// A plain decimal number with blanks around it, as layout files write them.
bool PlainNumber(std::string_view text, int32_t& value) {
    size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    text = text.substr(first, last - first + 1);
    bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.size() > 10)
        return false;
    int64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
    }
    number = negative ? -number : number;
    if (number < INT32_MIN || number > INT32_MAX)
        return false;
    value = int32_t(number);
    return true;
}

// The common form of a record: six plain numbers, a quoted text and a plain number. A
// base layer has thousands of them; anything else goes the general way.
std::optional<BaseRecord> ParsePlainRecord(std::string_view line) {
    BaseRecord record;
    int32_t numbers[6];
    size_t pos = 0;
    for (int32_t& number : numbers) {
        size_t comma = line.find(',', pos);
        if (comma == std::string_view::npos || !PlainNumber(line.substr(pos, comma - pos), number))
            return std::nullopt;
        pos = comma + 1;
    }
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    size_t close = line.find('"', pos + 1);
    if (close == std::string_view::npos || close + 1 >= line.size() || line[close + 1] != ',')
        return std::nullopt;
    if (!PlainNumber(line.substr(close + 2), record.a[5]))
        return std::nullopt;
    if (numbers[0] < -32768 || numbers[0] > 32767)
        return std::nullopt;
    record.kind = numbers[0];
    for (size_t i = 0; i < 5; ++i)
        record.a[i] = numbers[i + 1];
    record.text.assign(line.substr(pos + 1, close - pos - 1));
    return record;
}

std::optional<BaseRecord> ParseRecord(const std::string& line) {
    if (auto plain = ParsePlainRecord(line))
        return plain;
    auto items = SplitRecord(line);
    if (!items || items->size() != kItems)
        return std::nullopt;
    BaseRecord record;
    auto kind = ItemToInt32((*items)[0]);
    if (!kind || *kind < -32768 || *kind > 32767)
        return std::nullopt;
    record.kind = *kind;
    for (size_t i = 0; i < 5; ++i) {
        auto value = ItemToInt32((*items)[i + 1]);
        if (!value)
            return std::nullopt;
        record.a[i] = *value;
    }
    auto last = ItemToInt32((*items)[7]);
    if (!last)
        return std::nullopt;
    record.a[5] = *last;
    record.text = (*items)[6].text;
    return record;
}

} // namespace

BaseLayerFile BaseLayerFile::Parse(std::string bytes) {
    BaseLayerFile file;
    LineReader reader(std::move(bytes));
    HeaderLines comments;
    comments.Read(reader); // header line 0
    for (int i = 1; i < kHeaderLines; ++i)
        reader.ReadLine();
    int number = 0;
    int malformed = 0;
    std::string first;
    while (!reader.AtEnd()) {
        std::string line = reader.ReadLine();
        ++number;
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        auto record = ParseRecord(line);
        if (!record) {
            // One bad line must not take the rest of the printed form with it.
            if (malformed++ == 0)
                first = "record " + std::to_string(number) + ": " + line.substr(0, 80);
            continue;
        }
        file.records.push_back(std::move(*record));
    }
    if (malformed > 0) {
        file.problem = "Malformed base-layer " + first;
        if (malformed > 1)
            *file.problem += " (and " + std::to_string(malformed - 1) + " more lines)";
    }
    return file;
}

BaseLayerFile BaseLayerFile::Read(const fs::path& path) {
    return Parse(ReadExistingFile(path));
}

fs::path BaseLayerFile::Choose(const fs::path& baseFile, bool useAlternative) {
    if (!useAlternative)
        return baseFile;
    std::string name = baseFile.filename().string();
    if (name.size() < 5)
        return baseFile;
    name[name.size() - 5] = '9';
    fs::path alternative = baseFile.parent_path() / name;
    if (auto found = ResolveExisting(alternative))
        return *found;
    return baseFile;
}

} // namespace cw
