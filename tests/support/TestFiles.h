#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace cw::test {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed again at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& Path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

// Lines joined with CR LF (each line ended).
std::string CrLf(const std::vector<std::string>& lines);
void WriteFile(const fs::path& path, const std::string& bytes);
void WriteLines(const fs::path& path, const std::vector<std::string>& lines);
std::string ReadFile(const fs::path& path);
std::vector<std::string> ReadLines(const fs::path& path);

// Gives the first text record of a card page file that holds a text, from text record skip on,
// the text to instead; returns that record's index among the text records and its old text.
std::pair<int, std::string> ChangeFilledText(const fs::path& page, int skip,
                                             const std::string& text);

// The 31 header lines of a layout or card file; values[k] goes to header line k + 1 (the
// layout's header value k), missing values are "0".
std::vector<std::string> HeaderBlock(const std::string& line0,
                                     const std::vector<std::string>& values);

// The lines of a card page of Ann & Bob (names, numbers, version 6.3.19) holding records.
std::vector<std::string> AnnAndBobCard(const std::vector<std::string>& records);

// A small data root: cwr.sys with the given format records and layout files for each of
// them. Each FormatSpec makes one w02..w98 record.
struct FormatSpec {
    std::string code = "TEST";
    std::string base = "test";
    std::string extension = "tst";
    std::string name = "Test Card";
    bool backPage = true;
    int namesMode = 0;
    bool writeLayouts = true;
    std::vector<std::string> extraLines; // more w-lines before w98
};

// Layout header values of a test template: check-box style 1, print size 7800 x 10080,
// font 9 pt "Arial", natural size 11520 x 15120.
std::vector<std::string> TestLayoutHeaderValues(int colour);

// A one-page format: code CLUB, layouts club1.dat and club2.dat, extension "clb".
FormatSpec OnePageFormat();

void MakeDataRoot(const fs::path& root, const std::vector<FormatSpec>& formats, int systemFlags = 0,
                  int defaultFormat = 0);

} // namespace cw::test
