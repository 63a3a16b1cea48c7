#include "core/skindef/skin_colour.h"

#include <gtest/gtest.h>

#include <string>

using core::ParseColour;
using core::Rgb;

constexpr core::SkinColour kFallback = 0xFF00000F;

TEST(ParseColour, SeparatorsDoNotMatter) {
  EXPECT_EQ(ParseColour("203, 216, 239", kFallback), Rgb(203, 216, 239));
  EXPECT_EQ(ParseColour("203 216 239", kFallback), Rgb(203, 216, 239));
  EXPECT_EQ(ParseColour("  203;216/239  ", kFallback), Rgb(203, 216, 239));
  EXPECT_EQ(ParseColour("r203g216b239.", kFallback), Rgb(203, 216, 239));
}

TEST(ParseColour, ARunAtTheEndCountsOnlyAsTheThirdNumber) {
  EXPECT_EQ(ParseColour("255 128", kFallback), Rgb(255, 0, 0));
  EXPECT_EQ(ParseColour("255 128 ", kFallback), Rgb(255, 0, 0));  // trimmed first
  EXPECT_EQ(ParseColour("255 128,", kFallback), Rgb(255, 128, 0));
  EXPECT_EQ(ParseColour("0x10", kFallback), 0u);
  EXPECT_EQ(ParseColour("77", kFallback), 0u);
}

TEST(ParseColour, EmptyGivesFallbackAndNoDigitsGiveBlack) {
  EXPECT_EQ(ParseColour("", kFallback), kFallback);
  EXPECT_EQ(ParseColour("none", kFallback), 0u);
  EXPECT_EQ(ParseColour("   ", kFallback), 0u);
}

TEST(ParseColour, HostileValuesStayInsideThreeNumbers) {
  EXPECT_EQ(ParseColour("1 2 3 4 5 6 7", kFallback), Rgb(1, 2, 3));
  EXPECT_EQ(ParseColour("1,2,3,4,", kFallback), Rgb(1, 2, 3));
  // Each number keeps its low 8 bits.
  EXPECT_EQ(ParseColour("256 511 4660", kFallback), Rgb(0, 255, 0x34));
  // A number too large to convert is skipped and does not take a place.
  EXPECT_EQ(ParseColour("99999999999999999999 10 20 30", kFallback), Rgb(10, 20, 30));
  EXPECT_EQ(ParseColour("2147483648 1 2 3", kFallback), Rgb(1, 2, 3));
  EXPECT_EQ(ParseColour("2147483647 1 2", kFallback), Rgb(0xFF, 1, 2));
  EXPECT_EQ(ParseColour("1 2 99999999999999999999", kFallback), Rgb(1, 2, 0));
  const std::string long_text(100000, '9');
  EXPECT_EQ(ParseColour(long_text + " 4 5 6", kFallback), Rgb(4, 5, 6));
  const std::string many = [] {
    std::string s;
    for (int i = 0; i < 10000; ++i) s += "12 ";
    return s;
  }();
  EXPECT_EQ(ParseColour(many, kFallback), Rgb(12, 12, 12));
}
