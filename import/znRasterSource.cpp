#include "import/znRasterSource.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znLog.h"
#include "base/znRound.h"
#include "import/znRasterHeights.h"
#include "import/znRasterScale.h"
#include "terrain/znTerra.h"

namespace {

// A message for the user that begins with the file's name; GDAL's own
// messages sometimes do already.
EznError Refusal(const std::string& path, const std::string& message) {
  if (message.rfind(path + ": ", 0) == 0) return EznError(message);
  return EznError(path + ": " + message);
}

// Takes GDAL's messages while alive instead of letting it print them:
// warnings go to the program's warning sink, and a refusal quotes the last
// failure.
class TGdalMessages {
 public:
  explicit TGdalMessages(const std::string& path) : FPath(path) { CPLPushErrorHandlerEx(&Collect, this); }
  ~TGdalMessages() { CPLPopErrorHandler(); }
  TGdalMessages(const TGdalMessages&) = delete;
  TGdalMessages& operator=(const TGdalMessages&) = delete;

  std::string LastFailure(const std::string& otherwise) const {
    return FLastFailure.empty() ? otherwise : std::string(Trim(FLastFailure));
  }

 private:
  static void CPL_STDCALL Collect(CPLErr level, CPLErrorNum, const char* message) {
    auto* self = static_cast<TGdalMessages*>(CPLGetErrorHandlerUserData());
    if (!message) return;
    if (level >= CE_Failure)
      self->FLastFailure = message;
    else if (level == CE_Warning)
      Warn(self->FPath + ": " + std::string(Trim(message)));
  }
  const std::string& FPath;
  std::string FLastFailure;
};

struct TDatasetCloser {
  void operator()(void* dataset) const { GDALClose(dataset); }
};
using TDataset = std::unique_ptr<void, TDatasetCloser>;

// Every raster is read once, start to end: GDAL's block cache (by default
// a twentieth of the memory) would only hold what was read already. A
// limit the user set through GDAL_CACHEMAX stays.
constexpr int64_t kBlockCacheBytes = int64_t{64} << 20;

void RegisterDrivers() {
  GDALAllRegister();
  if (!CPLGetConfigOption("GDAL_CACHEMAX", nullptr)) GDALSetCacheMax64(kBlockCacheBytes);
}

TDataset OpenDataset(const std::string& path, const TGdalMessages& messages) {
  static std::once_flag drivers;
  std::call_once(drivers, RegisterDrivers);
  TDataset dataset(
      GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR, nullptr, nullptr, nullptr));
  if (!dataset) throw Refusal(path, messages.LastFailure("GDAL cannot open it"));
  return dataset;
}

GDALRasterBandH ChosenBand(GDALDatasetH dataset, const std::string& path, int number) {
  const int count = GDALGetRasterCount(dataset);
  if (number < 1 || number > count)
    throw Refusal(path, "there is no band " + FormatInt(number) + "; the raster has " + FormatInt(count));
  GDALRasterBandH band = GDALGetRasterBand(dataset, number);
  const GDALDataType type = GDALGetRasterDataType(band);
  if (GDALDataTypeIsComplex(type))
    throw Refusal(path, "band " + FormatInt(number) + " holds complex numbers (" + GDALGetDataTypeName(type) +
                            "), not heights");
  return band;
}

TznRasterWindow ChosenWindow(GDALDatasetH dataset, const std::string& path, const TznRasterOptions& options) {
  const int64_t width = GDALGetRasterXSize(dataset), height = GDALGetRasterYSize(dataset);
  if (!options.Crop) return {0, 0, width, height};
  const TznRasterWindow& w = *options.Crop;
  if (w.XOff < 0 || w.YOff < 0 || w.XSize < 1 || w.YSize < 1 || w.XOff + w.XSize > width || w.YOff + w.YSize > height)
    throw Refusal(path, "the window " + FormatInt(w.XOff) + "," + FormatInt(w.YOff) + "," + FormatInt(w.XSize) + "," +
                            FormatInt(w.YSize) + " does not lie within the raster's " + FormatInt(width) + " x " +
                            FormatInt(height) + " pixels");
  return w;
}

