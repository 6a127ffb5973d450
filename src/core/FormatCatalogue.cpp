#include "FormatCatalogue.h"

#include "BasicNumbers.h"
#include "FileOps.h"
#include "RuntimeError.h"

#include <utility>

namespace cw {

namespace {

struct CodeEntry {
    const char* code;
    int16_t FormatCodeSlots::*slot;
};

const CodeEntry kCodes[] = {
    {"ACBL", &FormatCodeSlots::FmtACBL},       {"ACBLFF", &FormatCodeSlots::FmtACBLFF},
    {"SAYC", &FormatCodeSlots::FmtSAYC},       {"IRELAND", &FormatCodeSlots::FmtIRELAND},
    {"IRELAN", &FormatCodeSlots::FmtIRELAND},  {"AUSTRIA", &FormatCodeSlots::FmtAUSTRIA},
    {"AUSTRI", &FormatCodeSlots::FmtAUSTRIA},  {"CANADA", &FormatCodeSlots::FmtCANADA},
    {"CANAD", &FormatCodeSlots::FmtCANADA},    {"NORWAY", &FormatCodeSlots::FmtNORWAY},
    {"NORWAA", &FormatCodeSlots::FmtNORWAY},   {"DENMARK1", &FormatCodeSlots::FmtDENMARK1},
    {"GERMAN1", &FormatCodeSlots::FmtGERMAN1}, {"SWEDEN", &FormatCodeSlots::FmtSWEDEN},
    {"AUSTR2", &FormatCodeSlots::FmtAUSTR2},   {"WBFB", &FormatCodeSlots::FmtWBFB},
    {"CARIB", &FormatCodeSlots::FmtCARIB},     {"GREEK", &FormatCodeSlots::FmtGREEK},
    {"CROAT", &FormatCodeSlots::FmtCROAT},     {"SCOTT", &FormatCodeSlots::FmtSCOTT},
    {"INDIAA", &FormatCodeSlots::FmtINDIAA},   {"ITALYA", &FormatCodeSlots::FmtITALYA},
    {"NZ", &FormatCodeSlots::FmtNZ},           {"WBFBELA", &FormatCodeSlots::FmtWBFBELA},
    {"ICELAND", &FormatCodeSlots::FmtICELAND}, {"DUTCHB", &FormatCodeSlots::FmtDUTCHB},
    {"RUSSIA", &FormatCodeSlots::FmtRUSSIA},   {"POLAND", &FormatCodeSlots::FmtPOLAND},
};

} // namespace

const std::vector<KnownFormatCode>& KnownFormatCodes() {
    static const std::vector<KnownFormatCode> known = {
        {"ACBL", "ACBL convention card (USA)"},
        {"ACBLFF", "ACBL convention card, fill-in form"},
        {"SAYC", "Standard American Yellow Card"},
        {"WBFB", "WBF convention card"},
        {"WBFBELA", "WBF card, Belarus"},
        {"AUSTRIA", "Austria: Konventionskarte (A5)"},
        {"AUSTR2", "Australia: ABF System Card"},
        {"CANADA", "Canada: CBF convention card"},
        {"CARIB", "Caribbean: CAC convention card"},
        {"CROAT", "Croatia"},
        {"DENMARK1", "Denmark: systemkort"},
        {"GERMAN1", "Germany: Konventionskarte (A5)"},
        {"GREEK", "Greece"},
        {"ICELAND", "Iceland"},
        {"INDIAA", "India"},
        {"IRELAND", "Ireland: CBAI system card"},
        {"ITALYA", "Italy"},
        {"DUTCHB", "Netherlands: systeemkaart"},
        {"NZ", "New Zealand: NZB System Card"},
        {"NORWAY", "Norway: systemkort (A5)"},
        {"POLAND", "Poland"},
        {"RUSSIA", "Russia"},
        {"SCOTT", "Scotland: SBU system card (A5)"},
        {"SWEDEN", "Sweden: deklarationskort (A5)"},
    };
    return known;
}

int16_t* FormatCodeSlots::Find(const std::string& upperCode) {
    for (const auto& entry : kCodes)
        if (upperCode == entry.code)
            return &(this->*entry.slot);
    return nullptr;
}

void FormatCodeSlots::Record(const std::string& code, int16_t slot) {
    if (int16_t* variable = Find(ToUpperAscii(code)))
        *variable = slot;
}

void FormatCatalogue::Clear() {
    for (auto& row : Formats)
        row.fill(std::string());
    FormatCount = 0;
    Codes = FormatCodeSlots{};
}

const std::string& FormatCatalogue::Column(int slot, int column) const {
    if (slot < 0 || slot >= Slots || column < 0 || column >= Columns)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange, "Subscript out of range");
    return Formats[size_t(slot)][size_t(column)];
}

double FormatCatalogue::Number(int slot, int column) const {
    return Val(Column(slot, column));
}

std::string FormatCatalogue::Code(int slot) const {
    const std::string& folder = Column(slot, ColFolder);
    return folder.empty() ? folder : folder.substr(1);
}

} // namespace cw
