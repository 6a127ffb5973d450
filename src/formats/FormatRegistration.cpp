#include "FormatRegistration.h"

#include "LineReader.h"

#include <algorithm>
#include <cctype>

namespace cw {

namespace {

const char* const kSettingsFile = "cwr.sys";

std::string Key(const std::string& line) {
    return line.size() >= 5 ? line.substr(0, 3) : "";
}

bool Contains(const std::vector<std::string>& list, const std::string& value) {
    const std::string upper = ToUpperAscii(value);
    return std::find(list.begin(), list.end(), upper) != list.end();
}

} // namespace

std::vector<std::string> FormatRecordLines::Lines() const {
    if (!kept.empty())
        return kept;
    std::vector<std::string> lines{"w02 " + code,
                                   "w03 " + base,
                                   "w04 " + extension,
                                   "w05 " + name,
                                   "w09 " + std::string(backPage ? "1" : "0"),
                                   "w11 0",
                                   "w20 1"};
    if (!picture.empty())
        lines.push_back("w17 " + picture);
    if (printWidth > 0 && printHeight > 0) {
        // The paper is turned the card's way: 2 upright, 1 sideways.
        lines.push_back(std::string("w16 ") + (printHeight >= printWidth ? "2" : "1"));
        lines.push_back("w18 " + std::to_string(printWidth));
        lines.push_back("w19 " + std::to_string(printHeight));
    }
    lines.push_back("w98 end");
    return lines;
}

std::optional<FormatRecordLines> FormatRecordLines::Parse(const std::vector<std::string>& lines) {
    if (lines.size() < 2 || Key(lines.front()) != "w02" || Key(lines.back()) != "w98")
        return std::nullopt;
    FormatRecordLines record;
    for (size_t index = 0; index < lines.size(); ++index) {
        const std::string& line = lines[index];
        const std::string key = Key(line);
        // Keys are w and two digits; a second w02 or a w98 inside would split the record.
        if (key.empty() || key[0] != 'w' || !std::isdigit(static_cast<unsigned char>(key[1])) ||
            !std::isdigit(static_cast<unsigned char>(key[2])) || line[3] != ' ' ||
            line.find_first_of("\r\n") != std::string::npos ||
            ((key == "w02" || key == "w01" || key == "w99") && index != 0) ||
            (key == "w98" && index != lines.size() - 1))
            return std::nullopt;
        const std::string value = line.substr(4);
        if (key == "w02")
            record.code = value;
        else if (key == "w03")
            record.base = value;
        else if (key == "w04")
            record.extension = value;
        else if (key == "w05")
            record.name = value;
        else if (key == "w09")
            record.backPage = value != "0";
        else if (key == "w17")
            record.picture = value;
    }
    if (record.code.empty() || record.base.empty() || record.extension.empty() ||
        record.name.empty())
        return std::nullopt;
    record.kept = lines;
    return record;
}

std::vector<std::string> RecordOfFormat(const fs::path& root, const std::string& code) {
    std::vector<std::string> record;
    for (const std::string& line : SplitLines(ReadExistingFile(root / kSettingsFile))) {
        const std::string key = Key(line);
        if (key == "w99")
            break;
        if (key == "w02") {
            if (!record.empty())
                record.clear(); // a record without its end line
            if (ToUpperAscii(line.substr(4)) == ToUpperAscii(code))
                record.push_back(line);
        } else if (!record.empty()) {
            record.push_back(line);
            if (key == "w98")
                return record;
        }
    }
    return {};
}

InstalledFormats InstalledFormats::Read(const fs::path& settingsFile) {
    InstalledFormats installed;
    for (const std::string& line : SplitLines(ReadExistingFile(settingsFile))) {
        const std::string key = Key(line);
        if (key == "w99")
            break;
        if (key == "w02")
            installed.codes.push_back(ToUpperAscii(line.substr(4)));
        else if (key == "w04")
            installed.extensions.push_back(ToUpperAscii(line.substr(4)));
    }
    return installed;
}

bool InstalledFormats::HasCode(const std::string& code) const {
    return Contains(codes, code);
}

bool InstalledFormats::HasExtension(const std::string& extension) const {
    return Contains(extensions, extension);
}

void RegisterFormat(const fs::path& root, const FormatRecordLines& record, FileSystem& fileSystem) {
    const fs::path settings = ResolveExisting(root / kSettingsFile).value_or(root / kSettingsFile);
    std::vector<std::string> lines = SplitLines(ReadFileBytes(settings));
    auto end = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return Key(line) == "w99"; });
    const std::vector<std::string> added = record.Lines();
    lines.insert(end, added.begin(), added.end());
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    AtomicReplace(fileSystem, settings, bytes, settings.parent_path() / "temp");
}

} // namespace cw
