// A terrain kept as .ter through "--write-ter", read back by GDAL's Terragen
// driver and by our reader: both take every point to the same metres, and
// those lie within half a height step of the terrain that was kept.
#include <gdal.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "import/znTerrainFile.h"
#include "support/convertRun.h"
#include "support/rasterFiles.h"
#include "terrain/znTerra.h"

namespace {

struct ReadBackCase {
  std::string name;
  int cells;     // along each side
  double pixel;  // metres
  std::function<double(int, int)> height;
  int16_t height_scale;  // ALTW
  double step;           // metres between neighbouring heights of the file
  std::string step_text;
};

// Every raster's heights go in from its lowest point, 16000 stored units
// over its span, five of them to a unit of the file: SCAL z would be 5 x
// span x 100 / 16000. GDAL takes a raw height to raw x pixel x ALTW / 65536
// metres, ours to raw / 10 x SCAL z / 100, so ALTW is the whole number
// nearest to 65.536 x SCAL z / pixel, and SCAL z becomes ALTW x pixel x 1000
// / 65536, the step a hundredth of that:
// - flat, 1.5 m over 1200 m: SCAL z 0.046875, 65.536 x 0.046875 / 30 =
//   0.1024, ALTW 1, SCAL z 30000 / 65536;
// - rolling hills of 300 +- 60 m: SCAL z 3.75, 65.536 x 3.75 / 10 = 24.576,
//   ALTW 25, SCAL z 250000 / 65536;
// - a slope rising 20 m every 5 m, 800 m in all: SCAL z 25, 65.536 x 25 / 5
//   = 327.68, ALTW 328, SCAL z 1640000 / 65536.
// Their highest units, 1.5 / 0.0045776 = 328, 120 / 0.038147 = 3146 and
// 800 / 0.250244 = 3197, stay within the 3277 a raw height holds.
const std::vector<ReadBackCase> kCases = {
    {"flat", 41, 30, [](int c, int r) { return 200 + 0.025 * c + 0.0125 * r; }, 1, 30000 / 65536e2, "0.00457764"},
    {"rolling", 81, 10,
     [](int c, int r) { return 300 + 60 * std::sin(c * std::numbers::pi / 40) * std::cos(r * std::numbers::pi / 40); },
     25, 250000 / 65536e2, "0.038147"},
    {"steep", 41, 5, [](int c, int) { return 20.0 * c; }, 328, 1640000 / 65536e2, "0.250244"},
};

// GDAL's metres of every point, row by row from the south as our grid runs.
std::vector<double> GdalMetres(const std::string& path, int points, double& scale) {
  GDALDatasetH file = GDALOpen(path.c_str(), GA_ReadOnly);
  if (!file) return {};
  GDALRasterBandH band = GDALGetRasterBand(file, 1);
  std::vector<int16_t> raw(size_t(points) * points);
  const CPLErr read = GDALRasterIO(band, GF_Read, 0, 0, points, points, raw.data(), points, points, GDT_Int16, 0, 0);
  scale = GDALGetRasterScale(band, nullptr);
  const double offset = GDALGetRasterOffset(band, nullptr);
  GDALClose(file);
  if (read != CE_None) return {};
  std::vector<double> metres;
  for (int j = 0; j < points; ++j)  // GDAL's first row is the northern one
    for (int i = 0; i < points; ++i) metres.push_back(raw[size_t(points - 1 - j) * points + i] * scale + offset);
  return metres;
}

}  // namespace

TEST(TerragenReadBack, GdalAndWeReadTheKeptTerrainToTheSameMetres) {
  GDALAllRegister();
  for (const ReadBackCase& k : kCases) {
    SCOPED_TRACE(k.name);
    const int points = k.cells;
    test::Raster raster = test::MakeRaster(points, points, k.height);
    raster.geo_transform = {400000, k.pixel, 0, 5000000, 0, -k.pixel};
    raster.epsg = 32632;
    raster.Save(k.name + ".tif");
    const test::CliResult run = test::RunConvert({k.name + ".tif", "--write-ter", k.name + ".ter"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string size = std::to_string(points) + " x " + std::to_string(points);
    EXPECT_EQ(run.out, "Wrote " + k.name + ".ter: " + size + " points, height step " + k.step_text + " m\n");

    TznTerra terrain, kept;
    LoadTerrainFile(terrain, k.name + ".tif");
    kept.SetFitRule(TznFitRule::TrueSize);  // the flat terrain is 1200 m across
    kept.LoadFromFile(k.name + ".ter");
    EXPECT_EQ(kept.FScaleX, k.pixel);  // the horizontal scales as they were
    EXPECT_EQ(kept.FScaleY, k.pixel);
    EXPECT_EQ(kept.FScaleZ, k.step * 100);
    EXPECT_EQ(kept.FHeightScale, k.height_scale);
    EXPECT_EQ(kept.FBaseHeight, 0);

    double scale = 0;
    const std::vector<double> gdal = GdalMetres(k.name + ".ter", points, scale);
    ASSERT_EQ(gdal.size(), terrain.FHeights.size());
    EXPECT_EQ(scale, k.pixel * k.height_scale / 65536);
    double from_kept = 0, from_terrain = 0;
    for (int j = 0; j < points; ++j)
      for (int i = 0; i < points; ++i) {
        const double theirs = gdal[size_t(j) * points + i];
        from_kept = std::max(from_kept, std::fabs(theirs - kept.Metres(kept.GetHeight(i, j))));
        from_terrain = std::max(from_terrain, std::fabs(theirs - terrain.Metres(terrain.GetHeight(i, j))));
      }
    // Both readers take a raw height to the same number but for rounding;
    // re-quantised, a height moves by half a step at most.
    EXPECT_LT(from_kept, 1e-9);
    EXPECT_LE(from_terrain, k.step / 2 + 1e-9);
  }
}
