// The shading of the map picture: grey by height above the water, blue at
// or below it, north up, and the stop request asked before every pixel.
#include <gtest/gtest.h>

#include "views/viewsTest.h"
#include "views/znMapShading.h"

namespace {

const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);

QRgb Grey(int g) { return qRgb(g, g, g); }

bool NeverStop() { return false; }

// Picture pixel of grid point (i, j): north is up.
QRgb PixelOf(const QImage& picture, int i, int j) { return picture.pixel(i, picture.height() - 1 - j); }

}  // namespace

TEST(MapShading, WaterAtOrAboveTheHighestPointPaintsEverythingBlue) {
  TznTerra terra;
  test::FillTerra(terra, 5, 4, 1, [](int i, int j) { return static_cast<int16_t>(10 * i - 7 * j); });
  for (int16_t water : {terra.GetHighest(), static_cast<int16_t>(terra.GetHighest() + 100)}) {
    terra.SetWaterLevel(water);
    QImage picture;
    ASSERT_TRUE(ShadeMap(terra, picture, NeverStop));
    ASSERT_EQ(picture.size(), QSize(5, 4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(picture.pixel(x, y), kBlue) << x << "," << y;
  }
}

TEST(MapShading, GreyRisesFrom92AboveTheWaterTo255AtTheTop) {
  // Water at 0 m, highest 326 m: t = h / 326 and g = Round(163 t + 92).
  const int16_t heights[3][3] = {{0, 1, 163}, {326, -5, 161}, {82, 300, 20}};
  TznTerra terra;
  test::FillTerra(terra, 3, 3, 1, [&](int i, int j) { return heights[j][i]; });
  terra.SetWaterLevel(0);
  QImage picture;
  ASSERT_TRUE(ShadeMap(terra, picture, NeverStop));
  EXPECT_EQ(PixelOf(picture, 0, 0), kBlue);      // exactly at the water level
  EXPECT_EQ(PixelOf(picture, 1, 1), kBlue);      // below it
  EXPECT_EQ(PixelOf(picture, 0, 1), Grey(255));  // the highest point
  EXPECT_EQ(PixelOf(picture, 1, 0), Grey(92));   // 92.5: ties to even
  EXPECT_EQ(PixelOf(picture, 2, 0), Grey(174));  // 173.5: ties to even
  EXPECT_EQ(PixelOf(picture, 2, 1), Grey(172));  // 172.5: ties to even, not up
  EXPECT_EQ(PixelOf(picture, 0, 2), Grey(133));  // 163 * 82 / 326 + 92 = 133.0
  EXPECT_EQ(PixelOf(picture, 2, 2), Grey(102));  // 163 * 20 / 326 + 92 = 102.0
}

TEST(MapShading, HeightsCountInMetresWithTheHeightScale) {
  // Stored 10 and 40 at scale 50: 5 m and 20 m; water at stored 20 = 10 m.
  TznTerra terra;
  test::FillTerra(terra, 2, 1, 1, [](int i, int) { return static_cast<int16_t>(i == 0 ? 10 : 40); });
  terra.SetScaleZ(50);
  terra.SetWaterLevel(20);
  QImage picture;
  ASSERT_TRUE(ShadeMap(terra, picture, NeverStop));
  EXPECT_EQ(picture.pixel(0, 0), kBlue);
  EXPECT_EQ(picture.pixel(1, 0), Grey(255));
}

TEST(MapShading, StopsBeforeThePixelWhenAsked) {
  TznTerra terra;
  test::FillTerra(terra, 4, 3, 1, [](int, int) { return int16_t{50}; });
  terra.SetWaterLevel(0);
  int asked = 0;
  QImage picture;
  // The sixth question stops it: the southern row (the bottom line) and
  // the first pixel of the next row are shaded, the rest stays yellow.
  EXPECT_FALSE(ShadeMap(terra, picture, [&] { return ++asked > 5; }));
  EXPECT_EQ(asked, 6);
  ASSERT_EQ(picture.size(), QSize(4, 3));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(PixelOf(picture, i, 0), Grey(255));
  EXPECT_EQ(PixelOf(picture, 0, 1), Grey(255));
  EXPECT_EQ(PixelOf(picture, 1, 1), kYellow);
  EXPECT_EQ(PixelOf(picture, 0, 2), kYellow);
}

TEST(MapShading, AnEmptyTerrainGivesAnEmptyPicture) {
  TznTerra terra;
  QImage picture(3, 3, QImage::Format_RGB32);
  EXPECT_TRUE(ShadeMap(terra, picture, NeverStop));
  EXPECT_TRUE(picture.isNull());
}
