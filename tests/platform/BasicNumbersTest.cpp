#include "BasicNumbers.h"

#include "RuntimeError.h"

#include <gtest/gtest.h>

using namespace cw;

TEST(Val, ReadsTheLeadingNumberLeniently) {
    EXPECT_EQ(Val("  12abc"), 12);
    EXPECT_EQ(Val("1 2 3"), 123); // blanks inside a number are skipped
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("-3.5x"), -3.5);
    EXPECT_EQ(Val("5.0"), 5);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("2e3"), 2000);
    EXPECT_EQ(Val("2e"), 2);
    EXPECT_EQ(Val("&HFF"), 255);
    EXPECT_EQ(Val("&HFFFF"), -1);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("+7"), 7);
}

TEST(Val, WholeNumberCheckRejectsTrailingText) {
    EXPECT_TRUE(IsWholeNumber(" 42 "));
    EXPECT_TRUE(IsWholeNumber("-1.5"));
    EXPECT_FALSE(IsWholeNumber("42a"));
    EXPECT_FALSE(IsWholeNumber(""));
    EXPECT_FALSE(IsWholeNumber("-"));
}

TEST(FormatNumber, ShortestFormWithoutTrailingZeros) {
    EXPECT_EQ(FormatNumber(5.0), "5");
    EXPECT_EQ(FormatNumber(1.5), "1.5");
    EXPECT_EQ(FormatNumber(-0.25), "-0.25");
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(1.2), "1.2");
    EXPECT_EQ(FormatSingle(0.1f), "0.1");
    EXPECT_EQ(FormatSingle(11520.0f), "11520");
}

TEST(IntegerConversion, RoundsHalfToEvenAndChecksRange) {
    EXPECT_EQ(ToInt16(2.5), 2);
    EXPECT_EQ(ToInt16(3.5), 4);
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_THROW(ToInt16(32768), RuntimeError);
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_THROW(ToInt32(3e9), RuntimeError);
}
