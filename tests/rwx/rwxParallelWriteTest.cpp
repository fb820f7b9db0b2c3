// The batch writer with several workers: the same files as with one, the
// progress callback on the calling thread in order, stops and errors at the
// object where they happen, and a bounded number of objects ahead.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "base/znError.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "support/convertRun.h"
#include "support/terFiles.h"
#include "support/testFiles.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

std::string SamplePath() { return std::string(KALVOR_SAMPLES_DIR) + "/valley.ter"; }

std::unique_ptr<TznRWXMaterial> Textured(const std::string& texture) {
  auto m = std::make_unique<TznRWXMaterial>();
  m->SetUseTexture(true);
  m->SetTexture(texture);
  return m;
}

// Water below 0 m on all three vertices, rock steeper than 30 degrees,
// tagged shore up to 2 m on the lowest vertex, a western half with a
// comment on any vertex, and grass for the rest: every kind of test.
std::unique_ptr<TznRWXComposer> MixedComposer(bool individual) {
  auto composer = std::make_unique<TznRWXComposer>();
  auto water = std::make_unique<TznRWXFaceFilter>();
  water->SetApplyToVerts(avAll3);
  composer->Add(std::move(water), Textured("water"));
  auto rock = std::make_unique<TznRWXFaceFilter>();
  rock->Clear();
  rock->SetUseLowGradient(true);
  rock->SetLowGradient(30);
  rock->SetUseHighGradient(true);
  composer->Add(std::move(rock), Textured("rock"));
  auto shore = std::make_unique<TznRWXFaceFilter>();
  shore->SetHigh(2);
  auto sand = Textured("sand");
  sand->SetUseTag(true);
  sand->SetTag(7);
  composer->Add(std::move(shore), std::move(sand));
  auto west = std::make_unique<TznRWXFaceFilter>();
  west->Clear();
  west->SetUseWest(true);
  west->SetWest(4);
  west->SetUseHigh(true);
  west->SetHigh(60);
  west->SetApplyToVerts(avAny);
  auto moss = Textured("moss");
  moss->SetComment("west");
  composer->Add(std::move(west), std::move(moss));
  auto basic = std::make_unique<TznRWXFaceFilter>();
  basic->Clear();
  composer->Add(std::move(basic), Textured("grass"));
  composer->SetIndividualSettings(individual);
  composer->SetCitizenNumber(42);
  return composer;
}

std::vector<std::string> ListedNames(const std::string& list_path) {
  std::istringstream in(test::ReadFile(list_path));
  std::vector<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    names.push_back(line.substr(line.rfind(' ') + 1));
  }
  return names;
}

// A one-triangle mesh for every object of a hand-made grid.
bool OneTriangle(TznObjectMesh& mesh, int32_t x0, int32_t z0) {
  const float east = x0 / 100.0f, north = z0 / 100.0f;
  mesh.Vertices = {TVec3{east, 1, -north}, TVec3{east + 1, 1, -north}, TVec3{east + 1, 1, -north - 1}};
  mesh.TexCoords.assign(3, TVec3{});
  mesh.Faces = {TznFace3w{0, 1, 2}};
  mesh.Normals = {TVec3{0, 1, 0}};
  return true;
}

// 10 x 10 objects of 10 m, index = row * 10 + column.
void LayOutHundred(TznRWXChunkCentral& grid) { grid.Rebuild(0, 0, 0, 0, 1, 1, 1000, 1000, 10000, 10000); }

int IndexOf(int32_t x0, int32_t z0) { return z0 / 1000 * 10 + x0 / 1000; }

// 61 x 61 points 3 m apart: gentle hills around 0 m with a steep ridge in
// the east, saved as file and loaded, in 9 x 9 objects of 20 m.
void LoadHills(TznTerra& terra, const std::string& file) {
  test::TerFile(61, 61, 3, [](int i, int j) {
    return static_cast<int16_t>(3000 * std::sin(i / 6.0) * std::cos(j / 5.0) + 200 + (i > 40 ? (i - 40) * 1200 : 0));
  }).Save(file);
  ASSERT_TRUE(terra.LoadFromFile(file));
  terra.SetObjectSize(20);
}

}  // namespace

