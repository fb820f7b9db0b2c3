#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <string>

#include "base/znError.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraChunkCentral.h"

namespace fs = std::filesystem;

namespace {

std::string SamplePath() { return std::string(KALVOR_SAMPLES_DIR) + "/valley.ter"; }

// A flat terrain of n x n points 1 m apart at a raw height (stored raw / 10).
void LoadFlat(TznTerra& terra, int n, int16_t raw, const std::string& name = "flat.ter") {
  test::TerFile(n, n, 1, [raw](int, int) { return raw; }).Save(name);
  terra.LoadFromFile(name);
}

std::map<std::string, std::string> RwxFilesIn(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".rwx") files[e.path().filename().string()] = test::ReadFile(e.path().string());
  return files;
}

// Textures that tell when their composer is freed.
struct WatchedTextures : TznRWXComposerTextures {
  bool* freed;
  explicit WatchedTextures(bool* f) : freed(f) {}
  ~WatchedTextures() override { *freed = true; }
  size_t Count() const override { return 0; }
};

std::unique_ptr<TznRWXComposer> WatchedComposer(bool* freed) {
  auto composer = std::make_unique<TznRWXComposer>();
  composer->SetTextures(std::make_unique<WatchedTextures>(freed));
  return composer;
}

}  // namespace

TEST(RenderModes, DefaultsOfANewTerrain) {
  TznTerra terra;
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::Terragen);
  EXPECT_FLOAT_EQ(terra.GetLightAzimuth(), 225.0f);
  EXPECT_FLOAT_EQ(terra.GetLightElevation(), 60.0f);
  EXPECT_EQ(terra.FColor, 0xC0C0C0u);
  EXPECT_EQ(terra.SwapInWaitingComposer(), nullptr);
  EXPECT_EQ(terra.GetChunkCount(), 0);
}

TEST(RenderModes, SwitchingRebuildsOnlyBetweenBlocksAndObjects) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  EXPECT_EQ(terra.GetChunkCount(), 25);
  terra.TerraChunks().ChooseNear(128, 128);
  ASSERT_EQ(terra.TerraChunks().BuiltCount(), 9);

  terra.SetRenderMode(TznRenderMode::RWXPreview);  // builds the object grid, frees the block meshes
  EXPECT_EQ(terra.GetChunkCount(), 79 * 79);
  EXPECT_EQ(terra.TerraChunks().BuiltCount(), 0);
  EXPECT_EQ(terra.TerraChunks().Count(), 25);  // the blocks themselves stay
  terra.RWXChunks().Object(100).Build();
  const TznRWXChunk* object = &terra.RWXChunks().Object(100);

  terra.SetRenderMode(TznRenderMode::RWXTexture);  // nothing rebuilt
  EXPECT_EQ(&terra.RWXChunks().Object(100), object);
  EXPECT_EQ(object->State, TznRWXChunk::kBuilt);
  terra.SetRenderMode(TznRenderMode::RWXTexture);
  EXPECT_EQ(object->State, TznRWXChunk::kBuilt);

  terra.SetRenderMode(TznRenderMode::Terragen);  // objects let go of their meshes, blocks anew
  EXPECT_EQ(terra.GetChunkCount(), 25);
  EXPECT_EQ(terra.RWXChunks().Count(), 79 * 79);
  EXPECT_EQ(terra.RWXChunks().Object(100).State, TznRWXChunk::kNeverBuilt);
}

TEST(RenderModes, StoredNumbersNameTheModesInTheirOrder) {
  EXPECT_EQ(RenderModeOfNumber(0), TznRenderMode::Terragen);
  EXPECT_EQ(RenderModeOfNumber(1), TznRenderMode::RWXPreview);
  EXPECT_EQ(RenderModeOfNumber(2), TznRenderMode::RWXTexture);
  EXPECT_EQ(RenderModeNumber(TznRenderMode::RWXTexture), 2);
  EXPECT_EQ(RenderModeOfNumber(3), std::nullopt);  // no such mode
  EXPECT_EQ(RenderModeOfNumber(-1), std::nullopt);
}

