#include "BaseLayerFile.h"

#include "HeaderLines.h"
#include "LineReader.h"
#include "RecordItems.h"
#include "RuntimeError.h"

namespace cw {

namespace {

constexpr int kHeaderLines = 31;
constexpr size_t kItems = 8;

std::optional<BaseRecord> ParseRecord(const std::string& line) {
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
    while (!reader.AtEnd()) {
        std::string line = reader.ReadLine();
        ++number;
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        auto record = ParseRecord(line);
        if (!record) {
            file.problem = "Malformed base-layer record " + std::to_string(number) + ": " + line;
            break;
        }
        file.records.push_back(std::move(*record));
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
