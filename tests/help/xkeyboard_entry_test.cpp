#include <gtest/gtest.h>

#include "dialogs/dialog_table.h"

using namespace tavoe;

// The extended keyboard's code: hexadecimal by default, decimal with a trailing D; nothing else.
TEST(XKeyboardEntry, CodesInHexadecimalAndDecimal) {
    EXPECT_EQ(ParseCharacterCode("41"), 0x41);
    EXPECT_EQ(ParseCharacterCode(" ff "), 255);
    EXPECT_EQ(ParseCharacterCode("0"), 0);
    EXPECT_EQ(ParseCharacterCode("0D"), 0x0D);  // letters A-F are hexadecimal digits, D included
    EXPECT_EQ(ParseCharacterCode("#65"), 65);
    EXPECT_EQ(ParseCharacterCode("#255"), 255);
    EXPECT_EQ(ParseCharacterCode("#256"), -1);
    EXPECT_EQ(ParseCharacterCode("#"), -1);
    EXPECT_EQ(ParseCharacterCode("#1A"), -1);
    EXPECT_EQ(ParseCharacterCode("100"), -1);  // three hex digits exceed a byte
    EXPECT_EQ(ParseCharacterCode("G1"), -1);
    EXPECT_EQ(ParseCharacterCode(""), -1);
    EXPECT_EQ(ParseCharacterCode("-1"), -1);
    EXPECT_EQ(ParseCharacterCode("1 2"), -1);
}

TEST(XKeyboardEntry, RepeatCountsFromOneToNinetyNine) {
    EXPECT_EQ(ParseRepeatCount(""), 1);
    EXPECT_EQ(ParseRepeatCount("1"), 1);
    EXPECT_EQ(ParseRepeatCount(" 99 "), 99);
    EXPECT_EQ(ParseRepeatCount("0"), -1);
    EXPECT_EQ(ParseRepeatCount("100"), -1);
    EXPECT_EQ(ParseRepeatCount("5x"), -1);
    EXPECT_EQ(ParseRepeatCount("-3"), -1);
}
