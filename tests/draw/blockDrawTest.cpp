#include <gtest/gtest.h>

#include "drawScene.h"
#include "terrain/znTerraChunkCentral.h"

namespace {

std::string SamplePath() { return std::string(KALVOR_SAMPLES_DIR) + "/valley.ter"; }

}  // namespace

TEST(BlockDraw, DrawsTheNearBlocksThatHaveTriangles) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  test::TerrainScene scene(terra);
  ASSERT_TRUE(scene.initialised);
  // Grid point (128, 128) of 3 m steps: nine blocks around it.
  scene.LookDownAt(384, 384, 200);
  scene.Frame();
  EXPECT_EQ(terra.GetDrawnCount(), 9);
  EXPECT_EQ(terra.TerraChunks().BuiltCount(), 9);
  for (int k = 0; k < 25; ++k) EXPECT_FALSE(terra.TerraChunks().Block(k).FVisible) << k;

  // At the north-east corner, (256, 256): six near blocks, two with
  // triangles; the last row and column are never drawn or counted.
  scene.LookDownAt(768, 768, 200);
  scene.Frame();
  EXPECT_EQ(terra.GetDrawnCount(), 2);
  EXPECT_EQ(terra.TerraChunks().BuiltCount(), 6);
  EXPECT_TRUE(scene.glErrors.empty()) << scene.glErrors.front();
}

TEST(BlockDraw, GreyBlocksUnderTheirSelectionNames) {
  TznTerra terra;
  test::LoadTerrain(terra, 129, [](int, int) { return int16_t{0}; });
  test::TerrainScene scene(terra);
  ASSERT_TRUE(scene.initialised);
  // 129 points: blocks from 0, 64 and 128 in three rows. Grid point (70, 20)
  // lies in the block with X 65..128, Y 0..63: index 1, name 2.
  scene.LookDownAt(70, 20, 10);
  scene.Frame();
  const auto pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], test::Shown(128), 1);  // ambient $808080
  EXPECT_NEAR(pixel[1], test::Shown(128), 1);
  EXPECT_NEAR(pixel[2], test::Shown(128), 1);
  const TznGLHit hit = scene.PickCentre();
  ASSERT_EQ(hit.NameCount, 2u);
  EXPECT_EQ(hit.Names[0], 1u);  // the terrain
  EXPECT_EQ(hit.Names[1], 2u);
}
