// Loading a 4097 x 4097 Float32 GeoTIFF against loading the same heights
// as .ter, in the same run (goal: at most twice the .ter load), and
// averaging a 16385 x 16385 raster (1 GB) down to 4097 x 4097. The peak
// resident memory of the process is shown with each benchmark; run the
// averaging alone (--benchmark_filter=Average) for its own peak.
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
void WriteGeoTiff(const std::string& path, int size, double pixel, F row) {
  GDALAllRegister();
  char** options = nullptr;
  options = CSLSetNameValue(options, "BIGTIFF", "IF_SAFER");
  GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), size, size, 1, GDT_Float32, options);
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

// 16385 x 16385 cells of 1 m: rolling hills. Kept between runs.
const std::string& HugeTiffPath() {
  static const std::string path = [] {
    const int size = 16385;
    const std::string p = (std::filesystem::temp_directory_path() / "kalvor-bench-16385.tif").string();
    if (std::filesystem::exists(p) && std::filesystem::file_size(p) > uintmax_t{size} * size * 4) return p;
    WriteGeoTiff(p, size, 1.0, [](int r, std::vector<float>& values) {
      for (size_t c = 0; c < values.size(); ++c)
        values[c] = static_cast<float>(300 + 80 * std::sin(c / 900.0) * std::cos(r / 700.0) + 0.001 * c);
    });
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
void TimeLoads(benchmark::State& state, const std::string& path, int32_t points_x = 0) {
  for (auto _ : state) {
    TznTerra terra;
    LoadTerrainFile(terra, path);
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

}  // namespace

BENCHMARK(BM_LoadTer4097)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadGeoTiff4097)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Average16385To4097)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
