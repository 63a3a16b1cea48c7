#include "core/text/number_text.h"

#include <gtest/gtest.h>

using core::ProfileTextToInt;
using core::StrToIntDef;

TEST(ProfileTextToInt, DecimalAndHexadecimalForms) {
  EXPECT_EQ(ProfileTextToInt("2", 9), 2);
  EXPECT_EQ(ProfileTextToInt("0x2", 9), 2);
  EXPECT_EQ(ProfileTextToInt("0X1f", 9), 31);
  EXPECT_EQ(ProfileTextToInt("$2", 9), 2);
  EXPECT_EQ(ProfileTextToInt("-1", 9), -1);
  EXPECT_EQ(ProfileTextToInt("0x10", 0), 16);
  EXPECT_EQ(ProfileTextToInt("  7", 0), 7);
}

TEST(ProfileTextToInt, UnparsableTextGivesTheDefault) {
  // "0x" alone is only two characters: not hexadecimal, and not decimal either.
  EXPECT_EQ(ProfileTextToInt("0x", 5), 5);
  EXPECT_EQ(ProfileTextToInt("", 1), 1);
  EXPECT_EQ(ProfileTextToInt("yes", 1), 1);
  EXPECT_EQ(ProfileTextToInt("true", 0), 0);
  EXPECT_EQ(ProfileTextToInt("$", 4), 4);
  EXPECT_EQ(ProfileTextToInt("-", 4), 4);
  EXPECT_EQ(ProfileTextToInt("3 ", 4), 4);
  EXPECT_EQ(ProfileTextToInt("0xg", 4), 4);
  EXPECT_EQ(ProfileTextToInt("1.5", 4), 4);
}

TEST(StrToIntDef, RangeLimits) {
  EXPECT_EQ(StrToIntDef("2147483647", 0), 2147483647);
  EXPECT_EQ(StrToIntDef("-2147483648", 0), INT32_MIN);
  EXPECT_EQ(StrToIntDef("2147483648", 3), 3);
  EXPECT_EQ(StrToIntDef("99999999999999999999", 3), 3);
  EXPECT_EQ(StrToIntDef("$FFFFFFFF", 0), -1);
  EXPECT_EQ(StrToIntDef("$100000000", 3), 3);
  EXPECT_EQ(StrToIntDef("-$10", 0), -16);
}
