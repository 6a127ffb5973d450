#pragma once

// Location codes of the supplemental notes window, for the error trap (the 7000s).
namespace cw::loc {

inline constexpr int NotesWindowLoad = 7001;
inline constexpr int ChooseNotesFile = 7002;
inline constexpr int ScrollNotes = 7003;
inline constexpr int CreateNotesFile = 7004;
inline constexpr int EditNotes = 7005;
inline constexpr int InsertNotesSymbol = 7006;
inline constexpr int SaveNotesEdit = 7007;
inline constexpr int GoToNote = 7008;
inline constexpr int PrintNotes = 7009;
inline constexpr int NotesDone = 7010;
inline constexpr int AssociateNotes = 7011;

} // namespace cw::loc
