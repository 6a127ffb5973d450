#include "PlainText.h"

#include <gtest/gtest.h>

using namespace cw;

// Card names, notes lines and typed names are trimmed of spaces only: a tab or a
// non-breaking space byte is part of what the user wrote.
TEST(PlainTextTest, OnlySpacesAroundTheTextGo) {
    EXPECT_EQ(TrimSpaces("  notes.not  "), "notes.not");
    EXPECT_EQ(TrimSpaces("a  b"), "a  b");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces(""), "");
    EXPECT_EQ(TrimSpaces("\tx\t"), "\tx\t");
    EXPECT_EQ(TrimSpaces(" \xA0x\xA0 "), "\xA0x\xA0");
}
