#include <gtest/gtest.h>

#include "terrain/znTerra.h"
#include "tools/znTerGenerator.h"

TEST(TerGenerator, WritesALoadableTerrainWithALakeBelowZero) {
  TznTerGeneratorOptions options;
  options.points = 65;
  options.scale = 4;
  WriteTerragen("gen.ter", options);
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile("gen.ter"));
  EXPECT_EQ(terra.FXPoints, 65);
  EXPECT_EQ(terra.FYPoints, 65);
  EXPECT_EQ(terra.FScaleX, 4);
  // Height factor 3 at 4 m a step: ALTW = round(65.536 x 3 / 4) = 49, and
  // SCAL z = 49 x 4 x 1000 / 65536 = 2.99072 m, at which GDAL's metres
  // (4 x raw x 49 / 65536) are ours (raw / 1000 x 2.99072).
  EXPECT_EQ(terra.FHeightScale, 49);
  EXPECT_NEAR(terra.FScaleZ, 2.99072, 1e-5);
  EXPECT_LT(terra.Metres(terra.GetLowest()), 0);
  EXPECT_GT(terra.Metres(terra.GetHighest()), 20);
}
