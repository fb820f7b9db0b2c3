// Where the origin, the object boundaries and the selection fall on the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "views/viewsTest.h"
#include "views/znMapOverlay.h"

namespace {

std::vector<int> Sorted(std::vector<int> values) {
  std::sort(values.begin(), values.end());
  return values;
}

std::vector<int> Range(int first, int last, int step) {
  std::vector<int> values;
  for (int v = first; v <= last; v += step) values.push_back(v);
  return values;
}

// A level square terrain of points x points, spacing metres apart, with
// 10 m objects and their origin at east metres east and 500 m north.
void LevelWithOrigin(TznTerra& terra, int points, float spacing, float east) {
  test::FillTerra(terra, points, points, spacing, [](int, int) { return int16_t{0}; });
  terra.SetOrigin(TVec3{east, 500, 0});
  terra.SetObjectSize(10);
}

}  // namespace

TEST(MapOverlay, ObjectBoundariesFallEveryObjectSizeFromTheOrigin) {
  // 201 x 201 points, 5 m apart: 1000 m. Origin at 500, 500 is pixel 100;
  // 10 m objects put a boundary every second pixel, over the whole picture
  // and one pixel beyond (width + 1 = 202; rows down to height + 1 = 202).
  TznTerra terra;
  LevelWithOrigin(terra, 201, 5, 500);
  const TznOriginOverlay overlay = OriginOverlay(terra);
  EXPECT_EQ(overlay.X, 100);
  EXPECT_EQ(overlay.Y, 201 - 100 - 1);
  std::vector<int> expected = Range(0, 98, 2);
  const std::vector<int> east = Range(102, 202, 2);
  expected.insert(expected.end(), east.begin(), east.end());
  EXPECT_EQ(Sorted(overlay.GridColumns), expected);
  EXPECT_EQ(Sorted(overlay.GridRows), expected);
  EXPECT_EQ(overlay.Frame, (TznMapFrame{98, 98, 103, 103}));
}

TEST(MapOverlay, BoundaryColumnsRoundHalfToEven) {
  // 257 points at 3.90625 m: boundaries at (500 + 10 k) / 3.90625 = 128 +
  // 2.56 k, so k = -1 gives 125.44 -> 125 and k = 1 gives 130.56 -> 131;
  // 20 m objects: 128 +- 5.12 k; k = -25 gives 0.0, the last one west.
  TznTerra terra;
  LevelWithOrigin(terra, 257, 3.90625f, 500);
  const TznOriginOverlay ten = OriginOverlay(terra);
  EXPECT_EQ(ten.X, 128);
  ASSERT_GE(ten.GridColumns.size(), 2u);
  EXPECT_EQ(ten.GridColumns.front(), 125);
  EXPECT_NE(std::find(ten.GridColumns.begin(), ten.GridColumns.end(), 131), ten.GridColumns.end());
  terra.SetObjectSize(20);
  const std::vector<int> twenty = Sorted(OriginOverlay(terra).GridColumns);
  EXPECT_EQ(twenty.front(), 0);
  EXPECT_EQ(twenty[1], 5);  // 128 - 5.12 * 24 = 5.12
}

TEST(MapOverlay, AFarOriginStillDrawsTheBoundariesThatCrossTheMap) {
  // Origin 10^9 m east: only the boundaries over the picture are listed,
  // found without walking the whole distance.
  TznTerra terra;
  LevelWithOrigin(terra, 201, 5, 1e9f);
  const TznOriginOverlay overlay = OriginOverlay(terra);
  EXPECT_EQ(Sorted(overlay.GridColumns), Range(0, 202, 2));
  EXPECT_GT(overlay.X, 202);
}

TEST(MapOverlay, SelectionFrameSurroundsItsSides) {
  // 101 x 101 points, 1 m apart; centre (30, 40), sides 20 x 11:
  // cx = 30, cy = 101 - 40 - 1 = 60; left = 30 - 10 = 20, top =
  // Round(60 - 5.5) = 54 (ties to even); right = 20 + 20 + 1, bottom = 54 + 11 + 1.
  TznTerra terra;
  test::FillTerra(terra, 101, 101, 1, [](int, int) { return int16_t{0}; });
  terra.SetSelectionCentre(TVec3{30, 40, 0});
  terra.SetSideX(20);
  terra.SetSideY(11);
  const TznSelectionOverlay overlay = SelectionOverlay(terra);
  EXPECT_EQ(overlay.X, 30);
  EXPECT_EQ(overlay.Y, 60);
  EXPECT_EQ(overlay.Frame, (TznMapFrame{20, 54, 41, 66}));
}
