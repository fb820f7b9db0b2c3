// How a height raster becomes a terrain: the band, the pixel size, the most
// points along a side, a window to cut first, and whether the heights keep
// their height above sea level.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A window of the raster in pixels, as gdal_translate -srcwin takes it.
struct TznRasterWindow {
  int64_t XOff = 0, YOff = 0, XSize = 0, YSize = 0;
};

struct TznRasterOptions {
  // After the 1000 m size limit, 4097 points lie 24 cm apart: finer than
  // the densest object mesh (35 vertices per 10 m).
  static constexpr int kDefaultPoints = 4097;
  static constexpr int kMaxPoints = 16385;

  int Band = 1;
  // Metres per pixel in place of the raster's own (1 m without
  // georeference).
  std::optional<double> PixelSize;
  // A raster with more points along a side is averaged down to this many
  // along its longer side.
  int MaxPoints = kDefaultPoints;
  std::optional<TznRasterWindow> Crop;
  // Heights above sea level instead of the lowest valid height at 0 m.
  bool KeepElevation = false;

  // Told the fraction of the raster read so far (0 to 1) after every strip
  // of rows; returning false stops the load with EznRasterCancelled.
  std::function<bool(double)> Progress;
  // The GDAL drivers that may open the raster, by their short names
  // ("GTiff"); empty: every driver.
  std::vector<std::string> Drivers;
};
