#include "ProgramTexts.h"

#include "RuntimeError.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(ProgramTextsTest, JoinedQuestionsKeepTheirBlanks) {
    EXPECT_EQ(GetProgramText(TextId::AskSaveChangesTo) + "MYCARD",
              "Do you want to save changes to MYCARD");
    EXPECT_EQ(GetProgramText(TextId::CardAlreadyNamed) + "MYCARD" +
                  GetProgramText(TextId::AskReplaceIt),
              "You already have a card named MYCARD.  Do you want to replace it?");
    EXPECT_EQ(GetProgramText(TextId::ExceededMaximumOf) + "200" +
                  GetProgramText(TextId::EntriesAllowed),
              "You have exceeded the maximum number of 200 entries allowed.");
}

TEST(ProgramTextsTest, ComponentNamesKeepTrailingBlanks) {
    EXPECT_EQ(GetProgramTextByNumber(105), "COMCAT.DLL  ");
    EXPECT_EQ(GetProgramTextByNumber(108), "STDOLE2.TLB ");
    for (int number = 100; number <= 109; ++number)
        EXPECT_EQ(GetProgramTextByNumber(number).size(), 12u) << number;
}

TEST(ProgramTextsTest, ExactTexts) {
    EXPECT_EQ(GetProgramTextByNumber(9), "Version ");
    EXPECT_EQ(GetProgramTextByNumber(24), "Cardwright");
    EXPECT_EQ(GetProgramTextByNumber(30), " Select a color");
    EXPECT_EQ(GetProgramTextByNumber(37), " card loaded.");
    EXPECT_EQ(GetProgramTextByNumber(70), " card loaded.");
    EXPECT_EQ(GetProgramTextByNumber(173), "Enter the text.  ");
    EXPECT_EQ(GetProgramTextByNumber(76),
              "If your printer can not print on both sides of the paper, print "
              "'Front Side', then turn the paper over and print 'Back Side'.");
    EXPECT_EQ(GetProgramTextByNumber(433), "Names - (as they appear on partner's card):");
    EXPECT_EQ(GetProgramTextByNumber(560), "&File");
    EXPECT_EQ(GetProgramTextByNumber(580), "Select Default Card Format");
}

TEST(ProgramTextsTest, ReferencesStayValid) {
    const std::string& first = GetProgramTextByNumber(402);
    GetProgramTextByNumber(401);
    EXPECT_EQ(&first, &GetProgramTextByNumber(402));
    EXPECT_EQ(first, "OK");
}

TEST(ProgramTextsTest, UnknownNumbersAreInvalidCalls) {
    for (int number : {0, 8, 17, 99, 110, 581, -1, 32767}) {
        try {
            GetProgramTextByNumber(number);
            ADD_FAILURE() << "no error for " << number;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.ErrorNumber(), 5);
            EXPECT_STREQ(error.what(), "Invalid procedure call or argument");
        }
    }
}

} // namespace
} // namespace cw
