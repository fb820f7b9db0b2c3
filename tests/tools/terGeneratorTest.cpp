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
  EXPECT_EQ(terra.FScaleZ, 3);
  EXPECT_LT(terra.Metres(terra.GetLowest()), 0);
  EXPECT_GT(terra.Metres(terra.GetHighest()), 20);
}