TEST(RWXParallelWrite, SameBytesForOneTwoAndFourWorkers) {
  TznTerra terra;
  ASSERT_NO_FATAL_FAILURE(LoadHills(terra, "hills.ter"));
  terra.SetVertices(6);
  for (bool individual : {false, true}) {
    const auto composer = MixedComposer(individual);
    std::map<std::string, std::string> first;
    for (int workers : {1, 2, 4}) {
      const std::string folder = "same" + std::to_string(individual) + "-" + std::to_string(workers);
      const TznRWXWriteStats stats = terra.SaveRWX(folder + "/v", composer.get(), {}, workers);
      EXPECT_GE(stats.ObjectsWritten, 64);
      const auto files = test::FilesWithoutTimes(folder);
      if (workers == 1) {
        first = files;
        // The composer's pairs all got faces somewhere.
        std::string all;
        for (const auto& [name, text] : files) all += text;
        for (const char* line : {"Texture water", "Texture rock", "Tag 7", "  # west", "Texture grass"})
          EXPECT_NE(all.find(line), std::string::npos) << line;
        continue;
      }
      ASSERT_EQ(files.size(), first.size()) << workers;
      for (const auto& [name, text] : first) EXPECT_EQ(files.at(name), text) << name << " with " << workers;
    }
  }
  // The plain model too.
  terra.SaveRWX("plain1/v", nullptr, {}, 1);
  terra.SaveRWX("plain3/v", nullptr, {}, 3);
  EXPECT_EQ(test::FilesWithoutTimes("plain1"), test::FilesWithoutTimes("plain3"));
}

TEST(RWXParallelWrite, ProgressRunsOnTheCallingThreadInOrderBeforeEachSave) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  terra.SetObjectSize(30);
  terra.SetVertices(2);
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<int> seen;
  bool all_on_caller = true, none_saved_early = true, earlier_saved = true;
  grid.WriteAll(
      "order/v", nullptr,
      [&](int index, int count, int64_t, bool&) {
        all_on_caller = all_on_caller && std::this_thread::get_id() == caller;
        EXPECT_EQ(count, grid.Count());
        seen.push_back(index);
        none_saved_early = none_saved_early && !fs::exists("order/v" + grid.FileNameOf(index));
        // Object 1 lies inside the terrain: it is saved before object 2's turn.
        if (index == 2) earlier_saved = fs::exists("order/v" + grid.FileNameOf(1));
      },
      4);
  EXPECT_TRUE(all_on_caller);
  EXPECT_TRUE(none_saved_early);
  EXPECT_TRUE(earlier_saved);
  ASSERT_EQ(static_cast<int>(seen.size()), grid.Count());
  for (int i = 0; i < grid.Count(); ++i) ASSERT_EQ(seen[i], i);
}

TEST(RWXParallelWrite, StopAtKWritesOnlyTheObjectsBeforeIt) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  grid.Object(20).Build();  // as the preview would have
  constexpr int k = 25;
  const TznRWXWriteStats stats = grid.WriteAll(
      "stop/v", nullptr, [](int index, int, int64_t, bool& go_on) { go_on = index < k; }, 4);
  EXPECT_TRUE(stats.Stopped);
  // The first row lies inside the terrain: every object there has triangles.
  EXPECT_EQ(stats.ObjectsWritten, k);
  std::vector<std::string> expected;
  for (int i = 0; i < k; ++i) expected.push_back("v" + grid.FileNameOf(i));
  EXPECT_EQ(ListedNames("stop/v.prp"), expected);
  int rwx_files = 0;
  for (auto& e : fs::directory_iterator("stop")) rwx_files += e.path().extension() == ".rwx";
  EXPECT_EQ(rwx_files, k);
  for (int i = 0; i < k; ++i) EXPECT_TRUE(fs::exists("stop/v" + grid.FileNameOf(i))) << i;
  // Objects the workers made ahead let go of their meshes again; the one
  // the preview had built keeps it.
  for (int i = 0; i < grid.Count(); ++i) EXPECT_EQ(grid.Object(i).Mesh.Vertices.empty(), i != 20) << i;
  EXPECT_FALSE(grid.Busy);
}

TEST(RWXParallelWrite, AFileErrorKeepsEarlierFilesAndListsThem) {
  TznTerra terra;
  ASSERT_TRUE(terra.LoadFromFile(SamplePath()));
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  TznRWXChunkCentral& grid = terra.RWXChunks();
  constexpr int k = 30;
  int last_progress = -1;
  // A folder turns up where the file should go once the run has begun.
  const auto block = [&](int index, int, int64_t, bool&) {
    last_progress = index;
    if (index == k) fs::create_directories("late/v" + grid.FileNameOf(k));
  };
  EXPECT_THROW(grid.WriteAll("late/v", nullptr, block, 4), EznFileError);
  EXPECT_EQ(last_progress, k);
  for (int i = 0; i < k; ++i) EXPECT_TRUE(fs::exists("late/v" + grid.FileNameOf(i))) << i;
  for (int i = k + 1; i < k + 20; ++i) EXPECT_FALSE(fs::exists("late/v" + grid.FileNameOf(i))) << i;
  const std::string list = test::ReadFile("late/v.prp");
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), k);
  EXPECT_FALSE(grid.Busy);
  for (int i = 0; i < grid.Count(); ++i) EXPECT_TRUE(grid.Object(i).Mesh.Vertices.empty()) << i;
}

