#pragma once

namespace cw {

// The base-layer kind that draws a page of a federation's blank card (a PDF page or a
// picture in the data folder) under the fields: x, y, width, height in twips, the PDF's page
// counted from 0, and 0; the text names the file. No card or printed-base kind uses the
// number, so readers that do not know it pass it by.
inline constexpr int BlankPageKind = 30;

} // namespace cw
