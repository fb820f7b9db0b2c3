// Regular grid against adaptive meshes at 2, 5, 10 and 25 cm: triangles,
// bytes and conversion time (with the sample composer, one worker per
// core), as wall time and as the processor time of all threads (user and
// system, which a busy machine disturbs less), each the best of three runs
// taken in turn; on the sample terrain and on the 1000 m benchmark terrain,
// for 10 m / 11 vertices and 30 m / 35 vertices. Prints a Markdown table.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/benchTerrain.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXChunkCentral.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

struct Row {
  double max_error_cm = 0;  // 0 for the grid
  TznRWXWriteStats stats{};
  double seconds = 1e9;
  double cpu_seconds = 1e9;
};

double Since(const std::chrono::steady_clock::time_point& start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// User and system time of every thread of the process so far.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::unique_ptr<TznRWXComposer> SampleComposer() {
  const std::string settings = std::string(KALVOR_SAMPLES_DIR) + "/Settings/";
  return std::move(BuildComposer(ReadComposerFile(settings + "Valley.CMP"), settings, "", 1).Composer);
}

void RunCase(const char* terrain_name, const std::string& path, int object_size, int vertices) {
  TznTerra terra;
  terra.LoadFromFile(path);
  terra.SetObjectSize(static_cast<float>(object_size));
  terra.SetVertices(vertices);
  const auto composer = SampleComposer();
  const std::string out = (fs::temp_directory_path() / "kalvor-bench-adaptive").string();
  std::vector<Row> rows;
  for (double cm : {0, 2, 5, 10, 25}) rows.push_back(Row{cm});
  for (int run = 0; run < 3; ++run)
    for (Row& row : rows) {
      terra.SetMesh(row.max_error_cm > 0 ? TznTerra::kAdaptiveMesh : TznTerra::kGridMesh);
      terra.SetMaxError(row.max_error_cm / 100);
      fs::remove_all(out);
      const auto start = std::chrono::steady_clock::now();
      const double cpu_start = CpuSeconds();
      row.stats = terra.SaveRWX(out + "/t", composer.get(), {});
      row.seconds = std::min(row.seconds, Since(start));
      row.cpu_seconds = std::min(row.cpu_seconds, CpuSeconds() - cpu_start);
    }
  fs::remove_all(out);
  const Row& grid = rows[0];
  for (const Row& row : rows) {
    const std::string mesh =
        row.max_error_cm > 0 ? "adaptive " + std::to_string(int(row.max_error_cm)) + " cm" : "grid";
    std::printf("| %s | %d m / %d | %s | %lld | %.2f %% | %.2f MB | %.2f %% | %.2f s | %.2f x | %.2f s | %.2f x |\n",
                terrain_name, object_size, vertices, mesh.c_str(), static_cast<long long>(row.stats.Triangles),
                100.0 * row.stats.Triangles / grid.stats.Triangles, row.stats.Bytes / 1e6,
                100.0 * row.stats.Bytes / grid.stats.Bytes, row.seconds, row.seconds / grid.seconds, row.cpu_seconds,
                row.cpu_seconds / grid.cpu_seconds);
    std::fflush(stdout);
  }
}

}  // namespace

int main() {
  std::printf(
      "| terrain | object / vertices | mesh | triangles | of grid | bytes | of grid | conversion | of grid |"
      " processor time | of grid |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
  const std::string sample = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";
  for (const auto& [size, vertices] : {std::pair{10, 11}, std::pair{30, 35}}) {
    RunCase("sample", sample, size, vertices);
    RunCase("1000 m", BigTerrainPath(), size, vertices);
  }
  return 0;
}
