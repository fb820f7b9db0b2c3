// Converting a 1000 m x 1000 m terrain (the 4097 x 4097 one, size-limited)
// with a three-pair composer, against plain buffered writes of the same
// number of files and bytes, in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/znFormat.h"
#include "bench/benchTerrain.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXModelWriter.h"
#include "terrain/znTerra.h"

namespace fs = std::filesystem;

namespace {

double Seconds(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::unique_ptr<TznRWXComposer> ThreePairComposer() {
  const std::string settings = std::string(KALVOR_SAMPLES_DIR) + "/Settings/";
  return std::move(BuildComposer(ReadComposerFile(settings + "Valley.CMP"), settings, "", 1).Composer);
}

// Plain buffered writes: fopen, fwrite, fclose, one file per object.
double PlainWrites(const std::string& folder, const std::vector<size_t>& sizes) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::string block(*std::max_element(sizes.begin(), sizes.end()), 'x');
  const auto start = std::chrono::steady_clock::now();
  for (size_t i = 0; i < sizes.size(); ++i) {
    FILE* file = std::fopen((folder + "/p" + std::to_string(i) + ".rwx").c_str(), "wb");
    std::fwrite(block.data(), 1, sizes[i], file);
    std::fclose(file);
  }
  return Seconds(start);
}

// Building and formatting every model without writing a file.
double ModelsOnly(TznTerra& terra, const TznRWXComposer& composer) {
  const auto start = std::chrono::steady_clock::now();
  TznRWXChunkCentral& grid = terra.RWXChunks();
  size_t bytes = 0;
  const TznRWXModelWriter writer;
  TznLineList lines;
  for (int i = 0; i < grid.Count(); ++i) {
    TznRWXChunk& object = grid.Object(i);
    object.Build();
    if (object.WriteModel(writer, &composer, lines)) bytes += lines.View().size();
    object.Release(TznRWXChunk::kReleased);
  }
  grid.ReleaseAll();
  std::fprintf(stderr, "(%zu bytes formatted)\n", bytes);
  return Seconds(start);
}

// Converts with each worker count in turn, three rounds, and keeps the best
// time of each, so that a busy moment of the machine hurts every count alike.
void RunCase(const char* title, int object_size, int vertices, const std::vector<int>& worker_counts) {
  TznTerra terra;
  terra.LoadFromFile(BigTerrainPath());
  terra.SetObjectSize(static_cast<float>(object_size));
  terra.SetVertices(vertices);
  terra.LayOutObjects();
  auto composer = ThreePairComposer();
  const std::string out = (fs::temp_directory_path() / "kalvor-bench-convert").string();

  std::vector<double> best_convert(worker_counts.size(), 1e9);
  double best_plain = 1e9, best_models = 1e9;
  TznRWXWriteStats stats;
  for (int run = 0; run < 3; ++run) {
    for (size_t k = 0; k < worker_counts.size(); ++k) {
      fs::remove_all(out);
      auto start = std::chrono::steady_clock::now();
      stats = terra.WriteObjects(out + "/t", composer.get(), {}, worker_counts[k]);
      best_convert[k] = std::min(best_convert[k], Seconds(start));
    }

    std::vector<size_t> sizes;
    for (auto& entry : fs::directory_iterator(out)) sizes.push_back(fs::file_size(entry.path()));
    best_plain = std::min(best_plain, PlainWrites(out + "-plain", sizes));

    best_models = std::min(best_models, ModelsOnly(terra, *composer));
  }
  const double mb = stats.Bytes / 1e6;
  std::printf("%s: %d objects, %d files, %.1f MB\n", title, stats.ObjectsWritten, stats.ObjectsWritten + 1, mb);
  for (size_t k = 0; k < worker_counts.size(); ++k)
    std::printf("  convert, %2d worker(s):          %.3f s  %.0f objects/s  %.1f MB/s  x%.2f  %.2f x plain\n",
                worker_counts[k], best_convert[k], stats.ObjectsWritten / best_convert[k], mb / best_convert[k],
                best_convert[0] / best_convert[k], best_convert[k] / best_plain);
  std::printf("  build and format only (1 thread): %.3f s\n", best_models);
  std::printf("  plain buffered writes:          %.3f s  %.1f MB/s\n", best_plain, mb / best_plain);
  fs::remove_all(out);
  fs::remove_all(out + "-plain");
}

// The "%.6f" numbers: the fast exact formatter against the C library's.
void FormatCost() {
  constexpr int kCount = 3000000;
  std::vector<double> values(kCount);
  for (int i = 0; i < kCount; ++i) values[i] = (i % 20001 - 10000) * 0.0001234567 + 0.5;
  std::string out;
  out.reserve(kCount * 12);
  auto start = std::chrono::steady_clock::now();
  for (double v : values) AppendFixed(out, v, 6);
  const double fast = Seconds(start);
  std::string slow;
  slow.reserve(kCount * 12);
  char buffer[64];
  start = std::chrono::steady_clock::now();
  for (double v : values) slow.append(buffer, std::snprintf(buffer, sizeof buffer, "%.6f", v));
  const double libc = Seconds(start);
  std::printf("\"%%.6f\" x %d: to_chars %.3f s, snprintf %.3f s, same bytes: %s\n", kCount, fast, libc,
              out == slow ? "yes" : "NO");
}

}  // namespace

// convert_bench [WORKERS ...]: the worker counts to compare, 1 and 2 when
// none is given; the speed-up of each is against the first.
int main(int argc, char** argv) {
  std::vector<int> worker_counts;
  for (int k = 1; k < argc; ++k) {
    const std::optional<int64_t> n = ParseInt(argv[k]);
    if (!n || *n < 1 || *n > 1024) {
      std::fprintf(stderr, "usage: convert_bench [WORKERS ...]  (each 1 to 1024)\n");
      return 2;
    }
    worker_counts.push_back(static_cast<int>(*n));
  }
  if (worker_counts.empty()) worker_counts = {1, 2};
  FormatCost();
  RunCase("(a) 10 m objects, 11 vertices", 10, 11, worker_counts);
  RunCase("(b) 30 m objects, 35 vertices", 30, 35, worker_counts);
  return 0;
}
