// Converting a 1000 m x 1000 m terrain (the 4097 x 4097 one, size-limited)
// with a three-pair composer, against plain buffered writes of the same
// number of files and bytes, in the same run.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/znFormat.h"
#include "bench/benchTerrain.h"
#include "rwx/znComposerBuilder.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXChunkCentral.h"
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
    FILE* f = std::fopen((folder + "/p" + std::to_string(i) + ".rwx").c_str(), "wb");
    std::fwrite(block.data(), 1, sizes[i], f);
    std::fclose(f);
  }
  return Seconds(start);
}

// Building and formatting every model without writing a file.
double ModelsOnly(TznTerra& terra, const TznRWXComposer& composer) {
  const auto start = std::chrono::steady_clock::now();
  TznRWXChunkCentral& grid = terra.RWXChunks();
  size_t bytes = 0;
  for (int i = 0; i < grid.Count(); ++i) {
    TznRWXChunk& object = grid.Object(i);
    object.Build();
    if (object.WriteRWXBasic(composer)) bytes += object.Lines.Text().size();
    object.Release(TznRWXChunk::kReleased);
  }
  std::fprintf(stderr, "(%zu bytes formatted)\n", bytes);
  return Seconds(start);
}

void RunCase(const char* title, int object_size, int vertices) {
  TznTerra terra;
  terra.LoadFromFile(BigTerrainPath());
  terra.SetObjectSize(static_cast<float>(object_size));
  terra.SetVertices(vertices);
  auto composer = ThreePairComposer();
  const std::string out = (fs::temp_directory_path() / "kalvor-bench-convert").string();

  double best_convert = 1e9, best_plain = 1e9, best_models = 1e9;
  TznRWXWriteStats stats;
  for (int run = 0; run < 3; ++run) {
    fs::remove_all(out);
    auto start = std::chrono::steady_clock::now();
    stats = terra.SaveRWX(out + "/t", composer.get(), {});
    best_convert = std::min(best_convert, Seconds(start));

    std::vector<size_t> sizes;
    for (auto& e : fs::directory_iterator(out)) sizes.push_back(fs::file_size(e.path()));
    best_plain = std::min(best_plain, PlainWrites(out + "-plain", sizes));

    terra.SetRenderMode(1);
    best_models = std::min(best_models, ModelsOnly(terra, *composer));
    terra.SetRenderMode(0);
  }
  const double mb = stats.Bytes / 1e6;
  std::printf("%s: %d objects, %d files, %.1f MB\n", title, stats.ObjectsWritten, stats.ObjectsWritten + 1, mb);
  std::printf("  convert (build, format, write): %.3f s  %.0f objects/s  %.1f MB/s\n", best_convert,
              stats.ObjectsWritten / best_convert, mb / best_convert);
  std::printf("  build and format only:          %.3f s\n", best_models);
  std::printf("  plain buffered writes:          %.3f s  %.1f MB/s\n", best_plain, mb / best_plain);
  std::printf("  ratio convert / plain writes:   %.2f\n", best_convert / best_plain);
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

int main() {
  FormatCost();
  RunCase("(a) 10 m objects, 11 vertices", 10, 11);
  RunCase("(b) 30 m objects, 35 vertices", 30, 35);
  return 0;
}
