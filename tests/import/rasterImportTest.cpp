// Height rasters as terrains: the same objects as from a .ter file, north
// up, pixel sizes in metres, no-data cells, averaging and refusals; and a
// terrain kept as .ter, read back by our reader and opened by GDAL's
// Terragen driver.
#include <cpl_string.h>
#include <gdal.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "base/znError.h"
#include "base/znLog.h"
#include "import/znRasterSource.h"
#include "import/znTerrainFile.h"
#include "support/convertRun.h"
#include "support/processMemory.h"
#include "support/rasterFiles.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"
#include "terrain/znTerraRescale.h"
#include "terrain/znTerragenWriter.h"
#include "tools/znConvertCli.h"

namespace fs = std::filesystem;

namespace {

// The lowest and the highest vertex of an object file, in decametres.
std::pair<double, double> VertexHeights(const std::string& rwx) {
  std::istringstream in(rwx);
  std::string word;
  std::pair<double, double> range{1e30, -1e30};
  while (in >> word)
    if (word == "Vertex") {
      double x, y;
      in >> x >> y;
      range = {std::min(range.first, y), std::max(range.second, y)};
    }
  return range;
}
double HighestVertex(const std::string& rwx) { return VertexHeights(rwx).second; }

std::string LoadError(TznTerra& terra, const std::string& path) {
  try {
    LoadTerrainFile(terra, path);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
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

TEST(RasterImport, GeoTiffWritesTheSameObjectsAsTheSameTerAndKeepsNorthUp) {
  // 33 x 25 points 10 m apart (320 m x 240 m), rising from 0 in the
  // south-west corner to a peak of 3200 stored units of the .ter file in
  // the north-east one. At 1/12.8 m per unit (FScaleZ 7.8125) every height
  // is exact in a float, and the peak of 250 m makes the raster's height
  // factor 250 x 100 / 16000 = 1.5625: five raster units to a .ter unit.
  // With 2 vertices per 10 m every vertex lies on a point.
  const int nx = 33, ny = 25;
  const auto stored = [&](int i, int j) { return (3200 * i * j) / ((nx - 1) * (ny - 1)); };
  test::Bytes ter = test::TerHeader(ny - 1);
  ter.Text("XPTS").I32(nx).Text("YPTS").I32(ny).Text("SCAL").F32(10).F32(10).F32(7.8125f);
  ter.Text("ALTW").I16(1).I16(0);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) ter.I16(static_cast<int16_t>(stored(i, j) * 10));
  ter.Save("hill.ter");
  // The raster's first row is its northern edge: row r holds point row ny-1-r.
  test::Raster tif = test::MakeRaster(nx, ny, [&](int c, int r) { return stored(c, ny - 1 - r) / 12.8; });
  tif.geo_transform = {500000, 10, 0, 5300000, 0, -10};
  tif.epsg = 32632;  // WGS 84 / UTM zone 32N, metres
  tif.Save("hill.tif");

  TznTerra terra;
  LoadTerrainFile(terra, "hill.tif");
  EXPECT_EQ(terra.GetHeight(nx - 1, ny - 1), 16000);  // the peak in the north-east
  EXPECT_EQ(terra.GetHeight(0, 0), 0);
  EXPECT_EQ(terra.FScaleZ, 1.5625f);

  const test::CliResult from_ter = test::RunConvert({"hill.ter", "ter/v", "--vertices", "2", "--citizen", "7"});
  ASSERT_EQ(from_ter.code, 0) << from_ter.err;
  const test::CliResult from_tif = test::RunConvert({"hill.tif", "tif/v", "--vertices", "2", "--citizen", "7"});
  ASSERT_EQ(from_tif.code, 0) << from_tif.err;
  EXPECT_NE(from_tif.err.find("hill.tif: height step 0.015625 m"), std::string::npos) << from_tif.err;
  const auto ter_files = test::FilesWithoutTimes("ter"), tif_files = test::FilesWithoutTimes("tif");
  ASSERT_GT(tif_files.size(), 700u);
  EXPECT_TRUE(ter_files == tif_files);
  // The origin sits at the centre (160 m, 120 m). The north-east object
  // spans 310..320 m east and 230..240 m north, its centre 15.5 dam east
  // and 11.5 dam north of the origin: 12 north, 15 east. It holds the peak,
  // 25 dam. The south-west one (0..10 m, centre 15.5 dam west and 11.5 dam
  // south: 11 south, 16 west) rises only to 3200 / 768 = 4 units (integer
  // division) at (10 m, 10 m): 4 / 12.8 m = 0.03125 dam.
  EXPECT_DOUBLE_EQ(HighestVertex(tif_files.at("v12n15e.rwx")), 25);
  EXPECT_DOUBLE_EQ(HighestVertex(tif_files.at("v11s16w.rwx")), 0.03125);
}

TEST(RasterImport, GeographicPixelSizesComeFromTheEllipsoidAtTheCentreLatitude) {
  // 21 x 21 cells of 1/3600 degree centred on 45 N, on WGS 84:
  // a = 6378137 m, 1/f = 298.257223563, e^2 = f (2 - f) = 0.00669438.
  // At 45 degrees sin^2 = 1/2, w = 1 - e^2 / 2 = 0.99665281;
  // prime vertical N = a / sqrt(w) = 6388838.29 m,
  // meridional M = a (1 - e^2) / w^1.5 = 6367381.82 m.
  // East-west: N cos 45 x pi / 180 / 3600 = 21.9019 m;
  // north-south: M x pi / 180 / 3600 = 30.8699 m.
  test::Raster raster = test::MakeRaster(21, 21, [](int c, int r) { return 100.0 + c + r; });
  raster.geo_transform = {6.0, 1 / 3600.0, 0, 45 + 10.5 / 3600, 0, -1 / 3600.0};
  raster.epsg = 4326;
  raster.Save("dem.tif");

  TznTerra terra;
  LoadTerrainFile(terra, "dem.tif");
  EXPECT_NEAR(terra.FFileScaleX, 21.9019, 1e-3);
  EXPECT_NEAR(terra.FFileScaleY, 30.8699, 1e-3);
  EXPECT_EQ(terra.FXPoints, 21);

  const test::CliResult info = test::RunConvert({"--info", "dem.tif"});
  ASSERT_EQ(info.code, 0) << info.err;
  EXPECT_NE(info.out.find("Driver: GTiff (GeoTIFF)\nCRS: WGS 84\nPixel size: 21.9019 x 30.8699 m\n"), std::string::npos)
      << info.out;
}

TEST(RasterImport, PlainPngAndAsciiGridWithNoData) {
  // A 16-bit PNG without georeference: 1 m per pixel, or the size given.
  // Values 1000 r + 10 c: the lowest, 0 in the north-west corner, becomes
  // 0 m; the highest, 2030 in the south-east corner, 16000 stored units.
  test::Raster png = test::MakeRaster(4, 3, [](int c, int r) { return 1000.0 * r + 10 * c; });
  png.type = GDT_UInt16;
  png.Save("map.png", "PNG");
  TznTerra terra;
  LoadTerrainFile(terra, "map.png");
  EXPECT_EQ(terra.FScaleX, 1.0f);
  EXPECT_EQ(terra.FScaleY, 1.0f);
  // Terrain row j is raster row 2 - j: (3, 0) holds 2030, (0, 2) holds 0,
  // (1, 1) holds 1010 -> Round(1010 x 16000 / 2030) = Round(7960.59) = 7961.
  EXPECT_EQ(terra.GetHeight(3, 0), 16000);
  EXPECT_EQ(terra.GetHeight(0, 2), 0);
  EXPECT_EQ(terra.GetHeight(1, 1), 7961);
  TznRasterOptions options;
  options.PixelSize = 5;  // 15 m x 10 m: each side holds one 10 m object
  LoadTerrainFile(terra, "map.png", options);
  EXPECT_EQ(terra.FScaleX, 5.0f);
  EXPECT_EQ(terra.FScaleY, 5.0f);

  // An ASCII grid of 5 m cells, two of them no-data. Valid heights run
  // from 1 to 9 m: 8 m over 16000 units, 2000 units per metre.
  test::Raster grid;
  grid.width = grid.height = 3;
  grid.values = {7, 9,     5,  //
                 3, -9999, 5,  //
                 1, 3,     -9999};
  grid.no_data = -9999;
  grid.geo_transform = {0, 5, 0, 15, 0, -5};
  grid.Save("grid.asc", "AAIGrid");
  const std::optional<TznRasterReport> report = LoadTerrainFile(terra, "grid.asc");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->NoDataCells, 2);
  EXPECT_EQ(terra.FScaleX, 5.0f);
  const std::vector<int16_t> expected = {0,     4000,  0,      // 1, 3, no-data (at the lowest, 1 m)
                                         4000,  0,     8000,   // 3, no-data, 5
                                         12000, 16000, 8000};  // 7, 9, 5
  EXPECT_EQ(terra.FHeights, expected);
  EXPECT_NEAR(terra.Metres(terra.GetHighest()), 8.0, 1e-4);

  const test::CliResult run = test::RunConvert({"grid.asc", "out/g", "--keep-elevation"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("kalvor-convert: grid.asc: 2 no-data cells take the lowest valid height, 1.00 m\n"),
            std::string::npos)
      << run.err;
}

TEST(RasterImport, LargeRastersAreAveragedDownAndNoTerrainsAreRefused) {
  // 8194 x 4 cells of 0 m but for a last column of 100 m: averaged down
  // to 4097 x 2 points, each the mean of a 2 x 2 block. The last point
  // averages the 100 m column with its 0 m neighbour: 50 m, stored as the
  // highest, 16000 units; all others stay 0.
  test::MakeRaster(8194, 4, [](int c, int) { return c == 8193 ? 100.0 : 0.0; }).Save("wide.tif");
  TznTerra terra;
  const std::optional<TznRasterReport> report = LoadTerrainFile(terra, "wide.tif");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->AveragingNote(), "8194 x 4 points averaged down to 4097 x 2");
  ASSERT_EQ(terra.FXPoints, 4097);
  ASSERT_EQ(terra.FYPoints, 2);
  EXPECT_EQ(terra.FFileScaleX, 2.0f);  // 1 m pixels, two to a point
  EXPECT_EQ(terra.FFileScaleY, 2.0f);
  EXPECT_EQ(terra.GetHeight(4096, 1), 16000);
  EXPECT_EQ(terra.GetHeight(4095, 1), 0);
  EXPECT_NEAR(16000 * double{terra.FFileScaleZ} / 100, 50.0, 1e-4);

  test::CliResult info = test::RunConvert({"--info", "wide.tif", "--points", "1025", "--crop", "2,1,4096,2"});
  ASSERT_EQ(info.code, 0) << info.err;
  EXPECT_NE(info.out.find("XPts: 1025\nYPts: 2\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("Averaged: 4096 x 2 points averaged down to 1025 x 2\n"), std::string::npos);

  test::Raster rotated = test::MakeRaster(3, 3, [](int c, int r) { return double(c + r); });
  rotated.geo_transform = {0, 10, 0.5, 0, 0.5, -10};
  rotated.Save("rotated.tif");
  test::Raster empty = test::MakeRaster(2, 2, [](int, int) { return -9999.0; });
  empty.no_data = -9999;
  empty.Save("empty.tif");
  test::Raster complex = test::MakeRaster(2, 2, [](int c, int) { return double(c); });
  complex.type = GDT_CFloat32;
  complex.Save("complex.tif");
  test::WriteFile("notes.txt", "no heights in here\n");

  EXPECT_NE(LoadError(terra, "rotated.tif").find("rotated.tif: the raster is rotated or sheared"), std::string::npos);
  EXPECT_EQ(terra.FXPoints, 0);  // refused like a bad .ter file: cleared, no heights
  EXPECT_TRUE(terra.FHeights.empty());
  EXPECT_EQ(LoadError(terra, "empty.tif"), "empty.tif: every cell is no-data");
  EXPECT_EQ(LoadError(terra, "complex.tif"), "complex.tif: band 1 holds complex numbers (CFloat32), not heights");
  EXPECT_NE(LoadError(terra, "notes.txt").find("notes.txt: `notes.txt' not recognized"), std::string::npos);
  EXPECT_EQ(test::RunConvert({"--info", "wide.tif", "--band", "2"}).err,
            "kalvor-convert: wide.tif: there is no band 2; the raster has 1\n");
  EXPECT_NE(test::RunConvert({"--info", "wide.tif", "--crop", "8000,0,400,4"}).err.find("does not lie within"),
            std::string::npos);

  // A few hundred bytes that declare blocks of 2^20 x 2^20 doubles: GDAL
  // would allocate 2^40 x 8 bytes = 8388608 MB for the first block it reads.
  char** options = CSLSetNameValue(nullptr, "SPARSE_OK", "TRUE");
  for (const char* key : {"TILED=YES", "BLOCKXSIZE=1048576", "BLOCKYSIZE=1048576"})
    options = CSLAddString(options, key);
  GDALAllRegister();
  GDALClose(GDALCreate(GDALGetDriverByName("GTiff"), "blocks.tif", 100, 100, 1, GDT_Float64, options));
  CSLDestroy(options);
  EXPECT_NE(LoadError(terra, "blocks.tif")
                .find("blocks.tif: GDAL reads it in blocks of 1048576 x 1048576 pixels, "
                      "which need 8388608 MB each"),
            std::string::npos);
}

TEST(RasterImport, SignedBytesBandsAndCancelling) {
  // Signed bytes stored as 255 (-1), 1 and 3: read signed, the heights run
  // from -1 to 3 m; kept above sea level, 3 m is the highest stored height
  // 16000 and -1 m is Round(-16000 / 3) = -5333, 1 m 5333. Averaged
  // 4 x 2 -> 2 x 2 (each point the mean of two pixels side by side):
  // -1, 2 / 1, 1, so 2 m is 16000, -1 m -8000 and 1 m 8000. Read unsigned,
  // 255 would be the top. Below sea level, the water lies at 0 m.
  test::Raster bytes;
  bytes.width = 4;
  bytes.height = 2;
  bytes.type = GDT_Byte;
  bytes.values = {255, 255, 1, 3,  //
                  1,   1,   1, 1};
  bytes.creation_options = {"PIXELTYPE=SIGNEDBYTE"};
  bytes.Save("signed.tif");
  TznRasterOptions options;
  options.KeepElevation = true;
  TznTerra terra;
  std::optional<TznRasterReport> report = LoadTerrainFile(terra, "signed.tif", options);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Lowest, -1.0);
  // Terrain row 1 is the raster's first row.
  EXPECT_EQ(terra.GetHeight(0, 1), -5333);
  EXPECT_EQ(terra.GetHeight(3, 1), 16000);
  EXPECT_EQ(terra.GetHeight(2, 0), 5333);
  EXPECT_EQ(terra.FWaterLevel, 0);
  options.MaxPoints = 2;
  LoadTerrainFile(terra, "signed.tif", options);
  ASSERT_EQ(terra.FXPoints, 2);
  EXPECT_EQ(terra.GetHeight(0, 1), -8000);
  EXPECT_EQ(terra.GetHeight(1, 1), 16000);
  EXPECT_EQ(terra.GetHeight(0, 0), 8000);

  // A photograph: three bands, the first used, and the user is told.
  test::Raster photo = test::MakeRaster(3, 2, [](int c, int r) { return double(10 * c + r); });
  photo.type = GDT_Byte;
  photo.bands = 3;
  photo.Save("photo.tif");
  std::vector<std::string> warnings;
  const TznWarningSink before = SetWarningSink([&](const std::string& w) { warnings.push_back(w); });
  LoadTerrainFile(terra, "photo.tif");
  SetWarningSink(before);
  EXPECT_EQ(warnings,
            std::vector<std::string>{"photo.tif: the raster has 3 bands; band 1 is used (--band chooses another)"});

  // The progress runs up to the whole; a false answer cancels the load,
  // which then leaves no heights.
  std::vector<double> fractions;
  options.Progress = [&](double done) {
    fractions.push_back(done);
    return true;
  };
  LoadTerrainFile(terra, "photo.tif", options);
  ASSERT_FALSE(fractions.empty());
  EXPECT_EQ(fractions.back(), 1.0);
  options.Progress = [](double) { return false; };
  EXPECT_THROW(LoadTerrainFile(terra, "photo.tif", options), EznRasterCancelled);
  EXPECT_TRUE(terra.FHeights.empty());
}

TEST(RasterImport, AHugeSparseRasterIsReadInBoundedMemory) {
  // 20000 x 4100 doubles declared (656 MB), one 512 x 512 tile written
  // with 100 m in the north-west corner, the rest missing (0 m). At 16385
  // points along the longer side, 4100 x 16385 / 20000 = 3358.9 rows make
  // 3359: a whole buffer of doubles took 440 MB besides the heights' 110 MB;
  // read in strips the rest takes a few MB.
  {
    char** options = CSLSetNameValue(nullptr, "SPARSE_OK", "TRUE");
    options = CSLSetNameValue(options, "TILED", "YES");
    options = CSLSetNameValue(options, "BLOCKXSIZE", "512");
    options = CSLSetNameValue(options, "BLOCKYSIZE", "512");
    options = CSLSetNameValue(options, "BIGTIFF", "YES");
    options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    GDALAllRegister();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), "sparse.tif", 20000, 4100, 1, GDT_Float64, options);
    CSLDestroy(options);
    ASSERT_NE(ds, nullptr);
    std::vector<double> tile(512 * 512, 100.0);
    ASSERT_EQ(
        GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, 512, 512, tile.data(), 512, 512, GDT_Float64, 0, 0),
        CE_None);
    GDALClose(ds);
  }
  ASSERT_LT(fs::file_size("sparse.tif"), 100000u);
  // The child starts with this process's resident pages; the load's own peak
  // is what it adds to them.
  const double resident_mb_at_fork = test::ResidentMegabytes();
  const pid_t child = ::fork();
  if (child == 0) {
    TznTerra terra;
    TznRasterOptions options;
    options.MaxPoints = TznRasterOptions::kMaxPoints;
    LoadTerrainFile(terra, "sparse.tif", options);
    const bool ok = terra.FXPoints == 16385 && terra.FYPoints == 3359 && terra.GetHeight(0, 3358) == 16000 &&
                    terra.GetHeight(16384, 0) == 0;
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  rusage usage{};
  ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_LT(usage.ru_maxrss / 1024.0 - resident_mb_at_fork, 300) << "peak MB of the load";
}

