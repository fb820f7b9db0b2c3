// The position, altitude and gradient texts of the Filter tab, and the
// choice of a list entry by file name.
#include <gtest/gtest.h>

#include "app/znFilterText.h"

namespace {

TEST(FilterText, PositionsReadOnlyTheBoxsAxis) {
  EXPECT_FLOAT_EQ(ReadWestEast(" 1.5w "), 15);
  // The first token of the axis counts; the other axis is ignored.
  EXPECT_FLOAT_EQ(ReadNorthSouth("2.5s 3w"), -25);
  EXPECT_FLOAT_EQ(ReadNorthSouth("3w 1n 2n"), 10);
  // Without a token of the axis the box reads as 0 m.
  EXPECT_FLOAT_EQ(ReadNorthSouth("3w"), 0);
  EXPECT_FLOAT_EQ(ReadWestEast("2n"), 0);
  EXPECT_FLOAT_EQ(ReadWestEast("abc"), 0);
  EXPECT_FLOAT_EQ(ReadWestEast(""), 0);
}

TEST(FilterText, LimitsKeepTheStoredValueUnlessTheTextIsASingleValue) {
  EXPECT_EQ(FormatAltitude(-3), "-3.00");
  EXPECT_FLOAT_EQ(ReadLimit(" -0.25 ", 7), -0.25f);
  EXPECT_FLOAT_EQ(ReadLimit("", 7), 7);
  EXPECT_FLOAT_EQ(ReadLimit("12,5", 7), 7);
  // Beyond the single range the value would be infinite.
  EXPECT_FLOAT_EQ(ReadLimit("1e39", 7), 7);
  EXPECT_FLOAT_EQ(ReadLimit("nan", 7), 7);
}

}  // namespace