// Points along one side after averaging the longer side down to the limit;
// a side never shrinks below 2 points.
int64_t AveragedPoints(int64_t pixels, int64_t longer, int limit) {
  if (longer <= limit) return pixels;
  return std::max(std::min<int64_t>(pixels, 2), Round(double(pixels) * limit / double(longer)));
}

// An uncompressed GeoTIFF read start to end gains nothing from GDAL's block
// cache: with direct reads GDAL copies its rows straight into our buffer.
// The driver takes the setting when it opens the file. Set for this thread
// and this raster only, and only when the user set nothing; layouts it does
// not fit (compressed, averaged) read as before.
class TDirectTiffReads {
 public:
  TDirectTiffReads() : FSet(!CPLGetConfigOption("GTIFF_DIRECT_IO", nullptr)) {
    if (FSet) CPLSetThreadLocalConfigOption("GTIFF_DIRECT_IO", "YES");
  }
  ~TDirectTiffReads() {
    if (FSet) CPLSetThreadLocalConfigOption("GTIFF_DIRECT_IO", nullptr);
  }
  TDirectTiffReads(const TDirectTiffReads&) = delete;
  TDirectTiffReads& operator=(const TDirectTiffReads&) = delete;

 private:
  bool FSet;
};

// Rows read at a time when nothing is averaged: their range is taken while
// they are still in the cache.
constexpr int64_t kChunkRows = 64;

// The values of the window, averaged down to columns x rows when that is
// smaller, and their range. Left uninitialised until GDAL fills it: the
// buffer is large.
template <typename T>
std::unique_ptr<T[]> ReadValues(GDALRasterBandH band, const std::string& path, const TGdalMessages& messages,
                                const TznRasterWindow& w, int64_t columns, int64_t rows, T no_data,
                                TznValueRange<T>& range) {
  std::unique_ptr<T[]> values;
  try {
    values.reset(new T[static_cast<size_t>(columns * rows)]);
  } catch (const std::bad_alloc&) {
    throw Refusal(path, "not enough memory for " + FormatInt(columns) + " x " + FormatInt(rows) + " points");
  }
  const bool averaged = columns != w.XSize || rows != w.YSize;
  GDALRasterIOExtraArg extra;
  INIT_RASTERIO_EXTRA_ARG(extra);
  if (averaged) extra.eResampleAlg = GRIORA_Average;
  // Averaging takes the window at once; GDAL cuts it into the right parts.
  const int64_t step = averaged ? rows : kChunkRows;
  for (int64_t first = 0; first < rows; first += step) {
    const int64_t count = std::min(step, rows - first);
    T* part = values.get() + first * columns;
    const CPLErr result = GDALRasterIOEx(
        band, GF_Read, static_cast<int>(w.XOff), static_cast<int>(w.YOff + (averaged ? 0 : first)),
        static_cast<int>(w.XSize), static_cast<int>(averaged ? w.YSize : count), part, static_cast<int>(columns),
        static_cast<int>(count), sizeof(T) == 4 ? GDT_Float32 : GDT_Float64, 0, 0, &extra);
    if (result != CE_None) throw Refusal(path, messages.LastFailure("GDAL cannot read its heights"));
    range.Add(part, static_cast<size_t>(count * columns), no_data);
  }
  return values;
}

// Types whose values a 32-bit float holds exactly (or close enough for
// heights); wider ones are read as doubles.
bool FitsFloat(GDALDataType type) {
  return type == GDT_Byte || type == GDT_UInt16 || type == GDT_Int16 || type == GDT_Float32;
}

class TRasterReader {
 public:
  TRasterReader(const std::string& path, const TznRasterOptions& options)
      : FPath(path), FOptions(options), FMessages(path) {}

