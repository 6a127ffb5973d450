#include "TestFiles.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace cw::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ =
        fs::temp_directory_path() / ("cwtest-" + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter++) + "-" + std::to_string(random()));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string CrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void WriteLines(const fs::path& path, const std::vector<std::string>& lines) {
    WriteFile(path, CrLf(lines));
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::string text = ReadFile(path), line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::pair<int, std::string> ChangeFilledText(const fs::path& page, int skip,
                                             const std::string& text) {
    std::string bytes = ReadFile(page);
    int index = 0;
    for (size_t line = 0; line < bytes.size(); line = bytes.find('\n', line) + 1) {
        if (bytes.compare(line, 2, "2,") == 0) {
            size_t open = bytes.find('"', line);
            size_t close = bytes.find('"', open + 1);
            if (index >= skip && close > open + 1) {
                std::string old = bytes.substr(open + 1, close - open - 1);
                bytes.replace(open + 1, close - open - 1, text);
                WriteFile(page, bytes);
                return {index, old};
            }
            ++index;
        }
        if (bytes.find('\n', line) == std::string::npos)
            break;
    }
    return {-1, {}};
}

std::vector<std::string> AnnAndBobCard(const std::vector<std::string>& records) {
    std::vector<std::string> lines =
        HeaderBlock("Ann & Bob", {"123", "", "Bob & Ann", "456", "0", "0", "0", "0", "0", "0", "0",
                                  "0", "0", "0", "6.3.19"});
    lines.insert(lines.end(), records.begin(), records.end());
    return lines;
}

std::vector<std::string> HeaderBlock(const std::string& line0,
                                     const std::vector<std::string>& values) {
    std::vector<std::string> lines{line0};
    for (size_t k = 0; k < 30; ++k)
        lines.push_back(k < values.size() ? values[k] : "0");
    return lines;
}

std::vector<std::string> TestLayoutHeaderValues(int colour) {
    std::vector<std::string> values(30, "0");
    values[1] = std::to_string(colour); // line 2: colour code
    values[4] = "1";                    // line 5: check-box style
    values[5] = "7800";                 // line 6: print width
    values[6] = "10080";                // line 7: print height
    values[7] = "9";                    // line 8: font size
    values[8] = "\"Arial\"";            // line 9: font name
    values[9] = "0";                    // line 10: bold
    values[10] = "0";                   // line 11: italic
    values[11] = "3";                   // line 12: print flags
    values[12] = "200";                 // line 13: back margin
    values[13] = "11520";               // line 14: natural width
    values[14] = "15120";               // line 15: natural height
    values[16] = "300";                 // line 17: front margin
    values[17] = "0";                   // line 18: saved zoom
    values[18] = "40";                  // line 19: Y text alignment
    return values;
}

FormatSpec OnePageFormat() {
    FormatSpec spec;
    spec.code = "CLUB";
    spec.base = "club";
    spec.extension = "clb";
    spec.name = "Club Card";
    spec.backPage = false;
    return spec;
}

void MakeDataRoot(const fs::path& root, const std::vector<FormatSpec>& formats, int systemFlags,
                  int defaultFormat) {
    std::vector<std::string> sys{"| Cardwright settings",
                                 "| test data root",
                                 "free line",
                                 "s01 " + std::to_string(systemFlags),
                                 "s02 " + std::to_string(defaultFormat),
                                 "s03 0",
                                 "w01 formats"};
    for (const auto& format : formats) {
        sys.push_back("w02 " + format.code);
        sys.push_back("w03 " + format.base);
        sys.push_back("w04 " + format.extension);
        sys.push_back("w05 " + format.name);
        sys.push_back("w09 " + std::string(format.backPage ? "1" : "0"));
        sys.push_back("w11 " + std::to_string(format.namesMode));
        sys.push_back("w20 1");
        for (const auto& line : format.extraLines)
            sys.push_back(line);
        sys.push_back("w98 end");
        if (format.writeLayouts) {
            int pages = format.backPage ? 4 : 2;
            for (int page = 1; page <= pages; ++page) {
                auto lines =
                    HeaderBlock("layout " + format.code, TestLayoutHeaderValues(page % 2 ? 1 : 5));
                lines.insert(lines.begin(), "| layout file " + std::to_string(page));
                if (page % 2 == 1)
                    lines.push_back("2,100,100,2000,240,1,\"\",9");
                WriteLines(root / "data" / (format.base + std::to_string(page) + ".dat"), lines);
            }
        }
        fs::create_directories(root / format.code);
    }
    sys.push_back("w99 end");
    WriteLines(root / "cwr.sys", sys);
    fs::create_directories(root / "datasys");
}

} // namespace cw::test
