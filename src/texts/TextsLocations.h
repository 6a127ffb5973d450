#pragma once

// Location codes of the reference texts window and the card conversion, for the error trap
// (the 8000s).
namespace cw::loc {

inline constexpr int ConvertWbfCards = 8000;
inline constexpr int ReferenceTextLoad = 8001;
inline constexpr int ReferenceTextDraw = 8002;
inline constexpr int ReferenceTextScroll = 8003;
inline constexpr int ReferenceTextPrint = 8004;
inline constexpr int ReferenceTextFind = 8005;

} // namespace cw::loc
