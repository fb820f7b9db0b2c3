// Keeping a terrain as .ter: read back by our reader to the same terrain,
// opened by GDAL's Terragen driver with the same points in the same order.
#include <gtest/gtest.h>

#include <gdal.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "base/znError.h"
#include "import/znTerrainFile.h"
#include "support/rasterFiles.h"
#include "support/testFiles.h"
#include "terrain/znTerra.h"
#include "terrain/znTerragenWriter.h"
#include "tools/znConvertCli.h"

namespace {

struct CliResult {
  int code;
  std::string out, err;
};

CliResult RunCli(std::vector<std::string> args) {
  std::vector<const char*> argv = {"kalvor-convert"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = RunConvertCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

std::string SaveError(const TznTerra& terra, const std::string& path) {
  try {
    SaveTerragenFile(terra, path);
  } catch (const EznError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(TerragenWriter, KeepsARescaledTerrainThatBothReadersOpen) {
  // 101 x 101 pixels of 30 m (3000 m): the size limit makes the steps
  // 1000 / 100 = 10 m. Heights 0.5 c + 2 (100 - r) m span 250 m, so the
  // raster's height factor is 250 x 100 / 3276 = 7.63126 and the size limit
  // makes it (10 + 10) / (30 + 30) of that, 2.54375.
  test::Raster dem = test::MakeRaster(101, 101, [](int c, int r) { return 0.5 * c + 2.0 * (100 - r); });
  dem.geo_transform = {300000, 30, 0, 5000000, 0, -30};
  dem.epsg = 32632;
  dem.Save("dem.tif");
  const CliResult run = RunCli({"dem.tif", "--write-ter", "dem.ter"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "Wrote dem.ter: 101 x 101 points\n");
  EXPECT_FALSE(std::filesystem::exists(".prp"));  // no base name, no objects

  TznTerra direct, kept;
  LoadTerrainFile(direct, "dem.tif");
  kept.LoadFromFile("dem.ter");
  EXPECT_EQ(kept.FScaleX, 10.0f);
  EXPECT_EQ(kept.FScaleY, 10.0f);
  EXPECT_NEAR(kept.FScaleZ, 2.54375, 1e-5);
  EXPECT_EQ(kept.FScaleZ, direct.FScaleZ);
  EXPECT_EQ(kept.FHeights, direct.FHeights);

  // Rescaled as the scale dialog does: 4 m steps, three times the height
  // factor (7.63126), heights moved down by 200 units.
  kept.SetScaleX(4);
  kept.SetScaleY(4);
  kept.SetScaleZ(kept.FScaleZ * 3);
  kept.ShiftHeights(-200);
  SaveTerragenFile(kept, "scaled.ter");
  TznTerra back;
  back.LoadFromFile("scaled.ter");
  EXPECT_EQ(back.FScaleX, 4.0f);
  EXPECT_EQ(back.FScaleY, 4.0f);
  EXPECT_EQ(back.FScaleZ, kept.FScaleZ);
  EXPECT_EQ(back.FHeights, kept.FHeights);
  // ALTW: 65.536 x 7.63126 / 4 = 125.03, so 125.
  EXPECT_EQ(back.FHeightScale, 125);
  EXPECT_EQ(back.FBaseHeight, 0);

  // GDAL gives a Terragen file's northern row first, as rasters go (its
  // geotransform still says 4 m north-south with a positive sign).
  GDALAllRegister();
  GDALDatasetH gdal = GDALOpen("scaled.ter", GA_ReadOnly);
  ASSERT_NE(gdal, nullptr);
  EXPECT_STREQ(GDALGetDriverShortName(GDALGetDatasetDriver(gdal)), "Terragen");
  EXPECT_EQ(GDALGetRasterXSize(gdal), 101);
  EXPECT_EQ(GDALGetRasterYSize(gdal), 101);
  double gt[6];
  ASSERT_EQ(GDALGetGeoTransform(gdal, gt), CE_None);
  EXPECT_EQ(gt[1], 4.0);
  EXPECT_EQ(gt[5], 4.0);
  GDALRasterBandH band = GDALGetRasterBand(gdal, 1);
  std::vector<int16_t> raw(101 * 101);
  ASSERT_EQ(GDALRasterIO(band, GF_Read, 0, 0, 101, 101, raw.data(), 101, 101, GDT_Int16, 0, 0), CE_None);
  // Its metres are raw x 4 x 125 / 65536, ours raw x 7.631258 / 1000:
  // GDAL's are 1 - 125 / 125.0305 = 0.0244 % lower.
  const double scale = GDALGetRasterScale(band, nullptr), offset = GDALGetRasterOffset(band, nullptr);
  double worst = 0;
  for (int j = 0; j < 101; ++j)
    for (int i = 0; i < 101; ++i) {
      const int16_t gdal_raw = raw[(100 - j) * 101 + i];
      ASSERT_EQ(gdal_raw, kept.GetHeight(i, j) * 10) << i << "," << j;
      const double ours = kept.Metres(kept.GetHeight(i, j));
      if (ours != 0) worst = std::max(worst, std::fabs((gdal_raw * scale + offset) / ours - 1));
    }
  GDALClose(gdal);
  EXPECT_NEAR(worst, 0.000244, 0.000002);

  // The loaded file is never written over; heights beyond a raw 16-bit
  // value are refused rather than cut.
  const std::string before = test::ReadFile("scaled.ter");
  EXPECT_EQ(SaveError(back, "./scaled.ter"),
            "\"./scaled.ter\" is the file the terrain was loaded from; save it under another name");
  const CliResult over = RunCli({"scaled.ter", "--write-ter", "scaled.ter"});
  EXPECT_EQ(over.code, 1);
  EXPECT_NE(over.err.find("is the file the terrain was loaded from"), std::string::npos);
  EXPECT_EQ(test::ReadFile("scaled.ter"), before);
  back.ShiftHeights(3400);  // the highest point: 3076 + 3400 = 6476 units
  // 3277 units x 7.631258 / 100 = 250.08 m.
  EXPECT_NE(SaveError(back, "high.ter").find("a .ter file holds only -250.08 m to 250.08 m"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("high.ter"));
}
