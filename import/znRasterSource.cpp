#include "import/znRasterSource.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "base/znCommandLine.h"
#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znLog.h"
#include "base/znRound.h"
#include "base/znSafeFile.h"
#include "import/znRasterHeights.h"
#include "import/znRasterScale.h"
#include "terrain/znCuttingOptions.h"
#include "terrain/znTerra.h"

namespace {

// A message for the user that begins with the file's name; GDAL's own
// messages sometimes do already.
EznBadFile Refusal(const std::string& path, const std::string& message) {
  if (message.rfind(path + ": ", 0) == 0) return EznBadFile(message);
  return EznBadFile(path + ": " + message);
}

// The value rounded to four significant digits, up or down, so that a
// bound said is a bound that holds.
double FourDigits(double value, bool up) {
  if (!(value > 0) || !std::isfinite(value)) return value;
  const double step = std::pow(10.0, std::floor(std::log10(value)) - 3);
  return (up ? std::ceil(value / step - 1e-9) : std::floor(value / step + 1e-9)) * step;
}

// Refuses a --pixel-size that would make a terrain too small to hold one
// object, or too large for the scales and positions of the grids.
void CheckPixelSize(double metres, const TznRasterWindow& window, int64_t columns, int64_t rows,
                    const std::string& path) {
  if (columns < 2 || rows < 2) return;  // no terrain: the loader says why
  const TznPixelRange range = UsablePixelSizes(window.XSize, window.YSize, columns, rows);
  if (metres >= range.Low && metres <= range.High) return;
  const int smallest_object = TznCuttingOptions::kObjectSizes.front();
  throw EznUsageError("--pixel-size must be from " + FormatGeneral(FourDigits(range.Low, true)) + " to " +
                      FormatGeneral(FourDigits(range.High, false)) + " metres for the " + FormatInt(columns) + " x " +
                      FormatInt(rows) + " points of \"" + path + "\" (each side at least one object of " +
                      FormatInt(smallest_object) + " m long, at most " + FormatGeneral(TznTerra::kMaxScale) +
                      " m from point to point and " + FormatInt(static_cast<int64_t>(TznTerra::kMaxMetres)) +
                      " m in all), not " + FormatGeneral(metres));
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

// Opens the raster with any driver, or only with those named.
TDataset OpenDataset(const std::string& path, const std::vector<std::string>& drivers, const TGdalMessages& messages) {
  static std::once_flag registered;
  std::call_once(registered, RegisterDrivers);
  std::vector<const char*> allowed;
  for (const std::string& name : drivers) allowed.push_back(name.c_str());
  allowed.push_back(nullptr);
  TDataset dataset(GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY | GDAL_OF_VERBOSE_ERROR,
                              drivers.empty() ? nullptr : allowed.data(), nullptr, nullptr));
  if (!dataset) throw Refusal(path, messages.LastFailure("GDAL cannot open it"));
  return dataset;
}

GDALRasterBandH ChosenBand(GDALDatasetH dataset, const std::string& path, int number) {
  const int count = GDALGetRasterCount(dataset);
  if (number < 1 || number > count)
    throw Refusal(path, "there is no band " + FormatInt(number) + "; the raster has " + FormatInt(count));
  // A photograph's red, green and blue are no heights: the choice is said.
  if (count > 1)
    Warn(path + ": the raster has " + FormatInt(count) + " bands; band " + FormatInt(number) +
         " is used (--band chooses another)");
  GDALRasterBandH band = GDALGetRasterBand(dataset, number);
  const GDALDataType type = GDALGetRasterDataType(band);
  if (GDALDataTypeIsComplex(type))
    throw Refusal(
        path, "band " + FormatInt(number) + " holds complex numbers (" + GDALGetDataTypeName(type) + "), not heights");
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

// A strip of rows read at a time: its values, and for signed bytes the
// full rows behind them, take at most this much memory.
constexpr int64_t kStripBytes = int64_t{4} << 20;

// GDAL 3.6 reads a GeoTIFF of signed bytes as bytes 0 to 255, and says so
// only in the band's metadata.
bool HoldsSignedBytes(GDALRasterBandH band) {
  if (GDALGetRasterDataType(band) != GDT_Byte) return false;
  const char* type = GDALGetMetadataItem(band, "PIXELTYPE", "IMAGE_STRUCTURE");
  return type && EQUAL(type, "SIGNEDBYTE");
}

// Bytes 128 to 255 read as the signed bytes -128 to -1 they are.
template <typename T>
void MakeSigned(T* values, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (values[i] >= 128) values[i] -= 256;
}

template <typename T>
constexpr GDALDataType kBufferType = sizeof(T) == 4 ? GDT_Float32 : GDT_Float64;

// The terrain's rows, strip by strip, from the window of a band: averaged
// down on the way when the terrain has fewer points than the window has
// pixels, each strip from the part of the window its rows cover.
template <typename T>
class TStripReader {
 public:
  TStripReader(GDALRasterBandH band, const TznRasterWindow& w, int64_t columns, int64_t rows,
               const TGdalMessages& messages, const std::string& path)
      : FBand(band),
        FWindow(w),
        FColumns(columns),
        FRows(rows),
        FAveraged(columns != w.XSize || rows != w.YSize),
        FSignedBytes(HoldsSignedBytes(band)),
        FMessages(messages),
        FPath(path) {}

  int64_t RowsPerStrip() const {
    int64_t bytes_per_row = FColumns * int64_t{sizeof(T)};
    // Signed bytes are averaged from pixels of their own, a part at a time.
    if (FSignedBytes && FAveraged) bytes_per_row += 4 * (FWindow.XSize / FColumns + 2) * (FWindow.YSize / FRows + 2);
    return std::clamp<int64_t>(kStripBytes / bytes_per_row, 1, FRows);
  }

  // Fills values with the terrain rows first .. first + count - 1, the
  // raster's first row first. A strip that a sparse file holds only in part
  // is read in parts about as wide as it is high, so that its missing
  // blocks are not averaged pixel by pixel.
  void Read(int64_t first, int64_t count, T* values) const {
    const TPart strip(FWindow, FColumns, FRows, first, count, 0, FColumns);
    const int coverage = Coverage(strip);
    if (!FAveraged || coverage != (GDAL_DATA_COVERAGE_STATUS_DATA | GDAL_DATA_COVERAGE_STATUS_EMPTY))
      return ReadPart(strip, coverage, values);
    const int64_t part_columns = std::max<int64_t>(count, 64);
    for (int64_t column = 0; column < FColumns; column += part_columns) {
      const TPart part(FWindow, FColumns, FRows, first, count, column, std::min(part_columns, FColumns - column));
      ReadPart(part, Coverage(part), values + column);
    }
  }

 private:
  // Terrain points [column, column + columns) x [first, first + count)
  // and the pixels under them: exact edges, and the whole pixels that hold
  // them.
  struct TPart {
    int64_t Columns, Rows;
    double Left, Top, Width, Height;
    int64_t X, Y, XSize, YSize;
    TPart(const TznRasterWindow& w, int64_t columns, int64_t rows, int64_t first, int64_t count, int64_t column,
          int64_t part_columns)
        : Columns(part_columns), Rows(count) {
      const auto edge = [](int64_t pixels, int64_t index, int64_t points) {
        return double(pixels) * double(index) / double(points);
      };
      Left = edge(w.XSize, column, columns);
      Top = edge(w.YSize, first, rows);
      Width = edge(w.XSize, column + part_columns, columns) - Left;
      Height = edge(w.YSize, first + count, rows) - Top;
      X = static_cast<int64_t>(std::floor(Left));
      Y = static_cast<int64_t>(std::floor(Top));
      XSize = std::min<int64_t>(w.XSize, static_cast<int64_t>(std::ceil(Left + Width))) - X;
      YSize = std::min<int64_t>(w.YSize, static_cast<int64_t>(std::ceil(Top + Height))) - Y;
    }
  };

  int Coverage(const TPart& part) const {
    return GDALGetDataCoverageStatus(FBand, int(FWindow.XOff + part.X), int(FWindow.YOff + part.Y), int(part.XSize),
                                     int(part.YSize), 0, nullptr);
  }

  // Reads a part into values, whose rows are the terrain's FColumns apart.
  void ReadPart(const TPart& part, int coverage, T* values) const {
    const int x = int(FWindow.XOff + part.X), y = int(FWindow.YOff + part.Y);
    const int line = int(FColumns * int64_t{sizeof(T)});
    if (coverage == GDAL_DATA_COVERAGE_STATUS_EMPTY) {
      // A sparse file's missing blocks: one value throughout.
      T value = 0;
      Check(GDALRasterIO(FBand, GF_Read, x, y, 1, 1, &value, 1, 1, kBufferType<T>, 0, 0));
      if (FSignedBytes) MakeSigned(&value, 1);
      for (int64_t r = 0; r < part.Rows; ++r) std::fill_n(values + r * FColumns, part.Columns, value);
      return;
    }
    if (FSignedBytes && FAveraged) return AverageSignedBytes(part, values);
    GDALRasterIOExtraArg extra = AveragingOf(part, double(FWindow.XOff), double(FWindow.YOff));
    Check(GDALRasterIOEx(FBand, GF_Read, x, y, int(part.XSize), int(part.YSize), values, int(part.Columns),
                         int(part.Rows), kBufferType<T>, sizeof(T), line, &extra));
    if (FSignedBytes)
      for (int64_t r = 0; r < part.Rows; ++r) MakeSigned(values + r * FColumns, static_cast<size_t>(part.Columns));
  }

  // Nearest pixels when nothing is averaged, otherwise the average of the
  // exact part, whose pixel (0, 0) is (x0, y0) of the band read.
  GDALRasterIOExtraArg AveragingOf(const TPart& part, double x0, double y0) const {
    GDALRasterIOExtraArg extra;
    INIT_RASTERIO_EXTRA_ARG(extra);
    if (!FAveraged) return extra;
    extra.eResampleAlg = GRIORA_Average;
    extra.bFloatingPointWindowValidity = TRUE;
    extra.dfXOff = x0 + part.Left;
    extra.dfXSize = part.Width;
    extra.dfYOff = y0 + part.Top;
    extra.dfYSize = part.Height;
    return extra;
  }

  void Check(CPLErr result) const {
    if (result != CE_None) throw Refusal(FPath, FMessages.LastFailure("GDAL cannot read its heights"));
  }

  // GDAL's averaging of the signed values: the pixels, made signed, in a
  // raster in memory, averaged from the exact part.
  void AverageSignedBytes(const TPart& part, T* values) const {
    std::vector<float> pixels(static_cast<size_t>(part.XSize * part.YSize));
    Check(GDALRasterIO(FBand, GF_Read, int(FWindow.XOff + part.X), int(FWindow.YOff + part.Y), int(part.XSize),
                       int(part.YSize), pixels.data(), int(part.XSize), int(part.YSize), GDT_Float32, 0, 0));
    MakeSigned(pixels.data(), pixels.size());
    const TDataset memory(
        GDALCreate(GDALGetDriverByName("MEM"), "", int(part.XSize), int(part.YSize), 0, GDT_Float32, nullptr));
    char pointer[64] = {};
    CPLPrintPointer(pointer, pixels.data(), sizeof pointer - 1);
    char** options = CSLSetNameValue(nullptr, "DATAPOINTER", pointer);
    const CPLErr added = GDALAddBand(memory.get(), GDT_Float32, options);
    CSLDestroy(options);
    Check(added);
    GDALRasterBandH band = GDALGetRasterBand(memory.get(), 1);
    int has_no_data = 0;
    const double no_data = GDALGetRasterNoDataValue(FBand, &has_no_data);
    if (has_no_data) GDALSetRasterNoDataValue(band, no_data);
    GDALRasterIOExtraArg extra = AveragingOf(part, -double(part.X), -double(part.Y));
    Check(GDALRasterIOEx(band, GF_Read, 0, 0, int(part.XSize), int(part.YSize), values, int(part.Columns),
                         int(part.Rows), kBufferType<T>, sizeof(T), int(FColumns * int64_t{sizeof(T)}), &extra));
  }

  GDALRasterBandH FBand;
  const TznRasterWindow& FWindow;
  const int64_t FColumns, FRows;
  const bool FAveraged, FSignedBytes;
  const TGdalMessages& FMessages;
  const std::string& FPath;
};

// MemAvailable of /proc/meminfo in bytes; nothing where the system does
// not tell.
std::optional<int64_t> AvailableMemory() {
  std::ifstream in("/proc/meminfo");
  std::string name, rest;
  int64_t kilobytes = 0;
  while (in >> name >> kilobytes) {
    if (name == "MemAvailable:") return kilobytes * 1024;
    std::getline(in, rest);
  }
  return std::nullopt;
}

std::string Megabytes(int64_t bytes) { return FormatInt((bytes + (int64_t{1} << 20) - 1) >> 20) + " MB"; }

// Types whose values a 32-bit float holds exactly (or close enough for
// heights); wider ones are read as doubles.
bool FitsFloat(GDALDataType type) {
  return type == GDT_Byte || type == GDT_UInt16 || type == GDT_Int16 || type == GDT_Float32;
}

// Every file GDAL reads for the raster: the file itself, its world file,
// .aux.xml and .prj, a VRT's source rasters.
std::vector<std::string> FileList(GDALDatasetH dataset) {
  std::vector<std::string> files;
  char** list = GDALGetFileList(dataset);
  for (char** file = list; file && *file; ++file) files.emplace_back(*file);
  CSLDestroy(list);
  return files;
}

class TRasterReader {
 public:
  TRasterReader(const std::string& path, const TznRasterOptions& options)
      : FPath(path), FOptions(options), FMessages(path) {}

  // Opens the raster; the terrain takes the name once it is open.
  TznTerraGrid Read(std::string& opened_name, TznRasterReport& report) {
    const TDirectTiffReads direct;
    TDataset dataset = OpenDataset(FPath, FOptions.Drivers, FMessages);
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
    if (FOptions.PixelSize) CheckPixelSize(*FOptions.PixelSize, window, columns, rows, FPath);

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

    CheckMemory(band, columns, rows);
    TznRasterHeights heights = FitsFloat(GDALGetRasterDataType(band))
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
    grid.WaterLevel = heights.WaterLevel;
    grid.Heights = std::move(heights.Stored);
    grid.SourceFiles = FileList(ds);
    return grid;
  }

 private:
  // How many bands one block holds: all of them when the pixels interleave
  // their bands (a tile of a GeoTIFF then carries every band at once).
  static int64_t BandsPerBlock(GDALRasterBandH band) {
    GDALDatasetH dataset = GDALGetBandDataset(band);
    const char* interleave = dataset ? GDALGetMetadataItem(dataset, "INTERLEAVE", "IMAGE_STRUCTURE") : nullptr;
    return interleave && std::string_view(interleave) == "PIXEL" ? std::max(1, GDALGetRasterCount(dataset)) : 1;
  }

  // Refuses, before anything is read, a terrain whose heights, strip and
  // one of the raster's blocks (GDAL reads whole blocks) would not fit in
  // the memory available.
  void CheckMemory(GDALRasterBandH band, int64_t columns, int64_t rows) const {
    int block_x = 0, block_y = 0;
    GDALGetBlockSize(band, &block_x, &block_y);
    const int64_t block = int64_t{block_x} * block_y * GDALGetDataTypeSizeBytes(GDALGetRasterDataType(band)) *
                          BandsPerBlock(band);
    const std::optional<int64_t> available = AvailableMemory();
    if (available && block > *available / 2)
      throw Refusal(FPath, "GDAL reads it in blocks of " + FormatInt(block_x) + " x " + FormatInt(block_y) +
                               " pixels, which need " + Megabytes(block) + " each; " + Megabytes(*available) +
                               " are available");
    const int64_t needed = columns * rows * int64_t{sizeof(int16_t)} + kStripBytes + block;
    if (available && needed > *available)
      throw Refusal(FPath, "its terrain of " + FormatInt(columns) + " x " + FormatInt(rows) + " points needs " +
                               Megabytes(needed) + " of memory; " + Megabytes(*available) +
                               " are available (--points or --crop make it smaller)");
  }

  // Tells the progress callback the fraction done; a false answer cancels.
  void Progress(double done) const {
    if (FOptions.Progress && !FOptions.Progress(done)) throw EznRasterCancelled(FPath + ": loading cancelled");
  }

  // The stored heights, read strip by strip: the first pass finds the
  // extremes that fix the height factor, the second stores the heights.
  // When one strip holds every row, it is read once.
  template <typename T>
  TznRasterHeights Heights(GDALRasterBandH band, const TznRasterWindow& window, int64_t columns, int64_t rows,
                           bool flip_rows, bool flip_columns, const TznHeightRule& rule) const {
    const TStripReader<T> reader(band, window, columns, rows, FMessages, FPath);
    const int64_t per_strip = reader.RowsPerStrip();
    const bool one_pass = per_strip >= rows;
    const double passes = one_pass ? 1 : 2;
    std::vector<T> strip(static_cast<size_t>(per_strip * columns));
    const auto each_strip = [&](int pass, const std::function<void(int64_t first, int64_t count)>& use) {
      for (int64_t first = 0; first < rows; first += per_strip) {
        const int64_t count = std::min(per_strip, rows - first);
        const bool read = pass == 0 || !one_pass;
        if (read) reader.Read(first, count, strip.data());
        use(first, count);
        if (read) Progress((pass + double(first + count) / double(rows)) / passes);
      }
    };

    const T no_data = NoDataValue<T>(rule);
    TznValueRange<T> range;
    each_strip(0,
               [&](int64_t, int64_t count) { range.Add(strip.data(), static_cast<size_t>(count * columns), no_data); });
    TznRasterHeights heights;
    TznHeightConversion<T> conversion;
    try {
      conversion = HeightConversion(range, columns * rows, rule, heights);
      heights.Stored.resize(static_cast<size_t>(columns * rows));
    } catch (const EznError& e) {
      throw Refusal(FPath, e.what());
    } catch (const std::bad_alloc&) {
      throw EznError(FPath + ": not enough memory for " + FormatInt(columns) + " x " + FormatInt(rows) + " points");
    }
    each_strip(one_pass ? 0 : 1, [&](int64_t first, int64_t count) {
      for (int64_t r = first; r < first + count; ++r)
        conversion.StoreRow(strip.data() + (r - first) * columns, columns,
                            heights.Stored.data() + (flip_rows ? rows - 1 - r : r) * columns, flip_columns);
    });
    return heights;
  }

  const std::string& FPath;
  const TznRasterOptions& FOptions;
  // GDAL's messages from the opening of the raster to its closing.
  TGdalMessages FMessages;
};

}  // namespace

namespace {

TznRasterReport Load(TznTerra& terra, const std::string& path, const TznRasterOptions& options, bool file) {
  TznRasterReport report;
  TRasterReader reader(path, options);
  terra.LoadFromGrid(path, [&] {
    // A named pipe would keep GDAL waiting for a writer for ever.
    if (file) CheckRegularFile(path);
    return reader.Read(terra.FFileName, report);
  });
  report.HeightStep = terra.FScaleZ / 100.0;
  report.KeepElevation = options.KeepElevation;
  return report;
}

}  // namespace

TznRasterReport LoadRaster(TznTerra& terra, const std::string& path, const TznRasterOptions& options) {
  return Load(terra, path, options, true);
}

TznRasterReport LoadGdalRaster(TznTerra& terra, const std::string& gdal_name, const TznRasterOptions& options) {
  return Load(terra, gdal_name, options, false);
}
