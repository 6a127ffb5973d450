#include "FormatTraits.h"

#include "FormatCatalogue.h"

#include <initializer_list>

namespace cw {

namespace {

bool IsOneOf(int16_t slot, std::initializer_list<int16_t> slots) {
    if (slot < 0)
        return false;
    for (int16_t s : slots)
        if (s == slot)
            return true;
    return false;
}

} // namespace

FormatTraits FormatTraits::Of(const FormatCodeSlots& c, int16_t slot) {
    FormatTraits t;
    const bool acbl = IsOneOf(slot, {c.FmtACBL, c.FmtACBLFF});
    t.cyrillicText = IsOneOf(slot, {c.FmtRUSSIA});
    t.backPageFromTemplate = acbl;
    t.backPageFirstTextField = acbl ? 31 : 0;
    t.redFieldsStayRed = IsOneOf(slot, {c.FmtACBL, c.FmtACBLFF, c.FmtSAYC, c.FmtCANADA});

    t.circlesNudged = IsOneOf(slot, {c.FmtCANADA, c.FmtDENMARK1});
    t.printDateFooter = acbl;
    t.circleLabelsInArial = acbl;
    if (acbl) {
        t.ring = {15, 0, -15, 0};
    } else if (IsOneOf(slot, {c.FmtINDIAA})) {
        t.ring = {-15, -15, -30, -15};
    } else if (IsOneOf(slot, {c.FmtITALYA, c.FmtCANADA, c.FmtNZ, c.FmtGERMAN1, c.FmtWBFBELA,
                              c.FmtICELAND})) {
        t.ring = {0, 0, -15, 0};
    }
    t.checkBoxesRaisedOnPaper = IsOneOf(slot, {c.FmtAUSTR2});
    if (IsOneOf(slot, {c.FmtIRELAND}))
        t.checkBoxShade = CheckBoxShade::StepsBelow;
    else if (IsOneOf(slot, {c.FmtGERMAN1}))
        t.checkBoxShade = CheckBoxShade::StepsAbove;
    t.colourBarsBehindText = IsOneOf(slot, {c.FmtAUSTR2});

    if (IsOneOf(slot, {c.FmtACBL, c.FmtACBLFF, c.FmtCANADA}))
        t.paperTurn = PaperTurn::Chosen;
    else if (IsOneOf(slot, {c.FmtAUSTRIA, c.FmtNORWAY, c.FmtSWEDEN}))
        t.paperTurn = PaperTurn::SidewaysOnA5;
    else if (IsOneOf(slot, {c.FmtSCOTT, c.FmtGERMAN1}))
        t.paperTurn = PaperTurn::UprightOnA5;
    t.marginsOnA5 = IsOneOf(slot, {c.FmtGERMAN1}) ? 16 : 0;
    t.backPageLeftOnOneSheet = IsOneOf(slot, {c.FmtACBL, c.FmtACBLFF, c.FmtSAYC, c.FmtCANADA});
    return t;
}

} // namespace cw
