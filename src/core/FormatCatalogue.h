#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cw {

// Slots recorded for the format codes the program knows; -1 while a code has not been read
// (so that no format is mistaken for one whose record is missing).
struct FormatCodeSlots {
    int16_t FmtACBL = -1, FmtACBLFF = -1, FmtSAYC = -1, FmtIRELAND = -1, FmtAUSTRIA = -1,
            FmtCANADA = -1, FmtNORWAY = -1, FmtDENMARK1 = -1, FmtGERMAN1 = -1, FmtSWEDEN = -1,
            FmtAUSTR2 = -1, FmtWBFB = -1, FmtCARIB = -1, FmtGREEK = -1, FmtCROAT = -1,
            FmtSCOTT = -1, FmtINDIAA = -1, FmtITALYA = -1, FmtNZ = -1, FmtWBFBELA = -1,
            FmtICELAND = -1, FmtDUTCHB = -1, FmtRUSSIA = -1, FmtPOLAND = -1;

    // Records slot for code (compared in upper case, alternative spellings accepted).
    // Unknown codes are ignored.
    void Record(const std::string& code, int16_t slot);
    // The variable of an upper-case code, or nullptr.
    int16_t* Find(const std::string& upperCode);
};

// A catalogue code the program gives rules of its own, with the card it stands for, so that
// a format made from a federation's blank card can take the code whose rules fit it.
struct KnownFormatCode {
    const char* code;
    const char* card;
};
// In the order players look for them: the ACBL's and the WBF's cards, then the countries.
const std::vector<KnownFormatCode>& KnownFormatCodes();

// Catalogue columns by meaning.
enum FormatColumn : int {
    ColFolder = 0,
    ColFrontTemplate = 1,
    ColFrontBase = 2,
    ColBackTemplate = 3,
    ColBackBase = 4,
    ColExtension = 5,
    ColDisplayName = 6,
    ColBackPage = 10,
    ColColourScheme = 11,
    ColNamesMode = 12,
    ColFrontMargin = 13,
    ColFieldTint = 14,
    ColBackMargin = 15,
    ColTabFlags = 16,
    ColOrientation = 17,
    ColPicture = 18,
    ColHorizontalOffset = 19,
    ColRightOffset = 20,
    ColPrintWidth = 21,
    ColPrintHeight = 22,
    ColViewScale = 24,
    ColTextAlign = 25,
};

// The installed card formats, built from the settings file: 37 slots of 37 text columns.
class FormatCatalogue {
public:
    static constexpr int Slots = 37;
    static constexpr int Columns = 37;

    std::array<std::array<std::string, Columns>, Slots> Formats;
    int16_t FormatCount = 0;
    FormatCodeSlots Codes;

    void Clear();

    const std::string& Column(int slot, int column) const;
    // Column read with the lenient numeric rule.
    double Number(int slot, int column) const;
    bool HasBackPage(int slot) const { return Number(slot, ColBackPage) != 0; }
    bool IsValidSlot(int slot) const { return slot >= 0 && slot < FormatCount; }
    // The code behind column 0's separator.
    std::string Code(int slot) const;
};

} // namespace cw