TEST(TerragenWriter, KeepsARescaledTerrainThatBothReadersOpen) {
  // 101 x 101 pixels of 30 m (3000 m): --fit makes the steps 1000 / 100 =
  // 10 m. Heights 0.5 c + 2 (100 - r) m span 250 m, so the raster's height
  // factor is 250 x 100 / 16000 = 1.5625 and the size limit makes it
  // (10 + 10) / (30 + 30) of that, 0.520833. A .ter file holds stored
  // heights up to 3277: the 16000 of the raster would go in at five units
  // to one, height factor 2.60417, which GDAL reads at an ALTW of 65.536 x
  // 2.60417 / 10 = 17.07. The file takes ALTW 17 and the height factor
  // that matches it, 17 x 10 x 1000 / 65536 = 2.593994: a step of
  // 0.0259399 m, 16000 / (2.593994 / 0.520833) = 3212.5 units at the top.
  test::Raster dem = test::MakeRaster(101, 101, [](int c, int r) { return 0.5 * c + 2.0 * (100 - r); });
  dem.geo_transform = {300000, 30, 0, 5000000, 0, -30};
  dem.epsg = 32632;
  dem.Save("dem.tif");
  const test::CliResult run = test::RunConvert({"dem.tif", "--write-ter", "dem.ter", "--fit"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("dem.tif: 3000 m x 3000 m fitted into 1000 m x 1000 m"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "Wrote dem.ter: 101 x 101 points, height step 0.0259399 m\n");
  EXPECT_FALSE(std::filesystem::exists(".prp"));  // no base name, no objects

  TznTerra direct, kept;
  direct.SetFitRule(TznFitRule::Fit);
  LoadTerrainFile(direct, "dem.tif");
  kept.LoadFromFile("dem.ter");
  EXPECT_EQ(kept.FScaleX, 10.0f);
  EXPECT_EQ(kept.FScaleY, 10.0f);
  EXPECT_EQ(kept.FScaleZ, 2.593994140625f);
  EXPECT_EQ(kept.FHeightScale, 17);
  EXPECT_NEAR(direct.FScaleZ, 0.520833, 1e-6);
  EXPECT_EQ(kept.GetHighest(), 3213);
  for (size_t k = 0; k < kept.FHeights.size(); ++k)
    ASSERT_LE(std::fabs(kept.Metres(kept.FHeights[k]) - direct.Metres(direct.FHeights[k])), 2.593994140625 / 200) << k;

  // Rescaled as the scale dialog does: 4 m steps, four times the height
  // factor (10.375977), heights moved down by 200 units. ALTW 65.536 x
  // 10.375977 / 4 = 170 is exact: the heights go in as they stand.
  kept.SetScaleX(4);
  kept.SetScaleY(4);
  kept.SetScaleZ(kept.FScaleZ * 4);
  kept.ShiftHeights(-200);
  SaveTerragenFile(kept, "scaled.ter");
  TznTerra back;
  back.LoadFromFile("scaled.ter");
  EXPECT_EQ(back.FScaleX, 4.0f);
  EXPECT_EQ(back.FScaleY, 4.0f);
  EXPECT_EQ(back.FScaleZ, kept.FScaleZ);
  EXPECT_EQ(back.FHeights, kept.FHeights);
  EXPECT_EQ(back.FHeightScale, 170);
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
  // Its metres are raw x 4 x 170 / 65536, ours raw x 10.375977 / 1000:
  // the same but for the float's last bits.
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
  EXPECT_LT(worst, 1e-6);

  // The loaded file is never written over; heights beyond a raw 16-bit
  // value are held at a coarser step rather than cut.
  const std::string before = test::ReadFile("scaled.ter");
  EXPECT_EQ(SaveError(back, "./scaled.ter"),
            "\"./scaled.ter\" is the file the terrain was loaded from; save it under another name");
  const test::CliResult over = test::RunConvert({"scaled.ter", "--write-ter", "scaled.ter"});
  EXPECT_EQ(over.code, 2);
  EXPECT_NE(over.err.find("The output \"scaled.ter\" is the input \"scaled.ter\""), std::string::npos) << over.err;
  EXPECT_EQ(test::ReadFile("scaled.ter"), before);
  back.ShiftHeights(3400);  // the highest point: 3013 + 3400 = 6413 units
  EXPECT_EQ(SaveError(back, "high.ter"), "");
  TznTerra high;
  high.LoadFromFile("high.ter");  // two units to one: 3206.5 to even at 20.751953, ALTW 340
  EXPECT_EQ(high.GetHighest(), 3206);
  EXPECT_EQ(high.FScaleZ, 20.751953125f);
  EXPECT_EQ(high.FHeightScale, 340);
}

TEST(RasterImport, AValleyKeepsItsTrueSizeAndItsPeakItsPlaceAndACoastItsSea) {
  // 400 x 340 points of 1/1200 degree centred on 36.6 N: at that latitude
  // on WGS 84 (a = 6378137 m, e^2 = 0.00669438) sin^2 = 0.355484,
  // w = 1 - e^2 sin^2 = 0.997620, N = a / sqrt(w) = 6385740 m and
  // M = a (1 - e^2) / w^1.5 = 6358122 m. A degree of longitude is
  // N cos 36.6 x pi / 180 = 89475 m, of latitude M x pi / 180 = 110971 m:
  // 74.563 m and 92.475 m a cell, 399 x 74.563 = 29751 m by
  // 339 x 92.475 = 31349 m. Heights 236 m to a peak of 1076 m at column 100,
  // row 40 (terrain point 100, 299): 840 m of relief over 16000 units.
  test::ValleyRaster().Save("valley.tif");
  TznTerra terra;
  LoadTerrainFile(terra, "valley.tif");
  EXPECT_FALSE(terra.FFitted);
  EXPECT_NEAR((terra.FXPoints - 1) * terra.FScaleX, 29751, 29751 * 0.005);
  EXPECT_NEAR((terra.FYPoints - 1) * terra.FScaleY, 31349, 31349 * 0.005);
  EXPECT_EQ(terra.GetHeight(100, 299), 16000);
  EXPECT_NEAR(terra.Metres(terra.GetHeight(100, 299)), 840, 0.03);
  EXPECT_EQ(terra.FWaterLevel, -1000);  // above the sea: the default

  // --info at true size and fitted: 1000 m over 399 and 339 steps, the
  // object grid reaching one step further (1002.5 m, 1002.9 m) with an
  // edge through the centre (500 m): 101, 51 and 34 objects a side.
  const test::CliResult info = test::RunConvert({"--info", "valley.tif"});
  EXPECT_NE(info.out.find("Relief: 840.00 m\nHeight step: 0.0525 m\n"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("1000 m rule: not applied\n"), std::string::npos) << info.out;
  const test::CliResult fitted = test::RunConvert({"--info", "valley.tif", "--fit"});
  EXPECT_NE(fitted.out.find("True size: 29751 m x 31349 m\n"), std::string::npos) << fitted.out;
  EXPECT_NE(fitted.out.find("Objects: 10201 of 10 m, 2601 of 20 m, 1156 of 30 m\n1000 m rule: applied, 29751 m x "
                            "31349 m fitted into 1000 m x 1000 m\n"),
            std::string::npos)
      << fitted.out;
  EXPECT_EQ(fitted.err, "kalvor-convert: valley.tif: 29751 m x 31349 m fitted into 1000 m x 1000 m\n");
  EXPECT_EQ(test::RunConvert({"--info", "valley.tif", "--fit", "--true-size"}).code, 2);

  // Converted at true size with 30 m objects. The origin lies at the
  // centre, 199.5 x 74.5631 = 14875.34 m east and 169.5 x 92.4751 =
  // 15674.54 m north (1487534 cm, 1567454 cm), and the grid's edges lie
  // whole objects from it: the first at -466 cm and -1546 cm. The peak lies
  // at 100 x 74.5631 = 7456.31 m and 299 x 92.4751 = 27650.07 m, in the
  // object from 7435.34 m east and 27644.54 m north, whose centre lies
  // 742.5 dam west and 1198.5 dam north of the origin: 743w and 1199n, a
  // half rounding up. The region takes its column (centres 7450.34 m east)
  // northwards to the grid's end, one cell past the last point at
  // 340 x 92.4751 = 31441.55 m: the last object starts at 31424.54 m, and
  // the column holds 127 objects, 1199n to 1199 + 3 x 126 = 1577n.
  const test::CliResult run =
      test::RunConvert({"valley.tif", "strip/v", "--object-size", "30", "--region", "7441,27635,7471,32000"});
  ASSERT_EQ(run.code, 0) << run.err;
  std::set<std::string> expected = {"v.prp"};
  for (int north = 1199; north <= 1577; north += 3) {
    std::ostringstream name;
    name << 'v' << north << "n743w.rwx";
    expected.insert(name.str());
  }
  const auto strip = test::FilesWithoutTimes("strip");
  std::set<std::string> names;
  for (const auto& [name, text] : strip) names.insert(name);
  EXPECT_EQ(names, expected);
  // The flat top holds the peak object whole at 840 m: 84 dam, give or take
  // a height step of 840 / 16000 m. No vertex leaves 0 .. 84 dam, not even
  // past the terrain's northern edge (339 x 92.4751 = 31349.07 m).
  const double step = 0.00525;
  ASSERT_TRUE(strip.count("v1199n743w.rwx"));
  EXPECT_NEAR(VertexHeights(strip.at("v1199n743w.rwx")).first, 84, step);
  for (const auto& [name, text] : strip) {
    if (name == "v.prp") continue;
    const auto [low, high] = VertexHeights(text);
    EXPECT_GE(low, -step) << name;
    EXPECT_LE(high, 84 + step) << name;
  }

  // A coast from -1437 m to 2205 m: 3642 m over 16000 units, factor
  // 22.7625; sea level lies 1437 m above the lowest point, at
  // Round(143700 / 22.7625) = 6313 units; with the elevations kept, at 0.
  test::MakeRaster(3, 2, [](int c, int r) { return c == 0 ? -1437.0 : 2205.0 * r; }).Save("coast.tif");
  LoadTerrainFile(terra, "coast.tif");
  EXPECT_EQ(terra.FWaterLevel, 6313);
  // The scale dialog moves the heights down by 313 units: the water follows.
  TznScaleValues values{terra.FScaleX, terra.FScaleY, terra.FScaleZ, -313};
  ApplyScaleValues(terra, values);
  EXPECT_EQ(terra.FWaterLevel, 6000);
  TznRasterOptions keep;
  keep.KeepElevation = true;
  LoadTerrainFile(terra, "coast.tif", keep);
  EXPECT_EQ(terra.FWaterLevel, 0);
}
