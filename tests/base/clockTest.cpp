#include <gtest/gtest.h>

#include <ctime>

#include "base/znClock.h"

TEST(Clock, UnixTimes) {
  EXPECT_EQ(DateTimeToUnix(25569), 0);
  EXPECT_EQ(DateTimeToUnix(25570.5), 129600);
  EXPECT_EQ(DateTimeToUnix(1e12), 0);  // out of range
  const double unix_now = static_cast<double>(std::time(nullptr));
  EXPECT_NEAR(DateTimeToUnix(StampNow()), unix_now - 7200, 5);
}
