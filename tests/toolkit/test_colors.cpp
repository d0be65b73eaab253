// The color table and the check every drawing call makes of its color index.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "colors.h"
#include "test_primitives_support.h"

using namespace kv318::detail;

using Lines = std::vector<std::string>;

namespace {

TEST(ColorTable, NamesWithBlanksAndPercentSignsAreKeptAsTheyAre) {
  EXPECT_STREQ(color_name(0), "black");
  EXPECT_STREQ(color_name(9), "navy blue");
  EXPECT_STREQ(color_name(10), "dusty plum");
  EXPECT_STREQ(color_name(19), "forest green");
  EXPECT_STREQ(color_name(22), "50% gray");
  EXPECT_STREQ(color_name(23), "20% gray");
}

TEST(ColorTable, ValuesArePackedRedInTheLowestByte) {
  EXPECT_EQ(color_rgb(8), 0xCC0099U);   // purple #9900CC
  EXPECT_EQ(color_rgb(13), 0x0066FFU);  // orange #FF6600
  EXPECT_EQ(color_rgb(17), 0x3399CCU);  // gold #CC9933
  EXPECT_EQ(color_rgb(22), 0x808080U);
  EXPECT_EQ(color_rgb(23), 0xCCCCCCU);
}

TEST(ColorTable, EveryEntryIsDistinct) {
  for (int i = 0; i < COLOR_COUNT; ++i) {
    for (int j = i + 1; j < COLOR_COUNT; ++j) {
      EXPECT_NE(color_rgb(i), color_rgb(j)) << i << " " << j;
      EXPECT_STRNE(color_name(i), color_name(j)) << i << " " << j;
    }
  }
}

TEST(CheckColor, ValidIndexesPassSilently) {
  draw_test::start_fresh();
  for (int i = 0; i < COLOR_COUNT; ++i) EXPECT_EQ(check_color(i), i);
  EXPECT_TRUE(draw_test::log_lines().empty());
}

TEST(CheckColor, AnyOtherIndexIsReportedAndBecomesRed) {
  draw_test::start_fresh();
  KV318_set_logging(0);
  EXPECT_EQ(check_color(24), COLOR_RED);
  EXPECT_EQ(check_color(-1), COLOR_RED);
  EXPECT_EQ(check_color(INT_MAX), COLOR_RED);
  EXPECT_EQ(draw_test::log_lines(), (Lines{"Illegal color 24; using RED.\n", "Illegal color -1; using RED.\n",
                                           "Illegal color 2147483647; using RED.\n"}));
}

}  // namespace
