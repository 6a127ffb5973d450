#pragma once

// Location codes for the error trap of checking a card for cut-off text, comparing it with a
// partner's card and its history: 2900s, with the main window they belong to.
namespace cw::loc {

inline constexpr int RestoreDeletedCard = 2901;
inline constexpr int CheckCard = 2902;
inline constexpr int ShowCardMarks = 2903;
inline constexpr int CompareWithCard = 2904;
inline constexpr int TakePartnersValue = 2905;
inline constexpr int ShowDifference = 2906;
inline constexpr int CardHistoryList = 2907;
inline constexpr int RestoreVersion = 2908;
inline constexpr int OpenCheckedField = 2909;

} // namespace cw::loc