// What the converter does: the object grid laid out and written while the
// blocks stay live and keep their meshes.
TEST(RenderModes, LayingOutAndWritingTheObjectsLeaveTheModeAlone) {
  TznTerra terra;
  LoadFlat(terra, 41, 1234, "lay.ter");
  terra.TerraChunks().ChooseNear(20, 20);
  const int built = terra.TerraChunks().BuiltCount();
  ASSERT_GT(built, 0);
  EXPECT_EQ(terra.RWXChunks().Count(), 0);
  terra.LayOutObjects();
  EXPECT_EQ(terra.RWXChunks().Count(), 25);  // 10 m objects over 40 m from 0 cm: 5 x 5
  EXPECT_EQ(terra.WriteObjects("lay/t", nullptr, {}).ObjectsWritten, 16);
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::Terragen);
  EXPECT_EQ(terra.GetChunkCount(), 1);
  EXPECT_EQ(terra.TerraChunks().BuiltCount(), built);
}

// The sample is 257 points; stretched to 20 m a step it spans 514000 cm
// along each axis. Objects of 10 cm, which only a caller of the core can
// ask for, would be at most (51400 + 2)^2 = 2642165604: more than an int
// numbers.
TEST(RenderModes, AnObjectGridBeyondItsBoundIsRefusedAndTheModeKept) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  terra.SetScaleX(20);
  terra.SetScaleY(20);
  terra.SetObjectSize(0.1f);
  try {
    terra.SetRenderMode(TznRenderMode::RWXPreview);
    FAIL() << "no error";
  } catch (const EznError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Too many objects! The terrain would be cut into up to 2642165604 objects of 0.1 m; "
              "the object grid holds no more than 2147483647.");
  }
  terra.SetScaleX(3);
  terra.SetScaleY(3);
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::Terragen);
  EXPECT_EQ(terra.GetChunkCount(), 25);
  terra.SetObjectSize(10);
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  EXPECT_EQ(terra.GetChunkCount(), 79 * 79);
}

TEST(RenderModes, LabelsSelectionAndViewDistanceByMode) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  std::string text;
  terra.GetChunkLabel(24, text);
  EXPECT_EQ(text, "25");
  terra.GetChunkLabel(25, text);
  EXPECT_EQ(text, "");
  terra.SelectChunk(3);  // no objects to highlight in mode 0
  EXPECT_EQ(terra.RWXChunks().SelectedIndex, -1);
  terra.SetViewDistance(120);
  EXPECT_FLOAT_EQ(terra.GetViewDistance(), 120.0f);

  terra.SetRenderMode(TznRenderMode::RWXTexture);
  // Object 0 has its centre at -100 cm, 385 m west and south of the origin
  // at 384 m: 38.5 decametres west rounds up to 39w, -38.5 north up to 38s.
  terra.GetChunkLabel(0, text);
  EXPECT_EQ(text, "38s39w.rwx");
  terra.SelectChunk(3);
  EXPECT_EQ(terra.RWXChunks().SelectedIndex, 3);
  terra.SelectChunk(-1);
  EXPECT_EQ(terra.RWXChunks().SelectedIndex, -1);
  EXPECT_FLOAT_EQ(terra.GetViewDistance(), 120.0f);  // kept by the rebuild
}

