// The map window's texts: caption, rulers and typed values.
#include <gtest/gtest.h>

#include "base/znError.h"
#include "support/commaLocale.h"
#include "views/viewsTest.h"
#include "views/znMapRuler.h"
#include "views/znMapTexts.h"

namespace {

// 11 x 11 points 10 m apart, metres equal stored units; 25 m at grid point
// (3, 8), water at 5 m.
void CaptionTerra(TznTerra& terra) {
  test::FillTerra(terra, 11, 11, 10, [](int i, int j) { return static_cast<int16_t>(i == 3 && j == 8 ? 25 : 0); });
  terra.SetWaterLevel(5);
}

}  // namespace

TEST(MapTexts, CaptionShowsPositionHeightAndHeightAboveWater) {
  TznTerra terra;
  CaptionTerra(terra);
  terra.SetRelative(false);
  // Pixel (3, 2) is grid point (3, 11 - 2 - 1 = 8): 30 m east, 80 m north.
  // North 80 / 10 = 8 "n"; east 30 / -10 = -3, shown as 3 "e".
  EXPECT_EQ(MapCaption(terra, 3, 2), "8.000n 3.000e 25.00m (20.00m)");
  // Pixel (0, 10) is the south-west corner; outside the grid the height is 0.
  EXPECT_EQ(MapCaption(terra, 0, 10), "0.000n 0.000w 0.00m (-5.00m)");
  EXPECT_EQ(MapCaption(terra, 20, 2), "8.000n 20.000e 0.00m (-5.00m)");
}

TEST(MapTexts, CaptionRelativeToTheOrigin) {
  TznTerra terra;
  CaptionTerra(terra);
  terra.SetOrigin(TVec3{50, 50, 2});
  terra.SetRelative(true);
  // East 30 - 50 = -20: 2 "w"; north 80 - 50 = 30: 3 "n"; height 25 - 2.
  // The height above the water stays 25 - 5 = 20.
  EXPECT_EQ(MapCaption(terra, 3, 2), "3.000n 2.000w 23.00m (20.00m)");
  // Grid point (8, 0): east 80 - 50 = 30: 3 "e"; north -50: 5 "s".
  EXPECT_EQ(MapCaption(terra, 8, 10), "5.000s 3.000e -2.00m (-5.00m)");
}

TEST(MapTexts, CaptionKeepsThePointUnderACommaLocale) {
  test::CommaLocale comma;
  TznTerra terra;
  CaptionTerra(terra);
  terra.SetRelative(false);
  EXPECT_EQ(MapCaption(terra, 3, 2), "8.000n 3.000e 25.00m (20.00m)");
}

TEST(MapTexts, RulersShowTheExtentInMetres) {
  TznTerra terra;
  test::FillTerra(terra, 257, 129, 3.90625f, [](int, int) { return int16_t{0}; });
  EXPECT_EQ(HorizontalRulerText(terra), "1000.00m");
  EXPECT_EQ(VerticalRulerText(terra), "500.00m");
  TznTerra empty;
  EXPECT_EQ(HorizontalRulerText(empty), "");
}

TEST(MapTexts, TypedValuesKeepTwoDecimals) {
  TznTypedValue typed = ParseTypedValue("  -3.456 ");
  EXPECT_EQ(typed.Text, "-3.46");
  EXPECT_DOUBLE_EQ(typed.Value, -3.46);
  typed = ParseTypedValue("12");
  EXPECT_EQ(typed.Text, "12.00");
  EXPECT_DOUBLE_EQ(typed.Value, 12.0);
}

TEST(MapTexts, ATextThatIsNotANumberIsRefusedWithItsMessage) {
  for (const char* text : {"abc", " 1,5 ", "", "12m"}) {
    try {
      ParseTypedValue(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const EznError& error) {
      const std::string trimmed = std::string(text) == " 1,5 " ? "1,5" : text;
      EXPECT_EQ(std::string(error.what()), "'" + trimmed + "' is not a valid floating point value");
    }
  }
}

TEST(MapTexts, GlyphCellsAreDigitsThenPointThenM) {
  EXPECT_EQ(GlyphIndex('0'), 0);
  EXPECT_EQ(GlyphIndex('7'), 7);
  EXPECT_EQ(GlyphIndex('.'), 10);
  EXPECT_EQ(GlyphIndex('-'), 10);
  EXPECT_EQ(GlyphIndex('m'), 11);
}

namespace {

// True when the ruler's cell at `at` shows the strip's cell `glyph`.
bool SameCell(const QImage& ruler, QPoint at, const QImage& strip, QPoint glyph, QSize cell) {
  for (int y = 0; y < cell.height(); ++y)
    for (int x = 0; x < cell.width(); ++x)
      if (ruler.pixel(at.x() + x, at.y() + y) != strip.pixel(glyph.x() + x, glyph.y() + y)) return false;
  return true;
}

}  // namespace

TEST(MapTexts, RulersRunLeftToRightAndBottomUp) {
  const QImage across = MakeGlyphStrip(false);
  const QSize h_cell(across.width() / 12, across.height());
  const QImage h_ruler = DrawRuler("1.m", across, false);
  ASSERT_EQ(h_ruler.size(), QSize(3 * h_cell.width(), h_cell.height()));
  EXPECT_TRUE(SameCell(h_ruler, {0, 0}, across, {1 * h_cell.width(), 0}, h_cell));
  EXPECT_TRUE(SameCell(h_ruler, {h_cell.width(), 0}, across, {10 * h_cell.width(), 0}, h_cell));
  EXPECT_TRUE(SameCell(h_ruler, {2 * h_cell.width(), 0}, across, {11 * h_cell.width(), 0}, h_cell));
  EXPECT_FALSE(SameCell(h_ruler, {0, 0}, across, {2 * h_cell.width(), 0}, h_cell));

  const QImage up = MakeGlyphStrip(true);
  const QSize v_cell(up.width(), up.height() / 12);
  const QImage v_ruler = DrawRuler("1.m", up, true);
  ASSERT_EQ(v_ruler.size(), QSize(v_cell.width(), 3 * v_cell.height()));
  EXPECT_TRUE(SameCell(v_ruler, {0, 2 * v_cell.height()}, up, {0, 1 * v_cell.height()}, v_cell));
  EXPECT_TRUE(SameCell(v_ruler, {0, 0}, up, {0, 11 * v_cell.height()}, v_cell));
}
