// Height rasters for the tests, written through GDAL's own API into the
// test's folder.
#pragma once

#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace test {

struct Raster {
  int width = 0, height = 0;
  GDALDataType type = GDT_Float32;
  // Row by row, the raster's first row first (the northern edge of a
  // north-up raster).
  std::vector<double> values;
  std::optional<std::array<double, 6>> geo_transform;
  int epsg = 0;  // 0: no coordinate system
  std::optional<double> no_data;
  int bands = 1;                              // each holds the values
  std::vector<std::string> creation_options;  // "NAME=VALUE", for the driver

  // Writes the raster with the named driver (GTiff, PNG, AAIGrid, ...).
  void Save(const std::string& path, const char* driver = "GTiff") const {
    GDALAllRegister();
    GDALDatasetH memory = GDALCreate(GDALGetDriverByName("MEM"), "", width, height, bands, type, nullptr);
    for (int b = 1; b <= bands; ++b) {
      GDALRasterBandH band = GDALGetRasterBand(memory, b);
      std::vector<double> copy = values;
      if (GDALRasterIO(band, GF_Write, 0, 0, width, height, copy.data(), width, height, GDT_Float64, 0, 0) != CE_None)
        throw std::runtime_error("cannot fill the raster");
      if (no_data) GDALSetRasterNoDataValue(band, *no_data);
    }
    if (geo_transform) {
      std::array<double, 6> gt = *geo_transform;
      GDALSetGeoTransform(memory, gt.data());
    }
    if (epsg) {
      OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
      OSRImportFromEPSG(srs, epsg);
      GDALSetSpatialRef(memory, srs);
      OSRDestroySpatialReference(srs);
    }
    std::vector<char*> options;
    for (const std::string& option : creation_options) options.push_back(const_cast<char*>(option.c_str()));
    options.push_back(nullptr);
    GDALDatasetH file =
        GDALCreateCopy(GDALGetDriverByName(driver), path.c_str(), memory, FALSE, options.data(), nullptr, nullptr);
    GDALClose(memory);
    if (!file) throw std::runtime_error("cannot write " + path);
    GDALClose(file);
  }
};

// A raster of width x height cells whose value at column c, row r (row 0
// the first) is value(c, r).
template <typename F>
Raster MakeRaster(int width, int height, F value) {
  Raster raster;
  raster.width = width;
  raster.height = height;
  for (int r = 0; r < height; ++r)
    for (int c = 0; c < width; ++c) raster.values.push_back(value(c, r));
  return raster;
}

// A geographic raster on WGS 84 (EPSG:4326) of width x height cells of
// 1/1200 degree (3 arc-seconds), 10 degrees east, whose centre row lies at
// centre_latitude; value(c, r) as for MakeRaster.
template <typename F>
Raster GeographicRaster(int width, int height, double centre_latitude, F value) {
  Raster raster = MakeRaster(width, height, value);
  const double step = 1 / 1200.0;
  raster.geo_transform = {10.0, step, 0, centre_latitude + height / 2.0 * step, 0, -step};
  raster.epsg = 4326;
  return raster;
}

// A valley about 30 km a side near 36.6 degrees north: 400 x 340 cells of
// 1/1200 degree, heights from 236 m up a cone of 100 cells' radius to a
// flat top of 1076 m over every cell within two cells of column 100, row 40
// (terrain point 100, 299).
inline Raster ValleyRaster() {
  return GeographicRaster(400, 340, 36.6, [](int c, int r) {
    return 236 + 840 * std::clamp((100 - std::hypot(c - 100, r - 40)) / 98, 0.0, 1.0);
  });
}

}  // namespace test
