#include "FormatRegistration.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace cw {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

bool LettersAndDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return c < 128 && std::isalnum(c); });
}

void Check(const NewFormatRecord& f) {
    if (!LettersAndDigits(f.code))
        throw FormatRegistrationError("The format code \"" + f.code +
                                      "\" may hold only letters and digits.");
    if (!LettersAndDigits(f.layoutBase) || f.layoutBase.size() > 7)
        throw FormatRegistrationError("The layout name \"" + f.layoutBase +
                                      "\" must be 1 to 7 letters and digits.");
    if (!LettersAndDigits(f.extension))
        throw FormatRegistrationError("The file extension \"" + f.extension +
                                      "\" may hold only letters and digits.");
    if (f.displayName.find_first_not_of(' ') == std::string::npos ||
        f.displayName.find_first_of("\r\n") != std::string::npos)
        throw FormatRegistrationError("The format needs a name of one line.");
    if (f.picture.find_first_of("\r\n/\\") != std::string::npos)
        throw FormatRegistrationError("The picture \"" + f.picture + "\" is no plain file name.");
}

struct Line {
    std::string key, value;
    size_t begin = 0; // offset of the line in the text
};

std::vector<Line> Lines(const std::string& text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Line l;
        l.begin = pos;
        // The reader skips lines shorter than five characters and takes the value from the
        // fifth on.
        if (line.size() >= 5) {
            l.key = line.substr(0, 3);
            l.value = line.substr(4);
        }
        lines.push_back(std::move(l));
        pos = next;
    }
    return lines;
}

} // namespace

std::string WithFormatAdded(const std::string& settingsText, const NewFormatRecord& format) {
    Check(format);
    const std::string eol = settingsText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const std::string code = Upper(format.code), extension = Upper(format.extension);
    size_t insertAt = std::string::npos;
    for (const Line& line : Lines(settingsText)) {
        if (line.key == "w99") {
            insertAt = line.begin;
            break;
        }
        if (line.key == "w02" && Upper(line.value) == code)
            throw FormatRegistrationError("The format code " + code + " is already in use.");
        if (line.key == "w04" && Upper(line.value) == extension)
            throw FormatRegistrationError("The file extension ." + format.extension +
                                          " is already used by another format.");
    }
    std::string record;
    auto add = [&](const char* key, const std::string& value) {
        record += std::string(key) + ' ' + value + eol;
    };
    add("w02", format.code);
    add("w03", format.layoutBase);
    add("w04", format.extension);
    add("w05", format.displayName);
    add("w09", format.backPage ? "1" : "0");
    if (!format.picture.empty())
        add("w17", format.picture);
    if (format.printWidth > 0 && format.printHeight > 0) {
        add("w18", std::to_string(format.printWidth));
        add("w19", std::to_string(format.printHeight));
    }
    add("w98", "-");
    if (insertAt != std::string::npos)
        return settingsText.substr(0, insertAt) + record + settingsText.substr(insertAt);
    std::string text = settingsText;
    if (!text.empty() && text.back() != '\n')
        text += eol;
    return text + record + "w99 -" + eol;
}

} // namespace cw
