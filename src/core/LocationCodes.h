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

// The main window.
inline constexpr int MainWindowLoad = 2001;
inline constexpr int MainWindowUnload = 2002;
inline constexpr int FillCardList = 2003;
inline constexpr int OpenCard = 2004;
inline constexpr int CreateCard = 2005;
inline constexpr int EditNames = 2006;
inline constexpr int CopyCard = 2007;
inline constexpr int DeleteCard = 2008;
inline constexpr int CopyToDiskette = 2009;
inline constexpr int CopyCardsFromDiskette = 2010;
inline constexpr int SwitchSide = 2011;
inline constexpr int CommandButton = 2012;
inline constexpr int SaveChanges = 2013;
inline constexpr int ShowCardFace = 2014;
inline constexpr int DrawCardPicture = 2015;
inline constexpr int ZoomButtons = 2016;
inline constexpr int SaveZoomFactor = 2017;
inline constexpr int ScrollCard = 2018;
inline constexpr int MainWindowResize = 2019;
inline constexpr int MainWindowActivate = 2020;
inline constexpr int SpecialNoticeLabel = 2021;
inline constexpr int NewCardCommand = 2022;
inline constexpr int FillInClick = 2023;
inline constexpr int FillInKey = 2024;
inline constexpr int FillInCommit = 2025;
inline constexpr int RefreshScreen = 2026;
inline constexpr int SuitKey = 2027;
// The printed base layer of a page, read for the card renderer.
inline constexpr int DrawBaseLayer = 2102;

// The card-format chooser.
inline constexpr int CardsListLoad = 5001;
inline constexpr int CardsListDraw = 5002;
inline constexpr int CardsListClick = 5003;
inline constexpr int CardsListDone = 5004;

} // namespace cw::loc
