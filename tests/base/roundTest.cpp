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
