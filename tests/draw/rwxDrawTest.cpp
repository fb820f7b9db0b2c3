#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "draw/znComposerTextures.h"
#include "draw/znRWXChunkCentralDraw.h"
#include "drawScene.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "scene/pictureFiles.h"

namespace {

// 41 x 41 points at 1 m, flat at 0 m, origin at (20 m, 20 m): objects of
// 10 m from 0 cm, five columns and rows (the last ones past the last point),
// drawn in the given mode.
void LoadFlat(TznTerra& terra, TznRenderMode mode) {
  test::LoadTerrain(terra, 41, [](int, int) { return int16_t{0}; });
  terra.SetRenderMode(mode);
}

std::unique_ptr<TznRWXMaterial> ColourMaterial(int r, int g, int b) {
  auto m = std::make_unique<TznRWXMaterial>();
  m->SetColor(RGBToColor(r, g, b));
  m->SetUseColor(true);
  return m;
}

// Pair 1: faces whose lowest vertex lies at most `high` metres up, in red
// (200, 0, 0); last pair: the basic material in blue (0, 0, 200).
std::unique_ptr<TznRWXComposer> LowAndRest(float high) {
  auto composer = std::make_unique<TznRWXComposer>();
  auto low = std::make_unique<TznRWXFaceFilter>();
  low->SetUseHigh(true);
  low->SetHigh(high);
  composer->Add(std::move(low), ColourMaterial(200, 0, 0));
  composer->Add(std::make_unique<TznRWXFaceFilter>(), ColourMaterial(0, 0, 200));
  return composer;
}

// A default ambient of 0.6 turns 200 into Round(120) for the preview.
constexpr int kFilterShade = 120;

std::vector<std::string> WithText(const std::vector<std::string>& lines, const std::string& part) {
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.find(part) != std::string::npos) found.push_back(line);
  return found;
}

}  // namespace

// Each test's terrain, and an offscreen scene drawing it as the preview does.
class RWXDraw : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scene.initialised); }

  TznTerra terra;
  test::TerrainScene scene{terra};
};

TEST_F(RWXDraw, PickedNameIsTheObjectUnderTheScreenCentre) {
  LoadFlat(terra, TznRenderMode::RWXPreview);
  ASSERT_EQ(terra.RWXChunks().Columns, 5);
  // 25.5 m east, 13.5 m north: column 2 (2001..3000 cm), row 1 (1000..1999
  // cm): index 1 * 5 + 2 = 7, selection name 8.
  scene.LookDownAt(25.5f, 13.5f, 8);
  scene.Frame();
  EXPECT_GT(terra.GetDrawnCount(), 0);
  const TznGLHit hit = scene.PickCentre();
  ASSERT_EQ(hit.NameCount, 2u);
  EXPECT_EQ(hit.Names[0], 1u);
  EXPECT_EQ(hit.Names[1], 8u);
  std::string label;
  terra.GetChunkLabel(static_cast<int>(hit.Names[1]) - 1, label);
  EXPECT_EQ(label, terra.RWXChunks().FileNameOf(7));
}

TEST_F(RWXDraw, PlainColoursAndTheSelectedObjectsOwn) {
  LoadFlat(terra, TznRenderMode::RWXPreview);
  scene.LookDownAt(25.5f, 13.5f, 8);
  scene.Frame();
  auto pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], test::Shown(92), 1);  // main faces: ambient 92, 64, 32
  EXPECT_NEAR(pixel[1], test::Shown(64), 1);
  EXPECT_NEAR(pixel[2], test::Shown(32), 1);

  terra.SelectChunk(7);
  scene.Frame();
  pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], test::Shown(64), 1);  // selected: 64, 92, 32
  EXPECT_NEAR(pixel[1], test::Shown(92), 1);

  // Mode 2 without a composer draws exactly like mode 1.
  terra.SetRenderMode(TznRenderMode::RWXTexture);
  terra.SelectChunk(7);
  scene.Frame();
  pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], test::Shown(64), 1);
  EXPECT_NEAR(pixel[1], test::Shown(92), 1);

  // With a composer the selected object looks like any other.
  terra.SetComposer(LowAndRest(5));
  scene.Frame();
  pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], test::Shown(kFilterShade), 1);
  EXPECT_NEAR(pixel[1], 0, 1);
  EXPECT_NEAR(pixel[2], 0, 1);
  EXPECT_TRUE(scene.glErrors.empty()) << scene.glErrors.front();
}

