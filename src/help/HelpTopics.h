#pragma once

#include <string>
#include <vector>

namespace cw {

// Topic numbers the program asks help for: none (the index), the card face and its editing
// menus (1020), the card options window (1030) and the supplemental notes (1040).
inline constexpr int HelpIndex = 0;
inline constexpr int HelpCardFace = 1020;
inline constexpr int HelpCardOptions = 1030;
inline constexpr int HelpSupplementalNotes = 1040;
// Topics of the windows the original had no help for.
inline constexpr int HelpCardList = 1010;
inline constexpr int HelpPrinting = 1050;
inline constexpr int HelpReferenceTexts = 1060;
inline constexpr int HelpTroubleshooting = 1070;

// The page that answers a topic; the index for 0 and for numbers it does not know.
std::string HelpPageForTopic(int topic);

// Every help page in the order of the contents list, the index first.
const std::vector<std::string>& HelpPages();

// Where the pages are: built into the program, so that help is there whatever the data
// root holds.
inline constexpr const char* HelpPagesFolder = ":/help";

} // namespace cw