TEST(RenderModes, NothingChangesTheGridsWhileASaveRunIsOn) {
  TznTerra terra;
  LoadFlat(terra, 41, 1234, "run.ter");
  test::TerFile(11, 11, 1, [](int, int) { return int16_t{0}; }).Save("other.ter");
  const TznRWXChunk* first = nullptr;
  int calls = 0;
  terra.SaveRWX("run/t", nullptr, [&](int index, int, int64_t, bool&) {
    // What the windows could do from the events processed between objects.
    EXPECT_TRUE(terra.Saving());
    if (index == 0) first = &terra.RWXChunks().Object(0);
    terra.SetObjectSize(30);
    terra.RebuildChunks();
    terra.SetRenderMode(TznRenderMode::Terragen);
    EXPECT_THROW(terra.LoadFromFile("other.ter"), EznError);
    EXPECT_EQ(&terra.RWXChunks().Object(0), first);
    EXPECT_EQ(terra.FRenderMode, TznRenderMode::RWXPreview);
    ++calls;
  });
  EXPECT_FALSE(terra.Saving());
  EXPECT_EQ(calls, 25);  // 5 x 5 objects of 10 m, as laid out before the run
  EXPECT_EQ(RwxFilesIn("run").size(), 16u);
  EXPECT_EQ(terra.FXPoints, 41);
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::Terragen);  // back to the mode it had
}

TEST(RenderModes, SaveInModeZeroWritesLikeModeOneAndRebuildsTheBlocks) {
  TznTerra blocks;
  LoadFlat(blocks, 41, 1234, "a.ter");
  blocks.TerraChunks().ChooseNear(20, 20);
  ASSERT_GT(blocks.TerraChunks().BuiltCount(), 0);
  blocks.SaveRWX("blocks/t", nullptr, {});
  EXPECT_EQ(blocks.FRenderMode, TznRenderMode::Terragen);
  EXPECT_EQ(blocks.GetChunkCount(), 1);  // 41 points: one block
  EXPECT_EQ(blocks.TerraChunks().BuiltCount(), 0);
  EXPECT_EQ(blocks.RWXChunks().HeldCount(), 0);  // no object outlives the run

  TznTerra objects;
  LoadFlat(objects, 41, 1234, "b.ter");
  objects.SetRenderMode(TznRenderMode::RWXPreview);
  objects.RWXChunks().Object(2).Build();
  objects.SaveRWX("objects/t", nullptr, {});
  EXPECT_EQ(objects.FRenderMode, TznRenderMode::RWXPreview);
  EXPECT_EQ(objects.RWXChunks().Object(2).State, TznRWXChunk::kBuilt);

  // 41 points at 1 m with the origin at 20 m: objects start at 0 cm, 5 x 5
  // of them; those starting at 4000 cm lie past the last point and make no
  // triangles, so 4 x 4 are written.
  EXPECT_EQ(blocks.RWXChunks().Count(), 25);
  const auto a = RwxFilesIn("blocks"), b = RwxFilesIn("objects");
  EXPECT_EQ(a.size(), 16u);
  EXPECT_EQ(a, b);
}

TEST(RenderModes, ASecondComposerReplacesTheWaitingOne) {
  // The flags outlive the terrain: its destructor frees the last composer.
  bool first_freed = false, second_freed = false, third_freed = false;
  {
    TznTerra terra;
    terra.SetComposer(WatchedComposer(&first_freed));
    auto second = WatchedComposer(&second_freed);
    const TznRWXComposer* second_address = second.get();
    terra.SetComposer(std::move(second));
    EXPECT_TRUE(first_freed);
    EXPECT_FALSE(second_freed);
    EXPECT_EQ(terra.SwapInWaitingComposer(), second_address);

    terra.SetComposer(WatchedComposer(&third_freed));
    EXPECT_FALSE(second_freed);  // in use until the next mode-2 frame
    EXPECT_NE(terra.SwapInWaitingComposer(), second_address);
    EXPECT_TRUE(second_freed);
    EXPECT_FALSE(third_freed);
  }
  EXPECT_TRUE(third_freed);
}

TEST(Viewer, StandsAboveTheOriginAfterALoad) {
  TznTerra terra;
  LoadFlat(terra, 21, 1000);  // stored 100: 1 m everywhere
  // Origin at the centre (10 m, 10 m, 0 m): 1.5 m above the 1 m ground.
  EXPECT_FLOAT_EQ(terra.FViewer.GetX(), 10.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetZ(), -10.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), 2.5f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetYaw(), 0.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetPitch(), 0.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetW(), 1.0f);

  LoadFlat(terra, 21, -5000);  // -5 m: the origin's altitude 0 is high enough
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), 0.0f);
  terra.FViewer.SetY(-20);
  terra.KeepViewerAboveGround();
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), -3.5f);
}

