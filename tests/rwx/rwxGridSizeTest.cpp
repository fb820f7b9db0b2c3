// What the object grid costs before it builds an object, counted by the
// allocator of this test program, and the boxes it bounds from the heights.
#include <gtest/gtest.h>

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
