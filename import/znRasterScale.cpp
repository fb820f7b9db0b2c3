#include "import/znRasterScale.h"

#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/znError.h"
#include "base/znFormat.h"
#include "terrain/znCuttingOptions.h"
#include "terrain/znTerra.h"

TznPixelRange UsablePixelSizes(int64_t x_size, int64_t y_size, int64_t columns, int64_t rows) {
  const double smallest_object = TznCuttingOptions::kObjectSizes.front();
  TznPixelRange range{0, TznTerra::kMaxScale};
  // points along a side, and pixels per point
  for (const auto& [pixels, points] : {std::pair{x_size, columns}, std::pair{y_size, rows}}) {
    const double per_point = double(pixels) / double(points);
    range.Low = std::max(range.Low, smallest_object / (double(points - 1) * per_point));
    range.High =
        std::min({range.High, TznTerra::kMaxScale / per_point, TznTerra::kMaxMetres / (double(points) * per_point)});
  }
  return range;
}

TznPixelSize MetresPerRadian(double semi_major, double inverse_flattening, double latitude_radians) {
  const double f = inverse_flattening != 0 ? 1 / inverse_flattening : 0;
  const double e2 = f * (2 - f);
  const double sin_lat = std::sin(latitude_radians);
  const double w = 1 - e2 * sin_lat * sin_lat;
  const double prime_vertical = semi_major / std::sqrt(w);
  const double meridional = semi_major * (1 - e2) / (w * std::sqrt(w));
  return {prime_vertical * std::cos(latitude_radians), meridional};
}

TznRasterGeo RasterGeo(void* dataset, const double* gt, double centre_row) {
  TznRasterGeo geo;
  if (!gt) return geo;
  geo.Georeferenced = true;
  geo.Pixel = {std::fabs(gt[1]), std::fabs(gt[5])};
  OGRSpatialReferenceH srs = GDALGetSpatialRef(dataset);
  if (!srs) return geo;  // no coordinate system: the numbers count as metres
  if (const char* name = OSRGetName(srs)) geo.Crs = name;

  if (OSRIsGeographic(srs)) {
    const double radians_per_unit = OSRGetAngularUnits(srs, nullptr);
    const double latitude = (gt[3] + gt[5] * centre_row) * radians_per_unit;
    if (!(std::fabs(latitude) <= M_PI / 2))
      throw EznError("the raster's centre lies at latitude " + FormatGeneral(latitude * 180 / M_PI) +
                     " degrees, beyond the poles");
    const TznPixelSize per_radian =
        MetresPerRadian(OSRGetSemiMajor(srs, nullptr), OSRGetInvFlattening(srs, nullptr), latitude);
    geo.Pixel = {per_radian.X * std::fabs(gt[1]) * radians_per_unit,
                 per_radian.Y * std::fabs(gt[5]) * radians_per_unit};
  } else {
    const double metres_per_unit = OSRGetLinearUnits(srs, nullptr);
    geo.Pixel = {std::fabs(gt[1]) * metres_per_unit, std::fabs(gt[5]) * metres_per_unit};
  }
  return geo;
}
