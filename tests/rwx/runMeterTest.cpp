#include <gtest/gtest.h>

#include "rwx/znRWXRunMeter.h"

TEST(RunMeter, TellsTheObjectsBytesRateAndTimeLeft) {
  // 200 objects in 4 s make 50 a second; the 750 left then take 15 s.
  EXPECT_EQ(RunFiguresText({250, 1000, 12'345'678, 200, 4.0}), "250 of 1000 objects, 12.3 MB, 50 objects/s, 15 s left");
  // No rate before this run has done an object and half a second passed.
  EXPECT_EQ(RunFiguresText({40, 1000, 0, 0, 9.0}), "40 of 1000 objects, 0.0 MB");
  EXPECT_EQ(RunFlowText({10, 1000, 2'000'000, 10, 0.2}), "2.0 MB");
  EXPECT_EQ(DurationText(187), "3 min 07 s");
  EXPECT_EQ(DurationText(3725), "1 h 02 min");
}