TEST_F(RWXDraw, ComposedFacesTakeTheirPairsColour) {
  LoadFlat(terra, TznRenderMode::RWXTexture);
  terra.SetComposer(LowAndRest(-1));  // no face this low: all go to the rest
  scene.LookDownAt(15, 15, 8);
  scene.Frame();
  auto pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], 0, 1);
  EXPECT_NEAR(pixel[2], test::Shown(kFilterShade), 1);

  terra.SetComposer(LowAndRest(5));
  scene.Frame();
  pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], test::Shown(kFilterShade), 1);
  EXPECT_NEAR(pixel[2], 0, 1);
  EXPECT_GT(terra.GetDrawnCount(), 0);
}

TEST_F(RWXDraw, ObjectsTheFirstPairClaimedWholeAreSkippedLater) {
  // 21 x 21 points at 1 m; 0 m up to x = 10 m, 10 m east of it. Objects
  // from 0 cm, three columns; the third lies past the last point. With a
  // view range of 0 the four objects 0, 1, 3, 4 are drawn: column 0 is all
  // low, column 1 only low along its west strip.
  test::LoadTerrain(terra, 21, [](int i, int) { return int16_t(i <= 10 ? 0 : 10000); });
  terra.SetRenderMode(TznRenderMode::RWXTexture);
  terra.SetViewDistance(0);
  ASSERT_EQ(terra.RWXChunks().Columns, 3);
  std::unique_ptr<TznRWXComposer> composer = LowAndRest(5);
  scene.LookDownAt(10, 10, 30);
  // In the selection pass without a name on the stack every glLoadName
  // fails: the error names the step after each object's name.
  TznRWXPreviewMaterials materials;
  scene.reality.SetOnPaint([&](TznGLReality& r) {
    glInitNames();
    TznGLSphere sphere;
    r.GetViewSphere(sphere);
    DrawComposed(terra.RWXChunks(), r, 1000, composer.get(), sphere, 1000, materials);
  });
  scene.Frame();  // the objects built, as the window's frames would
  scene.PickCentre();
  const auto first = WithText(scene.glErrors, "Filter 1, after glLoadName(");
  const auto second = WithText(scene.glErrors, "Filter 2, after glLoadName(");
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(first[0].substr(0, first[0].find(':')),
            "In object loop (2), Filter 1, after glLoadName(1), before Object 1 of 4");
  EXPECT_NE(first[3].find("glLoadName(5), before Object 4 of 4"), std::string::npos);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0].substr(0, second[0].find(':')),
            "In object loop (2), Filter 2, after glLoadName(2), before Object 1 of 4");
  EXPECT_NE(second[1].find("glLoadName(5), before Object 2 of 4"), std::string::npos);
  EXPECT_EQ(terra.RWXChunks().DrawnCount, 4);
  // Every face is claimed by the end: no object is left visible.
  for (int i : {0, 1, 3, 4}) {
    EXPECT_TRUE(terra.RWXChunks().Object(i).Done) << i;
    EXPECT_FALSE(terra.RWXChunks().Object(i).Visible) << i;
  }
}