TEST(RWXParallelWrite, AnErrorWhileBuildingStopsAtThatObject) {
  TznTerra terra;
  constexpr int k = 37;
  TznRWXChunkCentral grid(
      [](TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t, int32_t, int32_t, int32_t, uint8_t) {
        if (IndexOf(x0, z0) == k) throw EznError("object too large");
        return OneTriangle(mesh, x0, z0);
      },
      &terra);
  LayOutHundred(grid);
  ASSERT_EQ(grid.Count(), 100);
  int last_progress = -1;
  try {
    grid.WriteAll(
        "build/v", nullptr, [&](int index, int, int64_t, bool&) { last_progress = index; }, 3);
    ADD_FAILURE() << "the error did not reach the caller";
  } catch (const EznError& e) {
    EXPECT_STREQ(e.what(), "object too large");
  }
  EXPECT_EQ(last_progress, k);
  for (int i = 0; i < k; ++i) EXPECT_TRUE(fs::exists("build/v" + grid.FileNameOf(i))) << i;
  for (int i = k; i < grid.Count(); ++i) EXPECT_FALSE(fs::exists("build/v" + grid.FileNameOf(i))) << i;
  EXPECT_FALSE(fs::exists("build/v.prp"));
  for (int i = 0; i < grid.Count(); ++i) EXPECT_TRUE(grid.Object(i).Mesh.Vertices.empty()) << i;
}

TEST(RWXParallelWrite, WorkersStayWithinTwoObjectsEachOfTheSaving) {
  TznTerra terra;
  std::atomic<int> saving{0}, lead{0};
  // The objects the run formats on its own thread to estimate its room
  // come before any saving; only the workers' objects count.
  const std::thread::id saver = std::this_thread::get_id();
  TznRWXChunkCentral grid(
      [&](TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t, int32_t, int32_t, int32_t, uint8_t) {
        if (std::this_thread::get_id() == saver) return OneTriangle(mesh, x0, z0);
        const int ahead = IndexOf(x0, z0) - saving.load();
        int seen = lead.load();
        while (ahead > seen && !lead.compare_exchange_weak(seen, ahead)) {
        }
        return OneTriangle(mesh, x0, z0);
      },
      &terra);
  LayOutHundred(grid);
  constexpr int kWorkers = 3;
  grid.WriteAll(
      "lead/v", nullptr, [&](int index, int, int64_t, bool&) { saving = index; }, kWorkers);
  EXPECT_LE(lead.load(), 2 * kWorkers);
  EXPECT_EQ(ListedNames("lead/v.prp").size(), 100u);
}

TEST(RWXParallelWrite, AdaptiveMeshesAreTheSameForAnyWorkersAndOffByDefault) {
  TznTerra terra;
  ASSERT_NO_FATAL_FAILURE(LoadHills(terra, "adaptive.ter"));
  terra.SetVertices(11);
  const auto composer = MixedComposer(false);
  terra.SetMesh(TznTerra::kAdaptiveMesh);
  terra.SetMaxError(0.05);
  std::map<std::string, std::string> first;
  int64_t adaptive_bytes = 0;
  for (int workers : {1, 2, 4}) {
    const std::string folder = "adaptive-" + std::to_string(workers);
    adaptive_bytes = terra.SaveRWX(folder + "/v", composer.get(), {}, workers).Bytes;
    if (workers == 1) first = test::FilesWithoutTimes(folder);
    EXPECT_EQ(test::FilesWithoutTimes(folder), first) << workers;
  }

  // Off again, the terrain writes what a grid of the regular builder writes.
  terra.SetMesh(TznTerra::kGridMesh);
  const int64_t grid_bytes = terra.SaveRWX("default/v", composer.get(), {}, 2).Bytes;
  terra.RWXChunks().MeshBuilder = [&terra](TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t sx, int32_t sz,
                                           int32_t cx, int32_t cz,
                                           uint8_t e) { return terra.BuildRWXMesh(mesh, x0, z0, sx, sz, cx, cz, e); };
  terra.SaveRWX("regular/v", composer.get(), {}, 2);
  EXPECT_EQ(test::FilesWithoutTimes("default"), test::FilesWithoutTimes("regular"));
  EXPECT_EQ(test::FilesWithoutTimes("default").size(), first.size());
  EXPECT_LT(adaptive_bytes * 3, grid_bytes);
}
