#include <gtest/gtest.h>

#include <string>

#include "rwx/znRWXChunkCentral.h"
#include "support/terFiles.h"
#include "views/znPreviewText.h"

namespace {

const std::string kSamples = KALVOR_SAMPLES_DIR;

TznGLHit Hit(std::initializer_list<uint32_t> names) {
  TznGLHit hit;
  hit.NameCount = static_cast<uint32_t>(names.size());
  std::copy(names.begin(), names.end(), hit.Names.begin());
  return hit;
}

}  // namespace

TEST(PreviewCaption, ShowsThePlaceRelativeToTheOriginWithTheSidesBySign) {
  TznTerra terra;  // empty: no grid entries, water at stored -1000 = -10 m
  terra.SetOrigin(TVec3{100, 200, 0});
  TznGLPositionDef camera;
  camera.SetXYZ(103, 12, -215);  // 3 m east and 15 m north of the origin
  camera.SetYaw(45);
  camera.SetPitch(-10);
  EXPECT_EQ(PreviewCaption(terra, camera), "1.500n 0.300e 12.00m (22.00m) NW 45.0\u00B0, pitch -10.0\u00B0  # 0/0");

  camera.SetXYZ(95, 2.5f, -175);  // 5 m west and 25 m south
  camera.SetYaw(180);
  camera.SetPitch(0);
  EXPECT_EQ(PreviewCaption(terra, camera), "2.500s 0.500w 2.50m (12.50m) S 180.0\u00B0, pitch 0.0\u00B0  # 0/0");

  terra.SetRelative(false);  // the same place in terrain coordinates
  terra.SetWaterLevel(200);  // 2 m
  EXPECT_EQ(PreviewCaption(terra, camera), "17.500n 9.500e 2.50m (0.50m) S 180.0\u00B0, pitch 0.0\u00B0  # 0/0");
}

TEST(PreviewPicking, NamesWaterMarkerAndTerrainObjects) {
  TznTerra terra;
  terra.LoadFromFile(kSamples + "/valley.ter");
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  ASSERT_GT(terra.GetChunkCount(), 5);

  EXPECT_EQ(PickedObject(Hit({2}), terra).Text, "water");
  EXPECT_EQ(PickedObject(Hit({3}), terra).Text, "GZ mark");
  EXPECT_EQ(PickReport(PickedObject(Hit({2}), terra)), "Object clicked: water");
  EXPECT_EQ(PickReport(PickedObject(Hit({3}), terra)), "Object clicked: GZ mark");

  const TznPickedObject object = PickedObject(Hit({1, 5}), terra);  // the object of index 4
  std::string label;
  terra.GetChunkLabel(4, label);
  EXPECT_FALSE(label.empty());
  EXPECT_EQ(object.Text, label);
  EXPECT_EQ(object.ChunkIndex, 4);
  EXPECT_EQ(PickReport(object), "Object clicked: " + label);

  // No hit, terrain without an object name, and names that mean nothing.
  for (const TznGLHit& hit : {Hit({}), Hit({1}), Hit({1, 0}), Hit({0}), Hit({7, 3})}) {
    const TznPickedObject nothing = PickedObject(hit, terra);
    EXPECT_EQ(nothing.Text, "");
    EXPECT_EQ(nothing.ChunkIndex, -1);
    EXPECT_EQ(PickReport(nothing), "");
  }
}

TEST(PreviewVisibility, ChecksTheItemOfTheRoundedDistanceElseMaximum) {
  EXPECT_EQ(VisibilityItemOf(20), 0);
  EXPECT_EQ(VisibilityItemOf(50.4f), 3);
  EXPECT_EQ(VisibilityItemOf(19.6f), 0);
  EXPECT_EQ(VisibilityItemOf(120), 10);
  EXPECT_EQ(VisibilityItemOf(45), kMaximumVisibilityItem);
  EXPECT_EQ(VisibilityItemOf(0), kMaximumVisibilityItem);
  EXPECT_EQ(VisibilityItemOf(130), kMaximumVisibilityItem);
  EXPECT_EQ(VisibilityItemOf(1e30f), kMaximumVisibilityItem);
  EXPECT_EQ(VisibilityItemMetres(0), 20);
  EXPECT_EQ(VisibilityItemMetres(10), 120);
  EXPECT_EQ(VisibilityItemMetres(kMaximumVisibilityItem), 0);
}

// 41 x 41 points 1 m apart, flat: 5 x 5 objects of 10 m from 0 cm, the
// last column and row past the last point and empty. The four around the
// viewer at (20 m, 20 m) are inner objects of 200 triangles, the nearest.
TEST(PreviewObjectsShown, CountsTheShownOfTheWantedInTheRWXModes) {
  TznTerra terra;
  test::TerFile(41, 41, 1, [](int, int) { return int16_t{0}; }).Save("flat.ter");
  ASSERT_TRUE(terra.LoadFromFile("flat.ter"));
  EXPECT_EQ(ObjectsShownText(terra), "");  // "Terragen"
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  terra.SetViewDistance(0);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  ASSERT_EQ(grid.Count(), 25);
  grid.Budget.BuildTriangles = 800;
  grid.Budget.BuildSeconds = 1e9;
  const auto frame = [&] { grid.DrawnCount = grid.ChooseObjects(2000, 2000, TVec3{20, 0, -20}, 1e12); };
  frame();
  EXPECT_EQ(ObjectsShownText(terra), "4 of 25 objects shown");
  EXPECT_TRUE(ObjectsWaiting(terra));
  for (int k = 0; k < 10 && ObjectsWaiting(terra); ++k) frame();
  EXPECT_EQ(ObjectsShownText(terra), "16 of 16 objects shown");  // the nine empty ones are found out
}

TEST(PreviewFrameRate, IsFramesPerSecondWithTwoDecimals) {
  const double second = 1.0 / 86400;
  EXPECT_EQ(FrameRateText(10, 10 + 0.5 * second), "2.00");
  EXPECT_EQ(FrameRateText(10, 10 + 3 * second), "0.33");
  EXPECT_EQ(FrameRateText(10, 10), "");  // no time passed: nothing to show
}

TEST(PreviewTeleport, ReadsTheValuesGivenAndKeepsTheOthers) {
  TznTerra terra;
  terra.SetOrigin(TVec3{100, 200, 0});
  terra.FViewer.SetXYZ(100, 7, -200);  // at the origin, 7 m up, heading 30
  terra.FViewer.SetYaw(30);

  TeleportViewer(terra, "1.5n 2e 90");  // 15 m north, 20 m east, heading 90
  EXPECT_FLOAT_EQ(terra.FViewer.GetX(), 120);
  EXPECT_FLOAT_EQ(terra.FViewer.GetZ(), -215);
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), 7);
  EXPECT_FLOAT_EQ(terra.FViewer.GetYaw(), 90);

  TeleportViewer(terra, "3a");
  EXPECT_FLOAT_EQ(terra.FViewer.GetX(), 120);
  EXPECT_FLOAT_EQ(terra.FViewer.GetZ(), -215);
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), 3);

  TeleportViewer(terra, "nowhere at all");  // nothing to read: the viewer stays
  EXPECT_FLOAT_EQ(terra.FViewer.GetX(), 120);
  EXPECT_FLOAT_EQ(terra.FViewer.GetZ(), -215);
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), 3);
  EXPECT_FLOAT_EQ(terra.FViewer.GetYaw(), 90);
}