TEST_F(RWXDraw, ViewRangeChoosesBuildsAndReleases) {
  test::LoadTerrain(terra, 101, [](int, int) { return int16_t{0}; });  // 100 m
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  terra.SetViewDistance(10);  // one step of 10 m each way
  TznRWXChunkCentral& grid = terra.RWXChunks();
  const int columns = grid.Columns;
  ASSERT_EQ(columns, 11);  // from 0 cm: the origin at 50 m is on an edge
  auto built = [&] {
    int n = 0;
    for (int i = 0; i < grid.Count(); ++i) n += grid.HeldObject(i) && grid.HeldObject(i)->State == TznRWXChunk::kBuilt;
    return n;
  };
  // Probes at 35, 45 and 55 m (and the same north) reach three columns and
  // three rows.
  scene.LookDownAt(45, 45, 30);
  scene.Frame();
  EXPECT_EQ(built(), 9);
  EXPECT_EQ(terra.GetDrawnCount(), 9);
  // Walking away releases them all and builds the next nine.
  scene.LookDownAt(85, 15, 30);
  scene.Frame();
  EXPECT_EQ(built(), 9);
  for (int i = 0; i < grid.Count(); ++i) {
    if (grid.HeldObject(i)) {
      EXPECT_GE(grid.HeldObject(i)->X0 + grid.SizeX, 7500);
    }
  }
  // With a range of 0 every object is a candidate, but only those whose
  // box reaches into the view sphere are built: far away, none is, and
  // the nine built stay.
  terra.SetViewDistance(0);
  scene.LookDownAt(20000, 20000, 30);
  scene.Frame();
  EXPECT_EQ(built(), 9);
  EXPECT_EQ(terra.GetDrawnCount(), 0);
}

TEST_F(RWXDraw, WireframeDropsTheTexture) {
  test::WriteJpeg("grass.jpg", 16, 16, 0, 250, 0);
  LoadFlat(terra, TznRenderMode::RWXTexture);
  auto make = [](TznGeometrysampling sampling) {
    auto composer = std::make_unique<TznRWXComposer>();
    auto basic = ColourMaterial(200, 0, 0);
    basic->SetUseTexture(true);
    basic->SetTexture("Grass");
    basic->SetGeometrysampling(sampling);
    composer->Add(std::make_unique<TznRWXFaceFilter>(), std::move(basic));
    composer->SetTextureFolder("./");
    LoadTextures(*composer);
    return composer;
  };
  scene.LookDownAt(15, 15, 8);
  TznRWXPreviewMaterials materials;
  std::unique_ptr<TznRWXComposer> composer = make(gsSolid);
  GLint mode[2] = {0, 0};
  bool textured = false;
  scene.reality.SetOnPaint([&](TznGLReality& r) {
    TznGLSphere sphere;
    r.GetViewSphere(sphere);
    DrawComposed(terra.RWXChunks(), r, 1500, composer.get(), sphere, 1500, materials);
    glGetIntegerv(GL_POLYGON_MODE, mode);
    textured = glIsEnabled(GL_TEXTURE_2D);
  });
  scene.Frame();
  EXPECT_TRUE(textured);
  EXPECT_EQ(mode[0], GL_FILL);
  auto pixel = scene.Pixel(32, 32);  // green picture times the main material
  EXPECT_GT(pixel[1], pixel[0] + 20);

  composer = make(gsWireframe);
  scene.Frame();
  EXPECT_FALSE(textured);
  EXPECT_EQ(mode[0], GL_LINE);
  EXPECT_TRUE(scene.glErrors.empty()) << scene.glErrors.front();
}

TEST_F(RWXDraw, NothingWhileBusyOrEmpty) {
  LoadFlat(terra, TznRenderMode::RWXPreview);
  scene.LookDownAt(15, 15, 8);
  terra.RWXChunks().Busy = true;
  scene.Frame();
  EXPECT_EQ(terra.GetDrawnCount(), 0);
  EXPECT_EQ(terra.RWXChunks().HeldCount(), 0);
  const auto pixel = scene.Pixel(32, 32);
  EXPECT_NEAR(pixel[0], 128, 1);  // the clear colour
  terra.RWXChunks().Busy = false;
}
