// Loading a 4097 x 4097 Float32 GeoTIFF against loading the same heights
// as .ter, in the same run (goal: at most twice the .ter load), and
// averaging a 16385 x 16385 raster (1 GB) down to 4097 x 4097, loading a
// 16385 x 16385 Float64 raster (2 GB) at 16385 points, and a sparse
// 200000 x 200000 raster of a few kilobytes. The peak resident memory of
// the process is shown with each benchmark; run one alone
// (--benchmark_filter=Float64) for its own peak.
#include <benchmark/benchmark.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>
#include <sys/resource.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "bench/benchTerrain.h"
#include "import/znTerrainFile.h"
#include "terrain/znTerra.h"

namespace {

// A Float32 GeoTIFF in metres (UTM zone 32N) laid out as GDAL writes one
// by default (uncompressed, in strips), whose rows, north first, come from
// row(r, values).
template <typename F>
void WriteGeoTiff(const std::string& path, int size, double pixel, F row, GDALDataType type = GDT_Float32) {
  GDALAllRegister();
  char** options = nullptr;
  options = CSLSetNameValue(options, "BIGTIFF", "IF_SAFER");
  GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), size, size, 1, type, options);
  CSLDestroy(options);
  if (!ds) throw std::runtime_error("cannot write " + path);
  double gt[6] = {400000, pixel, 0, 5200000, 0, -pixel};
  GDALSetGeoTransform(ds, gt);
  OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
  OSRImportFromEPSG(srs, 32632);
  GDALSetSpatialRef(ds, srs);
  OSRDestroySpatialReference(srs);
  GDALRasterBandH band = GDALGetRasterBand(ds, 1);
  std::vector<float> values(size);
  for (int r = 0; r < size; ++r) {
    row(r, values);
    if (GDALRasterIO(band, GF_Write, 0, r, size, 1, values.data(), size, 1, GDT_Float32, 0, 0) != CE_None)
      throw std::runtime_error("cannot write " + path);
  }
  GDALClose(ds);
}

// The heights of the shared 4097 x 4097 .ter file as a GeoTIFF in metres.
const std::string& SameHeightsTiffPath() {
  static const std::string path = [] {
    TznTerra terra;
    terra.LoadFromFile(BigTerrainPath());
    const std::string p = (std::filesystem::temp_directory_path() / "kalvor-bench-4097.tif").string();
    WriteGeoTiff(p, terra.FXPoints, terra.FFileScaleX, [&](int r, std::vector<float>& values) {
      const int j = terra.FYPoints - 1 - r;
      for (int i = 0; i < terra.FXPoints; ++i) values[i] = static_cast<float>(terra.Metres(terra.GetHeight(i, j)));
    });
    return p;
  }();
  return path;
}

// 16385 x 16385 cells of 1 m: rolling hills, as Float32 or Float64. Kept
// between runs.
std::string HugeTiffPath(GDALDataType type = GDT_Float32) {
  const int size = 16385;
  const int bytes = GDALGetDataTypeSizeBytes(type);
  const std::string p =
      (std::filesystem::temp_directory_path() / ("kalvor-bench-16385" + std::string(bytes == 8 ? "-f64" : "") + ".tif"))
          .string();
  if (std::filesystem::exists(p) && std::filesystem::file_size(p) > uintmax_t{size} * size * bytes) return p;
  WriteGeoTiff(
      p, size, 1.0,
      [](int r, std::vector<float>& values) {
        for (size_t c = 0; c < values.size(); ++c)
          values[c] = static_cast<float>(300 + 80 * std::sin(c / 900.0) * std::cos(r / 700.0) + 0.001 * c);
      },
      type);
  return p;
}

// 200000 x 200000 Float32 cells declared, one 512 x 512 tile of them
// written: a file of a few kilobytes.
const std::string& SparseTiffPath() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "kalvor-bench-sparse.tif").string();
    GDALAllRegister();
    char** options = nullptr;
    for (const char* option :
         {"SPARSE_OK=TRUE", "TILED=YES", "BLOCKXSIZE=512", "BLOCKYSIZE=512", "BIGTIFF=YES", "COMPRESS=DEFLATE"})
      options = CSLAddString(options, option);
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), p.c_str(), 200000, 200000, 1, GDT_Float32, options);
    CSLDestroy(options);
    if (!ds) throw std::runtime_error("cannot write " + p);
    std::vector<float> tile(512 * 512, 100.0f);
    if (GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, 512, 512, tile.data(), 512, 512, GDT_Float32, 0, 0) !=
        CE_None)
      throw std::runtime_error("cannot write " + p);
    GDALClose(ds);
    return p;
  }();
  return path;
}

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Loads the file again and again as the program does; a load that does not
// give points_x points along x (when given) fails the benchmark.
void TimeLoads(benchmark::State& state, const std::string& path, int32_t points_x = 0,
               const TznRasterOptions& options = {}) {
  for (auto _ : state) {
    TznTerra terra;
    LoadTerrainFile(terra, path, options);
    if (points_x && terra.FXPoints != points_x) state.SkipWithError("not averaged down to the point limit");
    benchmark::DoNotOptimize(terra.FHeights.data());
  }
  ReportPeakMemory(state);
}

void BM_LoadTer4097(benchmark::State& state) {
  SameHeightsTiffPath();  // both files exist before either is timed
  TimeLoads(state, BigTerrainPath());
}

void BM_LoadGeoTiff4097(benchmark::State& state) { TimeLoads(state, SameHeightsTiffPath()); }

void BM_Average16385To4097(benchmark::State& state) { TimeLoads(state, HugeTiffPath(), 4097); }

// Read in strips: the peak is the terrain's 512 MB of heights and a few MB.
void BM_Float64At16385(benchmark::State& state) {
  TznRasterOptions options;
  options.MaxPoints = TznRasterOptions::kMaxPoints;
  TimeLoads(state, HugeTiffPath(GDT_Float64), 16385, options);
}

// Its missing blocks are filled, not averaged pixel by pixel.
void BM_Sparse200000To4097(benchmark::State& state) { TimeLoads(state, SparseTiffPath(), 4097); }

}  // namespace

BENCHMARK(BM_LoadTer4097)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadGeoTiff4097)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Average16385To4097)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Float64At16385)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Sparse200000To4097)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
