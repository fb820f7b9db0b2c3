// The map's zoom rules: the factor that fits a screen, the grid point under
// a screen pixel and back, and when the object grid is drawn.
#include <gtest/gtest.h>

#include "views/znMapZoom.h"

TEST(MapZoom, FitsTheLargestFactorAndMapsPixelsToPointsAndBack) {
  // 257 points with 60 x 300 pixels of window around them on 1400 x 1000:
  // across (1400 - 60) / 257 = 5.2, down (1000 - 300) / 257 = 2.7.
  EXPECT_EQ(FittingMapZoom({257, 257}, {60, 300}, {1400, 1000}), 2);
  // 100 x 100 points with 20 pixels around: 3 x 100 + 20 = 320 just fits.
  EXPECT_EQ(FittingMapZoom({100, 100}, {20, 20}, {320, 320}), 3);
  EXPECT_EQ(FittingMapZoom({100, 100}, {20, 20}, {319, 320}), 2);
  EXPECT_EQ(FittingMapZoom({30, 30}, {20, 20}, {2000, 2000}), 8);      // no further than 8
  EXPECT_EQ(FittingMapZoom({2049, 2049}, {20, 20}, {1400, 1000}), 1);  // even 1x is too large
  EXPECT_EQ(FittingMapZoom({0, 0}, {20, 20}, {1400, 1000}), 1);
  EXPECT_EQ(ClampMapZoom(0), 1);
  EXPECT_EQ(ClampMapZoom(9), 8);

  // Pixels 120 to 123 at 4x show point 30 (the map test clicks them); a
  // point far away stays far away without overflowing.
  EXPECT_EQ(MapPointAt(120, 4), 30);
  EXPECT_EQ(MapPointAt(119, 4), 29);
  EXPECT_EQ(MapPointAt(-1, 4), -1);
  EXPECT_EQ(MapPixelOf(900000000, 8), 1000000000);

  // 10 m objects on 3 m points: 3.33 pixels apart at 1x, 6.67 at 2x.
  EXPECT_FALSE(MapGridLinesShown(10 / 3.0, 1));
  EXPECT_TRUE(MapGridLinesShown(10 / 3.0, 2));
  EXPECT_TRUE(MapGridLinesShown(2.5, 2));  // exactly 5 pixels
  EXPECT_FALSE(MapGridLinesShown(2.4, 2));
}
