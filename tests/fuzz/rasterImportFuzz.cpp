// The raster import on arbitrary bytes, read by GDAL from memory with only
// the drivers of the common height rasters. Properties: a refused raster
// leaves no heights; a loaded one holds exactly the points its report
// gives, each within a .ter file's range, with extremes that match them.
#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/znError.h"
#include "base/znLog.h"
#include "fuzzSupport.h"
#include "import/znRasterHeights.h"
#include "import/znRasterSource.h"
#include "terrain/znTerra.h"

namespace {

// GTiff, PNG and AAIGrid know a raster by its bytes, SRTMHGT by its name.
const char kName[] = "/vsimem/N45E006.hgt";

// Rasters larger than this are valid but take seconds each under the
// fuzzer's instrumentation; the unit tests load such sizes.
constexpr int kMaxSide = 4096;
// GDAL allocates a whole block at once, with every band of it where the
// pixels interleave their bands; a few bytes can declare blocks of
// gigabytes, which the fuzzer's memory limit would report as a finding.
constexpr int64_t kMaxBlockBytes = int64_t{64} << 20;

TznRasterOptions FuzzOptions() {
  TznRasterOptions options;
  options.Drivers = {"GTiff", "PNG", "AAIGrid", "SRTMHGT"};
  // Small enough that larger inputs are averaged down as well.
  options.MaxPoints = 257;
  return options;
}

// Whether the raster GDAL opens, if any, declares at most kMaxSide pixels
// along each side.
bool SmallEnough(const TznRasterOptions& options) {
  std::vector<const char*> drivers;
  for (const std::string& name : options.Drivers) drivers.push_back(name.c_str());
  drivers.push_back(nullptr);
  GDALDatasetH dataset = GDALOpenEx(kName, GDAL_OF_RASTER | GDAL_OF_READONLY, drivers.data(), nullptr, nullptr);
  if (!dataset) return true;  // refused by the import as well
  bool small = GDALGetRasterXSize(dataset) <= kMaxSide && GDALGetRasterYSize(dataset) <= kMaxSide;
  for (int k = 1; small && k <= GDALGetRasterCount(dataset); ++k) {
    GDALRasterBandH band = GDALGetRasterBand(dataset, k);
    int block_x = 0, block_y = 0;
    GDALGetBlockSize(band, &block_x, &block_y);
    small = int64_t{block_x} * block_y * GDALGetDataTypeSizeBytes(GDALGetRasterDataType(band)) *
                GDALGetRasterCount(dataset) <=
            kMaxBlockBytes;
  }
  GDALClose(dataset);
  return small;
}

void CheckLoaded(const TznTerra& terra, const TznRasterReport& report) {
  fuzz::Require(terra.FXPoints == report.PointsX && terra.FYPoints == report.PointsY,
                "the terrain has the points the report gives");
  fuzz::Require(terra.FHeights.size() == size_t(terra.FXPoints) * size_t(terra.FYPoints),
                "a loaded raster holds one height per point");
  const auto [lowest, highest] = std::minmax_element(terra.FHeights.begin(), terra.FHeights.end());
  fuzz::Require(*lowest == terra.GetLowest() && *highest == terra.GetHighest(), "the extremes match the heights");
  fuzz::Require(*lowest >= -kRasterStoredLimit && *highest <= kRasterStoredLimit,
                "stored heights lie within a .ter file's range");
  fuzz::Require(report.HeightStep > 0, "the height step is positive");
}

}  // namespace

// GDAL's own allocations follow sizes that broken files declare, and GDAL
// answers a failed one with an error, as a real system's malloc lets it.
// AddressSanitizer would abort on them instead; let them fail as they do
// outside it.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TznRasterOptions options = [] {
    GDALAllRegister();
    // GDAL's messages for broken files are expected by the thousand.
    CPLSetErrorHandler(CPLQuietErrorHandler);
    // No folder listing for side files: the file in memory is alone.
    CPLSetConfigOption("GDAL_DISABLE_READDIR_ON_OPEN", "EMPTY_DIR");
    CPLSetConfigOption("CPL_DEBUG", "OFF");
    // The notes of a raster (its bands, GDAL's warnings) are no findings.
    SetWarningSink([](const std::string&) {});
    return FuzzOptions();
  }();
  VSIFCloseL(VSIFileFromMemBuffer(kName, const_cast<uint8_t*>(data), static_cast<vsi_l_offset>(size), FALSE));
  static TznTerra terra;
  if (SmallEnough(options)) {
    try {
      CheckLoaded(terra, LoadGdalRaster(terra, kName, options));
    } catch (const EznError&) {
      fuzz::Require(terra.FHeights.empty() && terra.FXPoints == 0 && terra.FYPoints == 0,
                    "a refused raster keeps no heights");
    }
  }
  VSIUnlink(kName);
  return 0;
}
