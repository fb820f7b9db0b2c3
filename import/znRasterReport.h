// What loading a raster tells the user beyond the terrain itself: where the
// numbers came from, what was averaged, how many cells had no height, and
// the height step of the stored heights.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TznRasterReport {
  std::string Driver;  // "GTiff (GeoTIFF)"
  std::string Crs;     // the coordinate system's name; empty when there is none
  bool Georeferenced = false;
  double PixelX = 1, PixelY = 1;     // metres per raster pixel east-west and north-south
  int64_t SourceX = 0, SourceY = 0;  // pixels read: the raster or its window
  int64_t PointsX = 0, PointsY = 0;  // points of the terrain
  int64_t NoDataCells = 0;
  double Lowest = 0;           // metres of the lowest valid cell, as the raster holds it
  double HeightStep = 0;       // metres per stored unit of the loaded terrain
  bool KeepElevation = false;  // the step follows the highest absolute height

  bool Averaged() const { return PointsX != SourceX || PointsY != SourceY; }
  // "16385 x 16385 points averaged down to 4097 x 4097"; empty when nothing was.
  std::string AveragingNote() const;
  // After a load: the no-data cells (when there are any), the averaging
  // (when there was any) and the height step.
  std::vector<std::string> Notes() const;
  // For an information listing: driver, coordinate system, pixel size,
  // averaging and no-data cells, one "Name: value" a line.
  std::vector<std::string> InfoLines() const;
};
