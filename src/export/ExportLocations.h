#pragma once

// Location codes of image export for the error trap (the main window's group).
namespace cw::loc {

inline constexpr int SaveCardAs = 2070;
inline constexpr int ExportCardImage = 2071;
inline constexpr int ConvertPicture = 2072;

} // namespace cw::loc
