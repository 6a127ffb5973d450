#include "PdfPages.h"

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>

namespace cw::test {

namespace {

std::string Quoted(const fs::path& path) {
    std::string text = "'";
    for (char c : path.string()) {
        if (c == '\'')
            text += "'\\''";
        else
            text += c;
    }
    return text + "'";
}

// The standard output of a shell command.
std::string Output(const std::string& command) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>/dev/null").c_str(), "r"),
                                               pclose);
    if (!pipe)
        return text;
    std::array<char, 4096> buffer;
    size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        text.append(buffer.data(), read);
    return text;
}

std::string InfoValue(const std::string& info, const std::string& key) {
    std::istringstream lines(info);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(key, 0) == 0) {
            std::string value = line.substr(key.size());
            value.erase(0, value.find_first_not_of(' '));
            return value;
        }
    return {};
}

} // namespace

int PdfPageCount(const fs::path& pdf) {
    std::string pages = InfoValue(Output("pdfinfo " + Quoted(pdf)), "Pages:");
    return pages.empty() ? 0 : std::stoi(pages);
}

std::string PdfPageText(const fs::path& pdf, int page) {
    std::string p = std::to_string(page);
    return Output("pdftotext -f " + p + " -l " + p + " " + Quoted(pdf) + " -");
}

std::string PdfTextIn(const fs::path& pdf, int page, int x, int y, int width, int height) {
    std::string p = std::to_string(page);
    // At 72 dpi a pixel of the crop box is a point.
    return Output("pdftotext -r 72 -x " + std::to_string(x) + " -y " + std::to_string(y) + " -W " +
                  std::to_string(width) + " -H " + std::to_string(height) + " -f " + p + " -l " +
                  p + " " + Quoted(pdf) + " -");
}

fs::path PdfPagePicture(const fs::path& pdf, int page, int dpi, const fs::path& folder) {
    std::string p = std::to_string(page);
    fs::path prefix = folder / (pdf.stem().string() + "-page" + p);
    std::string command = "pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + p +
                          " -l " + p + " " + Quoted(pdf) + " " + Quoted(prefix);
    if (std::system((command + " 2>/dev/null").c_str()) != 0)
        return {};
    fs::path picture = prefix.string() + ".png";
    return fs::exists(picture) ? picture : fs::path();
}

std::string PdfPageSize(const fs::path& pdf, int page) {
    std::string p = std::to_string(page);
    std::string size = InfoValue(Output("pdfinfo -f " + p + " -l " + p + " " + Quoted(pdf)),
                                 "Page    " + p + " size:");
    return size.substr(0, size.find(" pts"));
}

} // namespace cw::test
