#include <gtest/gtest.h>

#include <filesystem>

#include "base/znError.h"
#include "rwx/znRWXChunkCentral.h"
#include "support/terFiles.h"
#include "support/testFiles.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

std::string ValleyPath() { return std::string(KALVOR_SAMPLES_DIR) + "/valley.ter"; }

// 21 x 21 points 1 m apart, rising to the east: 20 m x 20 m.
void LoadSmall(TznTerra& terra) {
  test::TerFile(21, 21, 1, [](int i, int) { return static_cast<int16_t>(100 + 10 * i); }).Save("small.ter");
  terra.LoadFromFile("small.ter");
}

int CountFiles(const std::string& folder, const std::string& extension) {
  int n = 0;
  if (!fs::exists(folder)) return 0;
  for (auto& e : fs::directory_iterator(folder)) n += e.path().extension() == extension;
  return n;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace

TEST(RWXGrid, LayoutAndEdgeFlagsOnTheSample) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(ValleyPath()));
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  // 257 points at 3 m: extent 77100 cm. Origin 384 m: the grid starts at
  // 38400 + 1000 brought below zero, -600. The last column starts at the
  // first step at or beyond 77100 - 101 = 76999: -600 + 78 * 1000 = 77400.
  EXPECT_EQ(grid.GridX0, -600);
  EXPECT_EQ(grid.GridZ0, -600);
  EXPECT_EQ(grid.ExtentX, 77100);
  EXPECT_EQ(grid.CellsPer10mX, 10);
  EXPECT_EQ(grid.Columns, 79);
  ASSERT_EQ(grid.Count(), 79 * 79);
  EXPECT_EQ(grid.Object(0).EdgeFlags, 1 + 8);
  EXPECT_EQ(grid.Object(1).EdgeFlags, 8);
  EXPECT_EQ(grid.Object(77).EdgeFlags, 2 + 8);  // the column before the last
  EXPECT_EQ(grid.Object(78).EdgeFlags, 8);
  EXPECT_EQ(grid.Object(79).EdgeFlags, 1);
  EXPECT_EQ(grid.Object(77 * 79 + 77).EdgeFlags, 2 + 4);
  EXPECT_EQ(grid.Object(78 * 79).X0, -600);
  EXPECT_EQ(grid.Object(78 * 79).Z0, 77400);
  EXPECT_EQ(grid.SelectedIndex, -1);
  // The origin lies on an object edge: object (39, 39) starts there.
  EXPECT_EQ(grid.Object(39 * 79 + 39).X0, 38400);
  EXPECT_EQ(grid.FileNameOf(39 * 79 + 39), "1n0w.rwx");  // centre 5 m east: 0 counts as west
  EXPECT_EQ(grid.FileNameOf(-1), "");
  EXPECT_EQ(grid.FileNameOf(79 * 79), "");
}

TEST(RWXGrid, ViewDistanceSteps) {
  TznTerra terra;
  TznRWXChunkCentral& grid = terra.RWXChunks();
  EXPECT_EQ(grid.ViewRange, 5);
  grid.SetViewDistance(45);  // 4.5 rounds to even 4
  EXPECT_EQ(grid.ViewRange, 4);
  EXPECT_EQ(grid.ViewDistance(), 40);
  grid.SetViewDistance(500);
  EXPECT_EQ(grid.ViewRange, 12);
  grid.SetViewDistance(-20);
  EXPECT_EQ(grid.ViewRange, 0);
}

TEST(RWXGrid, WritesEveryObjectWithTrianglesAndTheList) {
  TznTerra terra;
  LoadSmall(terra);
  terra.SetVertices(2);
  std::vector<int> seen;
  TznRWXWriteStats stats =
      terra.SaveRWX("out/hill", nullptr, [&](int index, int count, int64_t, bool&) { seen.push_back(index * 100 + count); });
  // Origin 10 m: grid start -1000 + 1000 brought to 0, so objects at 0, 10
  // and 20 m along both axes; the third row and column lie beyond 20 m.
  EXPECT_EQ(seen.size(), 9u);
  EXPECT_EQ(seen.front(), 9);
  EXPECT_EQ(seen.back(), 809);
  EXPECT_EQ(stats.ObjectsWritten, 4);
  EXPECT_FALSE(stats.Stopped);
  EXPECT_EQ(CountFiles("out", ".rwx"), 4);
  const std::vector<std::string> list = Lines(test::ReadFile("out/hill.prp"));
  ASSERT_EQ(list.size(), 4u);
  // Object 0 has its centre 5 m west and 5 m south of the origin.
  EXPECT_TRUE(list[0].ends_with(" 500 0 -500 0 12 0 0 hill0n1w.rwx")) << list[0];
  EXPECT_TRUE(list[3].ends_with(" -500 0 500 0 12 0 0 hill1n0w.rwx")) << list[3];
  const std::string model = test::ReadFile("out/hill0n1w.rwx");
  EXPECT_TRUE(model.starts_with("ModelBegin\r\n  ClumpBegin\r\n"));
  EXPECT_TRUE(model.ends_with("  ClumpEnd\r\nModelEnd\r\n"));
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::Terragen);  // the run goes through mode 1 and back
  EXPECT_FALSE(terra.RWXChunks().Busy);
}

TEST(RWXGrid, StopAtTheFirstObjectWritesAnEmptyList) {
  TznTerra terra;
  LoadSmall(terra);
  TznRWXWriteStats stats = terra.SaveRWX("stop/hill", nullptr, [](int, int, int64_t, bool& go_on) { go_on = false; });
  EXPECT_TRUE(stats.Stopped);
  EXPECT_EQ(CountFiles("stop", ".rwx"), 0);
  EXPECT_EQ(test::ReadFile("stop/hill.prp"), "");
  EXPECT_TRUE(fs::exists("stop/hill.prp"));
}

