#include "ProgramTexts.h"

#include "RuntimeError.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(ProgramTextsTest, JoinedQuestionsKeepTheirBlanks) {
    EXPECT_EQ(GetProgramText(12) + "MYCARD", "Do you want to save changes to MYCARD");
    EXPECT_EQ(GetProgramText(13) + "MYCARD" + GetProgramText(14),
              "You already have a card named MYCARD.  Do you want to replace it?");
    EXPECT_EQ(GetProgramText(15) + "200" + GetProgramText(16),
              "You have exceeded the maximum number of 200 entries allowed.");
}

TEST(ProgramTextsTest, ComponentNamesKeepTrailingBlanks) {
    EXPECT_EQ(GetProgramText(105), "COMCAT.DLL  ");
    EXPECT_EQ(GetProgramText(108), "STDOLE2.TLB ");
    for (int number = 100; number <= 109; ++number)
        EXPECT_EQ(GetProgramText(number).size(), 12u) << number;
}

TEST(ProgramTextsTest, ExactTexts) {
    EXPECT_EQ(GetProgramText(9), "Version ");
    EXPECT_EQ(GetProgramText(24), "Cardwright");
    EXPECT_EQ(GetProgramText(30), " Select a color");
    EXPECT_EQ(GetProgramText(37), " card loaded.");
    EXPECT_EQ(GetProgramText(70), " card loaded.");
    EXPECT_EQ(GetProgramText(173), "Enter the text.  ");
    EXPECT_EQ(GetProgramText(76), "If your printer can not print on both sides of the paper, print "
                                  "'Front Side', then turn the paper over and print 'Back Side'.");
    EXPECT_EQ(GetProgramText(433), "Names - (as they appear on partner's card):");
    EXPECT_EQ(GetProgramText(560), "&File");
    EXPECT_EQ(GetProgramText(580), "Select Default Card Format");
}

TEST(ProgramTextsTest, ReferencesStayValid) {
    const std::string& first = GetProgramText(402);
    GetProgramText(401);
    EXPECT_EQ(&first, &GetProgramText(402));
    EXPECT_EQ(first, "OK");
}

TEST(ProgramTextsTest, UnknownNumbersAreInvalidCalls) {
    for (int number : {0, 8, 17, 99, 110, 581, -1, 32767}) {
        try {
            GetProgramText(number);
            ADD_FAILURE() << "no error for " << number;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.ErrorNumber(), 5);
            EXPECT_STREQ(error.what(), "Invalid procedure call or argument");
        }
    }
}

} // namespace
} // namespace cw
