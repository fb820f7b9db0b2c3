// Metres per pixel of a height raster: its geotransform in the linear units
// of a projected coordinate system, or, for a geographic one, metres per
// degree at the raster's centre latitude on its ellipsoid, separately east-
// west and north-south; 1 m without georeference.
#pragma once

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

// The georeference of a GDAL dataset. geo_transform: its six numbers, or
// null when it has none; centre_row: the raster row (in pixels, fractional)
// at the centre of the part that is read. Throws EznError for a latitude
// outside -90 .. 90 degrees.
TznRasterGeo RasterGeo(void* dataset, const double* geo_transform, double centre_row);
