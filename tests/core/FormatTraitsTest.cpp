#include "FormatTraits.h"

#include "FormatCatalogue.h"

#include <gtest/gtest.h>

using namespace cw;

namespace {

// Slots given to the codes in the order listed, as the settings file would.
FormatCodeSlots SlotsOf(const std::vector<std::string>& codes) {
    FormatCodeSlots slots;
    for (size_t i = 0; i < codes.size(); ++i)
        slots.Record(codes[i], int16_t(i));
    return slots;
}

} // namespace

TEST(FormatTraitsTest, EachFormatGetsItsOwnWaysAndAnyOtherTheCommonOnes) {
    const FormatCodeSlots c = SlotsOf({"ACBL", "SAYC", "CANADA", "IRELAND", "GERMAN1", "INDIAA",
                                       "AUSTR2", "RUSSIA", "SCOTT", "NORWAY", "WBFB"});
    const FormatTraits acbl = FormatTraits::Of(c, c.FmtACBL);
    EXPECT_TRUE(acbl.backPageFromTemplate && acbl.printDateFooter && acbl.circleLabelsInArial);
    EXPECT_EQ(acbl.backPageFirstTextField, 31);
    EXPECT_EQ(acbl.paperTurn, PaperTurn::Chosen);
    EXPECT_TRUE(acbl.backPageLeftOnOneSheet && acbl.redFieldsStayRed);
    EXPECT_EQ(acbl.ring.radius, 15);

    const FormatTraits sayc = FormatTraits::Of(c, c.FmtSAYC);
    EXPECT_TRUE(sayc.backPageLeftOnOneSheet && sayc.redFieldsStayRed);
    EXPECT_FALSE(sayc.backPageFromTemplate || sayc.printDateFooter);
    EXPECT_EQ(sayc.paperTurn, PaperTurn::ByCatalogue);

    EXPECT_TRUE(FormatTraits::Of(c, c.FmtCANADA).circlesNudged);
    EXPECT_EQ(FormatTraits::Of(c, c.FmtIRELAND).checkBoxShade, CheckBoxShade::StepsBelow);
    const FormatTraits german = FormatTraits::Of(c, c.FmtGERMAN1);
    EXPECT_EQ(german.checkBoxShade, CheckBoxShade::StepsAbove);
    EXPECT_EQ(german.paperTurn, PaperTurn::UprightOnA5);
    EXPECT_EQ(german.marginsOnA5, 16);
    const FormatTraits india = FormatTraits::Of(c, c.FmtINDIAA);
    EXPECT_EQ(india.ring.dx + india.ring.tenDx, -30);
    const FormatTraits austria2 = FormatTraits::Of(c, c.FmtAUSTR2);
    EXPECT_TRUE(austria2.checkBoxesRaisedOnPaper && austria2.colourBarsBehindText);
    EXPECT_TRUE(FormatTraits::Of(c, c.FmtRUSSIA).cyrillicText);
    EXPECT_EQ(FormatTraits::Of(c, c.FmtSCOTT).paperTurn, PaperTurn::UprightOnA5);
    EXPECT_EQ(FormatTraits::Of(c, c.FmtNORWAY).paperTurn, PaperTurn::SidewaysOnA5);

    // The WBF card, a slot past the known ones, and no format at all: the common ways. A code
    // the catalogue lacks (its slot -1) never matches "no format" (-1).
    for (int16_t slot : {c.FmtWBFB, int16_t(20), int16_t(-1)}) {
        const FormatTraits common = FormatTraits::Of(c, slot);
        EXPECT_FALSE(common.backPageFromTemplate || common.printDateFooter ||
                     common.circlesNudged || common.cyrillicText || common.redFieldsStayRed)
            << slot;
        EXPECT_EQ(common.paperTurn, PaperTurn::ByCatalogue);
        EXPECT_EQ(common.ring.dy, 0);
    }
}
