// The position, altitude and gradient texts of the Filter tab, and the
// choice of a list entry by file name.
#include <gtest/gtest.h>

#include "app/znFilterFileChoice.h"
#include "app/znFilterText.h"

namespace {

TEST(FilterText, PositionsShowTenMetreUnitsWithTheirLetter) {
  EXPECT_EQ(FormatNorthSouth(12.34f), "1.234n");
  EXPECT_EQ(FormatNorthSouth(-12.34f), "1.234s");
  EXPECT_EQ(FormatNorthSouth(0), "0.000n");
  EXPECT_EQ(FormatWestEast(0), "0.000w");
  EXPECT_EQ(FormatWestEast(-5), "0.500e");
  EXPECT_EQ(FormatWestEast(250), "25.000w");
}

TEST(FilterText, PositionsReadOnlyTheBoxsAxis) {
  EXPECT_FLOAT_EQ(ReadWestEast("0.5E"), -5);
  EXPECT_FLOAT_EQ(ReadWestEast(" 1.5w "), 15);
  EXPECT_FLOAT_EQ(ReadNorthSouth("1.234n"), 12.34f);
  // The first token of the axis counts; the other axis is ignored.
  EXPECT_FLOAT_EQ(ReadNorthSouth("2.5s 3w"), -25);
  EXPECT_FLOAT_EQ(ReadNorthSouth("3w 1n 2n"), 10);
  // Without a token of the axis the box reads as 0 m.
  EXPECT_FLOAT_EQ(ReadNorthSouth("3w"), 0);
  EXPECT_FLOAT_EQ(ReadWestEast("2n"), 0);
  EXPECT_FLOAT_EQ(ReadWestEast("abc"), 0);
  EXPECT_FLOAT_EQ(ReadWestEast(""), 0);
}

TEST(FilterText, LimitsKeepTheStoredValueUnlessTheTextIsANumber) {
  EXPECT_EQ(FormatAltitude(12.345678f), "12.35");
  EXPECT_EQ(FormatAltitude(-3), "-3.00");
  EXPECT_EQ(FormatGradient(90), "90.0");
  EXPECT_EQ(FormatGradient(12.96), "13.0");
  EXPECT_FLOAT_EQ(ReadLimit(" 12.5 ", 7), 12.5f);
  EXPECT_FLOAT_EQ(ReadLimit("-0.25", 7), -0.25f);
  EXPECT_FLOAT_EQ(ReadLimit("abc", 7), 7);
  EXPECT_FLOAT_EQ(ReadLimit("", 7), 7);
  EXPECT_FLOAT_EQ(ReadLimit("12,5", 7), 7);
  // Beyond the single range the value would be infinite.
  EXPECT_FLOAT_EQ(ReadLimit("1e39", 7), 7);
  EXPECT_FLOAT_EQ(ReadLimit("nan", 7), 7);
}

TEST(FilterFileChoice, ExactNameFirstThenWithoutRegardToCase) {
  const std::vector<std::string> names = {"Gravel.ftr", "gravel.FTR", "Rock.FTR"};
  EXPECT_EQ(FilterListIndex(names, "gravel.FTR"), 1);
  EXPECT_EQ(FilterListIndex(names, "Gravel.ftr"), 0);
  EXPECT_EQ(FilterListIndex(names, "ROCK.ftr"), 2);
  EXPECT_EQ(FilterListIndex(names, "Sand.FTR"), -1);
}

}  // namespace
