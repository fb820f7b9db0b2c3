#include <gtest/gtest.h>

#include "support/terFiles.h"
#include "terrain/znTerra.h"

namespace {

// A terrain of nx x ny points, 1 m per step, FScaleZ 100 so that metres
// equal stored units, with stored heights h(i, j).
void LoadStored(TznTerra& terra, int nx, int ny, const std::function<int(int, int)>& h) {
  test::TerFile(nx, ny, 0, [&](int i, int j) { return static_cast<int16_t>(h(i, j) * 10); }).Save("h.ter");
  terra.LoadFromFile("h.ter");
  terra.SetScaleZ(100);
}

// The point GetHeightAt gives at (x, y) metres.
TVec3 PointAt(const TznTerra& terra, float x, float y) {
  TVec3 v;
  terra.GetHeightAt(v, x, y);
  return v;
}

}  // namespace

TEST(Terra, DefaultsAndClampingSetters) {
  TznTerra terra;
  EXPECT_EQ(terra.FObjectSize, 10);
  EXPECT_EQ(terra.FVertices, 11);
  EXPECT_EQ(terra.FWaterLevel, -1000);
  EXPECT_TRUE(terra.FRelative);
  terra.SetObjectSize(0);
  EXPECT_EQ(terra.FObjectSize, 0.1f);
  terra.SetVertices(1);
  EXPECT_EQ(terra.FVertices, 2);
  terra.SetVertices(35);
  EXPECT_EQ(terra.FVertices, 35);
}

TEST(Terra, HeightAtInsideCells) {
  TznTerra terra;
  const int h[2][2] = {{0, 20}, {10, 40}};  // h[i][j]
  LoadStored(terra, 3, 3, [&](int i, int j) { return i < 2 && j < 2 ? h[i][j] : 0; });
  const TVec3 v = PointAt(terra, 0.5f, 0.5f);
  EXPECT_FLOAT_EQ(v.z, 17.5f);  // edges 30, 5, 10, 25 averaged
  EXPECT_FLOAT_EQ(v.x, 0.5f);
  // On a grid line the interval to the left (below) is used.
  EXPECT_FLOAT_EQ(PointAt(terra, 1, 0).z, 10);
  EXPECT_FLOAT_EQ(PointAt(terra, 1, 1).z, 40);
}

TEST(Terra, HeightAtRoundsEdgeValues) {
  TznTerra terra;
  LoadStored(terra, 2, 2, [](int i, int) { return i; });  // 0 west, 1 east
  // e1 = e2 = Round(0.5) = 0, e3 = 0, e4 = 1: (0.5 * 1) / 2.
  EXPECT_FLOAT_EQ(PointAt(terra, 0.5f, 0.25f).z, 0.25f);
}

TEST(Terra, HeightAtBeyondLastLineStaysLevel) {
  TznTerra terra;
  LoadStored(terra, 3, 3, [](int i, int j) { return 10 * i + 2 * j; });
  // Between the last point and FXPoints the last column holds: 20 + 1.
  const TVec3 v = PointAt(terra, 2.5f, 0.5f);
  EXPECT_FLOAT_EQ(v.z, 21);
  EXPECT_FLOAT_EQ(v.x, 2.5f);
  // The same beyond the last row, and in the corner: the corner point, 24.
  EXPECT_FLOAT_EQ(PointAt(terra, 1, 2.75f).z, 14);
  EXPECT_FLOAT_EQ(PointAt(terra, 2.9f, 2.9f).z, 24);
}

TEST(Terra, HeightAtOutsideIsLowestLevel) {
  TznTerra terra;
  LoadStored(terra, 3, 3, [](int i, int j) { return 5 + i + j; });
  terra.SetScaleX(2);
  TVec3 v = PointAt(terra, -0.5f, 1);
  EXPECT_FLOAT_EQ(v.z, 5);
  EXPECT_FLOAT_EQ(v.x, -1);
  EXPECT_FLOAT_EQ(PointAt(terra, 3, 1).z, 5);
  v = PointAt(terra, 1, 3.0f);
  EXPECT_FLOAT_EQ(v.z, 5);
  EXPECT_FLOAT_EQ(v.y, 3);
}

TEST(Terra, GridPointsAndExtremes) {
  TznTerra terra;
  LoadStored(terra, 3, 2, [](int i, int j) { return i * 10 - j * 50; });
  terra.SetScaleZ(50);
  TVec3 v;
  terra.GetGridPoint(2, 0, v);
  EXPECT_EQ(v, (TVec3{2, 0, 10}));
  terra.GetGridPoint(3, 0, v);
  EXPECT_EQ(v, (TVec3{3, 0, 0}));
  EXPECT_EQ(terra.GetHighest(), 20);
  EXPECT_EQ(terra.GetLowest(), -50);
}

TEST(Terra, ShiftHeightsSaturates) {
  TznTerra terra;
  LoadStored(terra, 2, 2, [](int i, int) { return i == 0 ? 3000 : -3000; });
  terra.ShiftHeights(32000);
  EXPECT_EQ(terra.GetHeight(0, 0), 32767);
  EXPECT_EQ(terra.GetHeight(1, 0), 29000);
  terra.ShiftHeights(-70000);
  EXPECT_EQ(terra.GetHeight(0, 0), -32768);
  EXPECT_EQ(terra.GetHeight(1, 1), -32768);
}

TEST(Terra, GridStartAlignsWithOrigin) {
  TznTerra terra;
  terra.SetOrigin(TVec3{128, 120, 0});
  // 12800 + 1000 brought down to 800, then one more step below zero.
  EXPECT_EQ(terra.GetGridStart(), (TznCentimetres{-200, 0, 0}));
  terra.SetObjectSize(30);
  terra.SetOrigin(TVec3{0, 45.5f, 0});
  EXPECT_EQ(terra.GetGridStart(), (TznCentimetres{0, -1450, 0}));
  // An origin west of the terrain: the start is origin + size when that is
  // not above zero.
  terra.SetOrigin(TVec3{-50, -10, 0});
  EXPECT_EQ(terra.GetGridStart(), (TznCentimetres{-2000, -1000, 0}));
}

TEST(Terra, SelectionAndOriginFollowScales) {
  TznTerra terra;
  LoadStored(terra, 5, 3, [](int, int) { return 0; });
  terra.SetScaleX(2);
  terra.SetScaleY(3);
  terra.ResetSelection();
  terra.ResetOrigin();
  EXPECT_EQ(terra.FSideX, 8);
  EXPECT_EQ(terra.FSideY, 6);
  EXPECT_EQ(terra.FSelCentre, (TVec3{4, 3, 0}));
  EXPECT_EQ(terra.FOrigin, (TVec3{4, 3, 0}));
}
