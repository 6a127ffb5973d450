#pragma once

// Location codes handed to the error trap, one per procedure, grouped by window in
// thousands: 1000s shared procedures and start-up, 2000s the main window, 3000s options,
// 5000s the format chooser, 6000s printing, 7000s notes, 8000s reference texts.
namespace cw::loc {

inline constexpr int ReadSystemSettings = 1001;
inline constexpr int SaveSystemSettings = 1002;
inline constexpr int SetupCardFormat = 1003;
inline constexpr int LoadFormatDefaults = 1004;
inline constexpr int SaveFormatDefaults = 1005;
inline constexpr int LoadCard = 1006;
inline constexpr int SaveCard = 1007;
inline constexpr int Main = 1008;
inline constexpr int PatchDefaultFormat = 1009;
inline constexpr int SpecialNotice = 1010;
inline constexpr int GetProgramText = 1011;
inline constexpr int CheckErrorLog = 1019;
inline constexpr int CreateErrorLog = 1025;

} // namespace cw::loc
