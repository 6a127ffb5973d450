#pragma once

#include <QString>
#include <string>

namespace cw {

// The font a format's name is drawn with, by the first six letters of its display name:
// national formats whose names are written in their own script get a font for it.
std::string RowFontName(const std::string& displayName);
// A display name decoded for the screen, in the code page of its row font.
QString DecodeDisplayName(const std::string& displayName);

} // namespace cw
