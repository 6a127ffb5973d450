#pragma once

// Location codes of printing for the error trap (the 6000s).
namespace cw::loc {

inline constexpr int PrintCard = 6000;
inline constexpr int SavePrintSettings = 6001;
inline constexpr int PrintOptions = 6002;
inline constexpr int PrintPage = 6003;
inline constexpr int ChoosePrinter = 6004;

} // namespace cw::loc
