#include <gtest/gtest.h>

#include "base/znRound.h"

TEST(Round, HalfToEven) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-3.5), -4);
  EXPECT_EQ(Round(2.4999), 2);
  EXPECT_EQ(Round(2.5001), 3);
  EXPECT_EQ(Round(-0.4), 0);
  EXPECT_EQ(Round32(2.5f), 2);
  EXPECT_EQ(Round32(3.5f), 4);
  EXPECT_EQ(Round(4.0e12), 4000000000000);
}

TEST(Round, OutOfRangeThrows) {
  EXPECT_THROW(Round32(3.0e9), EznRoundError);
  EXPECT_THROW(Round(1e300), EznRoundError);
  EXPECT_THROW(Round(std::nan("")), EznRoundError);
  EXPECT_EQ(Round32(2147483647.0), 2147483647);
  EXPECT_EQ(Round32(-2147483648.0), -2147483647 - 1);
}

TEST(Round, HalvesToEvenUpToWhereEveryValueIsWhole) {
  EXPECT_EQ(Round(0.49999999999999994), 0);                // just below a half
  EXPECT_EQ(Round(4503599627370495.5), 4503599627370496);  // 2^52 - 0.5: to the even neighbour
  EXPECT_EQ(Round(4503599627370493.5), 4503599627370494);
  EXPECT_EQ(Round(-4503599627370493.5), -4503599627370494);
  EXPECT_EQ(Round(9007199254740993.0), 9007199254740992);  // not a double: its nearest is
  EXPECT_EQ(Round(-1e15 - 0.5), -1000000000000000);
  EXPECT_TRUE(std::signbit(zn_detail::RoundHalfEven(-0.25)));  // the sign stays, as the C library keeps it
  for (int k = -2000; k <= 2000; ++k) {
    const double half = k + 0.5;
    const int64_t even = (k % 2 == 0) ? k : k + 1;
    ASSERT_EQ(Round(half), even) << half;
    ASSERT_EQ(Round(k + 0.4999), k) << k;
    ASSERT_EQ(Round(k + 0.5001), k + 1) << k;
  }
}

TEST(Round, DivisionDownAndUp) {
  EXPECT_EQ(FloorDiv(7, 2), 3);
  EXPECT_EQ(FloorDiv(-7, 2), -4);
  EXPECT_EQ(FloorDiv(7, -2), -4);
  EXPECT_EQ(FloorDiv(-6, 2), -3);
  EXPECT_EQ(CeilDiv(-7, 2), -3);
  EXPECT_EQ(CeilDiv(7, 2), 4);
}
