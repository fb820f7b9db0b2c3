// What the object grid costs before it builds an object, counted by the
// allocator of this test program, and the boxes it bounds from the heights.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "rwx/znRWXChunkCentral.h"
#include "support/countingNew.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"

TEST(RWXGridSize, TenMillionPositionsCostLessThanFiftyMegabytesBeforeAnyIsBuilt) {
  TznTerra terra;
  test::TerFile(1001, 1001, 1, [](int i, int j) { return int16_t((i * 7 + j * 3) % 500); }).Save("wide.ter");
  ASSERT_TRUE(terra.LoadFromFile("wide.ter"));
  // 1000 m cut into objects of 31 cm: 100100 / 31 = 3229.03, so about 3230
  // columns and as many rows, 10.4 million positions.
  terra.SetObjectSize(0.31f);
  const int64_t before = g_allocated;
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  const TznRWXChunkCentral& grid = terra.RWXChunks();
  EXPECT_FALSE(grid.FileNameOf(grid.Count() - 1).empty());
  const int64_t spent = g_allocated - before;
  EXPECT_GE(grid.Count(), 10'000'000);
  EXPECT_EQ(grid.HeldCount(), 0);
  EXPECT_LT(spent, 50'000'000);
  EXPECT_LT(grid.LayoutBytes(), 1'000'000u);  // the heights' bounds: 126 x 126 blocks and coarser
}

// 41 x 41 points 1 m apart rising 10 units a metre to the east; 10 m
// objects from 0 cm, 5 x 5 of them. The box of an object reaches over the
// points one step around its square, taken in whole blocks of 8 points.
TEST(RWXGridSize, BoxesFromTheHeightsHoldTheBuiltMeshes) {
  TznTerra terra;
  test::TerFile(41, 41, 1, [](int i, int) { return int16_t(100 + 10 * i); }).Save("east.ter");
  ASSERT_TRUE(terra.LoadFromFile("east.ter"));
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  ASSERT_EQ(grid.Columns, 5);
  ASSERT_EQ(grid.Rows, 5);
  const auto metres = [&](int column) { return terra.Metres(terra.GetHeight(column, 0)); };
  struct Case {
    int index;
    double low, high;  // metres
  } cases[] = {
      // Inner object 6 (no skirt), 10..20 m east: points 9..21, blocks 8..23.
      {6, metres(8), metres(23)},
      // Object 0, 0..10 m with west and south skirts: points 0..11, blocks
      // 0..15, the skirts down to the lowest point, which is point 0.
      {0, metres(0), metres(15)},
      // Object 13, 30..40 m, east skirt: points 29..40 (the last), blocks 24..40.
      {13, metres(0), metres(40)},
  };
  for (const Case& c : cases) {
    TVec3 lo, hi;
    ASSERT_TRUE(grid.BoxOf(c.index, lo, hi));
    EXPECT_NEAR(lo.y, c.low, 0.01) << c.index;
    EXPECT_NEAR(hi.y, c.high, 0.01) << c.index;
    TznRWXChunk& object = grid.Object(c.index);
    object.Build();
    ASSERT_GT(object.FaceCount(), 0u);
    for (const TVec3& v : object.Mesh.Vertices)
      for (int k = 0; k < 3; ++k) {
        EXPECT_LE(lo[k], v[k]) << c.index << " axis " << k;
        EXPECT_GE(hi[k], v[k]) << c.index << " axis " << k;
      }
  }
}

// 201 x 201 points 1 m apart, flat: 200 m cut into 10 m objects of 10 x 10
// cells, 21 x 21 of them, each inner one 200 triangles. At "maximum" with a
// view sphere over the whole grid every object is wanted, far more than a
// budget of 1 MB holds (an inner object takes some 25 kB with its arrays).
// Each frame builds 2000 triangles: ten inner objects.
TEST(RWXGridSize, MaximumBuildsTheNearestFirstOverSeveralFramesWithinTheBudget) {
  TznTerra terra;
  test::TerFile(201, 201, 1, [](int, int) { return int16_t{0}; }).Save("flat.ter");
  ASSERT_TRUE(terra.LoadFromFile("flat.ter"));
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  terra.SetViewDistance(0);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  ASSERT_EQ(grid.Columns, 21);
  grid.Budget.Bytes = 1'000'000;
  grid.Budget.BuildTriangles = 2000;
  grid.Budget.BuildSeconds = 1e9;  // no clock: the triangles alone bound a frame
  // The objects by their distance from the viewer, nearest first (the lower
  // index first at the same distance), from the centres of their squares.
  const auto by_distance = [&](int32_t east, int32_t north) {
    std::vector<std::pair<int64_t, int>> order;
    for (int i = 0; i < grid.Count(); ++i) {
      const int64_t de = grid.GridX0 + int64_t{i % 21} * 1000 + 500 - east;
      const int64_t dn = grid.GridZ0 + int64_t{i / 21} * 1000 + 500 - north;
      order.emplace_back(de * de + dn * dn, i);
    }
    std::sort(order.begin(), order.end());
    return order;
  };
  const auto built = [&] {
    std::set<int> held;
    for (int i = 0; i < grid.Count(); ++i)
      if (grid.HeldObject(i) && grid.HeldObject(i)->State == TznRWXChunk::kBuilt) held.insert(i);
    return held;
  };
  // The frames until nothing waits; each holds no more than the budget.
  std::vector<size_t> counts;
  const auto settle = [&](int32_t east, int32_t north) {
    counts.clear();
    const TVec3 centre{east / 100.0f, 0, -north / 100.0f};
    do {
      grid.ChooseObjects(east, north, centre, 1e12);
      EXPECT_LE(grid.HeldBytes(), grid.Budget.Bytes);
      EXPECT_EQ(grid.WantedCount(), grid.Count());
      const std::set<int> held = built();
      for (int i : grid.Shown()) EXPECT_TRUE(held.count(i)) << i;
      counts.push_back(grid.Shown().size());
    } while (grid.BuildPending() && counts.size() < 100);
  };
  const auto nearest = [&](int32_t east, int32_t north, size_t count) {
    const auto order = by_distance(east, north);
    std::set<int> first;
    for (size_t k = 0; k < count; ++k) first.insert(order[k].second);
    return first;
  };
  // From the centre: ten objects a frame, the nearest first, until the
  // budget is full.
  settle(10000, 10000);
  ASSERT_GT(counts.size(), 2u);
  EXPECT_EQ(counts[0], 10u);
  EXPECT_EQ(counts[1], 20u);
  const std::set<int> shown(grid.Shown().begin(), grid.Shown().end());
  EXPECT_GT(shown.size(), 20u);
  EXPECT_LT(shown.size(), 50u);
  EXPECT_EQ(shown, nearest(10000, 10000, shown.size()));
  EXPECT_EQ(built(), shown);
  // Walking to the south-west corner, the nearest take the room of the far
  // ones: the object under the old place (row 10, column 10) goes.
  settle(500, 500);
  EXPECT_GT(counts.size(), 2u);
  const std::set<int> corner(grid.Shown().begin(), grid.Shown().end());
  EXPECT_GT(corner.size(), 20u);
  EXPECT_EQ(corner, nearest(500, 500, corner.size()));
  EXPECT_EQ(grid.HeldObject(10 * 21 + 10), nullptr);
}
