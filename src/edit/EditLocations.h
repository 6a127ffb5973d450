#pragma once

// Location codes of layout editing and of the card's undo history, for the error trap: the
// 2300s of the main window's group.
namespace cw::loc {

inline constexpr int EditingMenu = 2301;
inline constexpr int PerformEditAction = 2302;
inline constexpr int EditCommit = 2303;
inline constexpr int EditCancel = 2304;
inline constexpr int EditActionButton = 2305;
inline constexpr int EditMouse = 2306;
inline constexpr int PickField = 2307;
inline constexpr int ArrowStep = 2308;
inline constexpr int LineWidthPicker = 2309;
inline constexpr int AlignmentPicker = 2310;
inline constexpr int ColourPicker = 2311;
inline constexpr int FontButton = 2312;
inline constexpr int DropOnCard = 2313;
inline constexpr int MovePanel = 2314;
inline constexpr int UndoStep = 2320;
inline constexpr int RedoStep = 2321;
inline constexpr int RedrawAfterUndo = 2322;

} // namespace cw::loc
