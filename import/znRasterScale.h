// Metres per pixel of a height raster: its geotransform in the linear units
// of a projected coordinate system, or, for a geographic one, metres per
// degree at the raster's centre latitude on its ellipsoid, separately east-
// west and north-south; 1 m without georeference.
#pragma once

#include <cstdint>
#include <string>

struct TznPixelSize {
  double X = 1, Y = 1;
};

// Metres per radian of longitude (the prime-vertical radius of curvature
// times the cosine of the latitude) and of latitude (the meridional radius
// of curvature) at a latitude on an ellipsoid. An inverse flattening of 0
// is a sphere.
TznPixelSize MetresPerRadian(double semi_major, double inverse_flattening, double latitude_radians);

struct TznRasterGeo {
  bool Georeferenced = false;
  std::string Crs;  // empty when the raster names none
  TznPixelSize Pixel;
};

// The pixel sizes in metres that a window of x_size x y_size pixels,
// averaged down to columns x rows points, can take: each side of the
// terrain at least one object of the smallest size long, at most
// TznTerra::kMaxScale metres from point to point and TznTerra::kMaxMetres
// along a side.
struct TznPixelRange {
  double Low = 0, High = 0;
};
TznPixelRange UsablePixelSizes(int64_t x_size, int64_t y_size, int64_t columns, int64_t rows);

// The georeference of a GDAL dataset. geo_transform: its six numbers, or
// null when it has none; centre_row: the raster row (in pixels, fractional)
// at the centre of the part that is read. Throws EznError for a latitude
// outside -90 .. 90 degrees.
TznRasterGeo RasterGeo(void* dataset, const double* geo_transform, double centre_row);