  // Opens the raster; the terrain takes the name once it is open.
  TznTerraGrid Read(std::string& opened_name, TznRasterReport& report) {
    const TDirectTiffReads direct;
    TDataset dataset = OpenDataset(FPath, FMessages);
    opened_name = FPath;
    GDALDatasetH ds = dataset.get();
    if (GDALDriverH driver = GDALGetDatasetDriver(ds))
      report.Driver = std::string(GDALGetDriverShortName(driver)) + " (" + GDALGetDriverLongName(driver) + ")";
    GDALRasterBandH band = ChosenBand(ds, FPath, FOptions.Band);
    const TznRasterWindow window = ChosenWindow(ds, FPath, FOptions);

    double gt[6];
    const bool has_gt = GDALGetGeoTransform(ds, gt) == CE_None;
    if (has_gt && (gt[2] != 0 || gt[4] != 0))
      throw Refusal(FPath,
                    "the raster is rotated or sheared; only north-up rasters can be loaded (gdalwarp makes one)");
    if (has_gt && (gt[1] == 0 || gt[5] == 0)) throw Refusal(FPath, "the raster's pixels have no size");
    TznRasterGeo geo;
    try {
      geo = RasterGeo(ds, has_gt ? gt : nullptr, window.YOff + window.YSize / 2.0);
    } catch (const EznError& e) {
      throw Refusal(FPath, e.what());
    }
    if (FOptions.PixelSize) geo.Pixel = {*FOptions.PixelSize, *FOptions.PixelSize};
    report.Crs = geo.Crs;
    report.Georeferenced = geo.Georeferenced;
    report.PixelX = geo.Pixel.X;
    report.PixelY = geo.Pixel.Y;

    const int64_t longer = std::max(window.XSize, window.YSize);
    const int64_t columns = AveragedPoints(window.XSize, longer, FOptions.MaxPoints);
    const int64_t rows = AveragedPoints(window.YSize, longer, FOptions.MaxPoints);
    report.SourceX = window.XSize;
    report.SourceY = window.YSize;
    report.PointsX = columns;
    report.PointsY = rows;

    TznHeightRule rule;
    int has_no_data = 0;
    const double no_data = GDALGetRasterNoDataValue(band, &has_no_data);
    if (has_no_data) rule.NoData = no_data;
    rule.Scale = GDALGetRasterScale(band, nullptr);
    rule.Offset = GDALGetRasterOffset(band, nullptr);
    if (const char* unit = GDALGetRasterUnitType(band)) rule.MetresPerUnit = MetresPerHeightUnit(unit);
    rule.KeepElevation = FOptions.KeepElevation;
    // A north-up raster's first row is its northern edge; without a
    // georeference the first row is the top of the picture, north as well.
    const bool flip_rows = !has_gt || gt[5] < 0;
    const bool flip_columns = has_gt && gt[1] < 0;

    TznRasterHeights heights =
        FitsFloat(GDALGetRasterDataType(band))
            ? Heights<float>(band, window, columns, rows, flip_rows, flip_columns, rule)
            : Heights<double>(band, window, columns, rows, flip_rows, flip_columns, rule);
    report.NoDataCells = heights.NoDataCells;
    report.Lowest = heights.Lowest;

    TznTerraGrid grid;
    grid.XPoints = columns;
    grid.YPoints = rows;
    // Averaging spreads the raster's extent over fewer points.
    grid.ScaleX = static_cast<float>(geo.Pixel.X * double(window.XSize) / double(columns));
    grid.ScaleY = static_cast<float>(geo.Pixel.Y * double(window.YSize) / double(rows));
    grid.ScaleZ = heights.ScaleZ;
    grid.Heights = std::move(heights.Stored);
    return grid;
  }

 private:
  template <typename T>
  TznRasterHeights Heights(GDALRasterBandH band, const TznRasterWindow& window, int64_t columns, int64_t rows,
                           bool flip_rows, bool flip_columns, const TznHeightRule& rule) const {
    TznValueRange<T> range;
    const std::unique_ptr<T[]> values =
        ReadValues<T>(band, FPath, FMessages, window, columns, rows, NoDataValue<T>(rule), range);
    try {
      return StoredHeights(values.get(), range, columns, rows, flip_rows, flip_columns, rule);
    } catch (const EznError& e) {
      throw Refusal(FPath, e.what());
    }
  }

  const std::string& FPath;
  const TznRasterOptions& FOptions;
  // GDAL's messages from the opening of the raster to its closing.
  TGdalMessages FMessages;
};

}  // namespace

TznRasterReport LoadRaster(TznTerra& terra, const std::string& path, const TznRasterOptions& options) {
  TznRasterReport report;
  TRasterReader reader(path, options);
  terra.LoadFromGrid(path, [&] { return reader.Read(terra.FFileName, report); });
  report.HeightStep = terra.FScaleZ / 100.0;
  return report;
}