TEST(Viewer, ClearPutsItAtZeroButKeepsModeSunAndColour) {
  TznTerra terra;
  LoadFlat(terra, 21, 1000);
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  terra.SetLightAzimuth(10);
  terra.SetColor(0x404040);
  terra.FViewer.SetYaw(30);
  terra.Clear();
  EXPECT_FLOAT_EQ(terra.FViewer.GetX(), 0.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), 0.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetZ(), 0.0f);
  EXPECT_FLOAT_EQ(terra.FViewer.GetYaw(), 0.0f);
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::RWXPreview);
  EXPECT_FLOAT_EQ(terra.GetLightAzimuth(), 10.0f);
  EXPECT_EQ(terra.FColor, 0x404040u);
}

TEST(Viewer, CentimetresRelativeToTheOriginBothWays) {
  TznTerra terra;
  terra.SetOrigin(TVec3{100, 200, 5});
  terra.SetRelative(false);  // does not matter here
  TznGLPositionDef viewer;
  terra.SetViewerFromCentimetres(150, -250, 300, 900, &viewer);
  EXPECT_FLOAT_EQ(viewer.GetX(), 102.5f);  // 2.5 m east is -250 cm west
  EXPECT_FLOAT_EQ(viewer.GetZ(), -201.5f);
  EXPECT_FLOAT_EQ(viewer.GetY(), 8.0f);
  EXPECT_FLOAT_EQ(viewer.GetYaw(), 90.0f);
  int north = 0, west = 0, altitude = 0, heading = 0;
  terra.GetViewerCentimetres(viewer, north, west, altitude, heading);
  EXPECT_EQ(north, 150);
  EXPECT_EQ(west, -250);
  EXPECT_EQ(altitude, 300);
  EXPECT_EQ(heading, 900);
  terra.SetViewerFromCentimetres(1, 2, 3, 4, nullptr);  // no viewer: nothing
}

TEST(Sun, AzimuthReducedAndDirectionTowardsTheSun) {
  TznTerra terra;
  terra.SetLightAzimuth(-90);
  EXPECT_FLOAT_EQ(terra.GetLightAzimuth(), 270.0f);
  terra.SetLightAzimuth(450);
  EXPECT_FLOAT_EQ(terra.GetLightAzimuth(), 90.0f);
  terra.SetLightElevation(-5);
  EXPECT_FLOAT_EQ(terra.GetLightElevation(), -5.0f);

  std::array<float, 4> v{};
  terra.SetLightAzimuth(0);
  terra.SetLightElevation(0);
  terra.GetLightDirection(v);  // north: -z
  EXPECT_NEAR(v[0], 0, 1e-5);
  EXPECT_NEAR(v[1], 0, 1e-5);
  EXPECT_NEAR(v[2], -10, 1e-5);
  EXPECT_EQ(v[3], 0.0f);
  terra.SetLightAzimuth(90);
  terra.SetLightElevation(30);
  terra.GetLightDirection(v);  // west, 30 degrees up
  EXPECT_NEAR(v[0], -10 * std::cos(std::numbers::pi / 6), 1e-4);
  EXPECT_NEAR(v[1], 5, 1e-4);
  EXPECT_NEAR(v[2], 0, 1e-4);
}

TEST(RenderModes, AFailedLoadLeavesNoGridOfTheOldTerrain) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  ASSERT_GT(terra.GetChunkCount(), 0);
  test::WriteFile("broken.ter", "TERRAGENTERRAIN SIZE");
  EXPECT_THROW(terra.LoadFromFile("broken.ter"), EznError);
  EXPECT_EQ(terra.GetChunkCount(), 0);
  terra.SetRenderMode(TznRenderMode::Terragen);
  EXPECT_EQ(terra.GetChunkCount(), 0);
}
