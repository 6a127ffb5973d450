#pragma once

#include <filesystem>
#include <string>

namespace cw::test {

namespace fs = std::filesystem;

// Looks at a PDF as a reader would, through poppler's command-line tools (pdfinfo,
// pdftotext, pdftoppm).

// The number of pages; 0 when the file is not a readable PDF.
int PdfPageCount(const fs::path& pdf);

// The text of one page (pages count from 1).
std::string PdfPageText(const fs::path& pdf, int page);

// The text of one page that lies within the area of width x height points whose top left
// corner is x, y points from the page's.
std::string PdfTextIn(const fs::path& pdf, int page, int x, int y, int width, int height);

// One page as a PNG picture at dpi, written into folder; the picture's path, or an empty
// path when it could not be made.
fs::path PdfPagePicture(const fs::path& pdf, int page, int dpi, const fs::path& folder);

// The size of a page in points ("612 x 792"), as pdfinfo gives it.
std::string PdfPageSize(const fs::path& pdf, int page);

} // namespace cw::test