TEST(RWXGrid, StopBeforeObjectKKeepsWhatWasWritten) {
  TznTerra terra;
  LoadSmall(terra);
  terra.SetVertices(2);
  TznRWXWriteStats stats = terra.SaveRWX("part/hill", nullptr, [](int index, int, int64_t, bool& go_on) { go_on = index < 4; });
  // Objects 0, 1 (row 0) and 3 (row 1) have triangles; 2 lies beyond.
  EXPECT_EQ(stats.ObjectsWritten, 3);
  EXPECT_EQ(CountFiles("part", ".rwx"), 3);
  EXPECT_EQ(Lines(test::ReadFile("part/hill.prp")).size(), 3u);
}

TEST(RWXGrid, BaseNameWithAnExtensionIsAPlainPrefix) {
  TznTerra terra;
  LoadSmall(terra);
  terra.SetVertices(2);
  terra.SaveRWX("hill.txt", nullptr, {});
  EXPECT_TRUE(fs::exists("hill.txt0n1w.rwx"));
  EXPECT_TRUE(fs::exists("hill.txt.prp"));
}

TEST(RWXGrid, UnwritablePathStopsTheRunWithoutAList) {
  TznTerra terra;
  LoadSmall(terra);
  test::WriteFile("blocker", "a file where a folder should be");
  EXPECT_THROW(terra.SaveRWX("blocker/hill", nullptr, {}), EznFileError);
  EXPECT_FALSE(terra.RWXChunks().Busy);
  EXPECT_EQ(terra.FRenderMode, TznRenderMode::Terragen);
  EXPECT_FALSE(fs::exists("blocker.prp"));
}

TEST(RWXGrid, EmptyGridWritesNothing) {
  TznTerra terra;
  TznRWXChunkCentral grid({}, &terra);  // never laid out: no objects
  int calls = 0;
  grid.WriteAll("empty/hill", nullptr, [&](int, int, int64_t, bool&) { ++calls; });
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(fs::exists("empty/hill.prp"));
}

TEST(RWXGrid, ObjectsWithoutTrianglesWriteOnlyAnEmptyList) {
  TznTerra terra;  // nothing loaded: one object, and it has no triangles
  int calls = 0;
  TznRWXWriteStats stats = terra.SaveRWX("bare/hill", nullptr, [&](int, int, int64_t, bool&) { ++calls; });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(stats.ObjectsWritten, 0);
  EXPECT_EQ(CountFiles("bare", ".rwx"), 0);
  EXPECT_EQ(test::ReadFile("bare/hill.prp"), "");
}

TEST(RWXGrid, ObjectsTheViewerBuiltStayBuilt) {
  TznTerra terra;
  LoadSmall(terra);
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  grid.Object(0).Build();
  grid.WriteAll("kept/hill", nullptr, {});
  EXPECT_EQ(grid.Object(0).State, TznRWXChunk::kBuilt);
  EXPECT_FALSE(grid.Object(0).Mesh.Vertices.empty());
  // The run made the others on its workers and dropped them again.
  EXPECT_EQ(grid.HeldCount(), 1);
  EXPECT_EQ(grid.HeldObject(1), nullptr);
}

TEST(RWXGrid, RenderModesRebuildOnlyWhenLeavingOrEnteringTheBlocks) {
  TznTerra terra;
  LoadSmall(terra);
  EXPECT_EQ(terra.RWXChunks().Count(), 0);
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  const int count = terra.RWXChunks().Count();
  EXPECT_GT(count, 0);
  terra.RWXChunks().Object(0).Build();
  terra.SetRenderMode(TznRenderMode::RWXTexture);  // no rebuild between the two RWX modes
  EXPECT_EQ(terra.RWXChunks().Object(0).State, TznRWXChunk::kBuilt);
  terra.SetRenderMode(TznRenderMode::Terragen);
  EXPECT_EQ(terra.RWXChunks().Object(0).State, TznRWXChunk::kNeverBuilt);
}

TEST(RWXGrid, FailureAtALaterObjectKeepsEarlierFilesAndReleasesEveryMesh) {
  TznTerra terra;
  LoadSmall(terra);
  terra.SetVertices(2);
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  // A folder that turns up where object 1's file should go, once the run
  // has begun, makes its save fail.
  const auto block = [&grid](int index, int, int64_t, bool&) {
    if (index == 1) fs::create_directories("late/hill" + grid.FileNameOf(1));
  };
  EXPECT_THROW(grid.WriteAll("late/hill", nullptr, block), EznFileError);
  EXPECT_TRUE(fs::exists("late/hill" + grid.FileNameOf(0)));
  EXPECT_FALSE(fs::exists("late/hill" + grid.FileNameOf(3)));
  // The list names what was written before the failure, so that it can be placed.
  const std::string list = test::ReadFile("late/hill.prp");
  EXPECT_NE(list.find(" hill" + grid.FileNameOf(0) + "\r\n"), std::string::npos) << list;
  EXPECT_EQ(list.find(grid.FileNameOf(1)), std::string::npos) << list;
  EXPECT_FALSE(grid.Busy);
  for (int i = 0; i < grid.Count(); ++i) EXPECT_TRUE(grid.Object(i).Mesh.Vertices.empty()) << i;
  // The grid writes again once the way is clear.
  fs::remove_all("late/hill" + grid.FileNameOf(1));
  EXPECT_EQ(grid.WriteAll("late/hill", nullptr, {}).ObjectsWritten, 4);
}
