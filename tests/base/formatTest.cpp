#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <locale>
#include <utility>
#include <vector>

#include "base/znFormat.h"
#include "support/commaLocale.h"

namespace {

using test::CommaLocale;

}  // namespace

TEST(Format, FixedDecimals) {
  EXPECT_EQ(FormatFixed(0.5019607843137255, 6), "0.501961");
  EXPECT_EQ(FormatFixed(-1.25, 2), "-1.25");
  EXPECT_EQ(FormatFixed(2.5, 0), "2");       // exact tie goes to even
  EXPECT_EQ(FormatFixed(0.125, 2), "0.12");  // 0.125 is exact: tie to even
  EXPECT_EQ(FormatFixed(1000, 3), "1000.000");
  EXPECT_EQ(FormatFixed(-0.0000001, 6), "-0.000000");
}

TEST(Format, IntegersAndGeneral) {
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(-42), "-42");
  EXPECT_EQ(FormatGeneral(3.90625), "3.90625");
  EXPECT_EQ(FormatGeneral(30), "30");
  EXPECT_EQ(FormatGeneral(1000.0 / 3), "333.333");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(1e-5), "1e-05");
  EXPECT_EQ(FormatReal(0.6f), "0.600000023841858");
  EXPECT_EQ(FormatReal(1.0f), "1");
  EXPECT_EQ(FormatReal(0.0f), "0");
  EXPECT_EQ(FormatReal(12.5f), "12.5");
}

TEST(Format, PointEvenUnderCommaLocale) {
  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
  ASSERT_STREQ(buffer, "1,5") << "the locale should really use a comma";
  EXPECT_EQ(FormatFixed(1.5, 2), "1.50");
  EXPECT_EQ(FormatGeneral(3.90625), "3.90625");
  EXPECT_EQ(FormatReal(0.6f), "0.600000023841858");
  EXPECT_EQ(ParseReal("2.25"), 2.25);
  EXPECT_FALSE(ParseReal("2,25"));
}

TEST(Parse, Reals) {
  for (const auto& [text, value] :
       {std::pair{" 1.5 ", 1.5}, {"-.5", -0.5}, {"+4", 4.0}, {"1e5", 100000.0}, {"2.", 2.0}})
    EXPECT_EQ(ParseReal(text), value) << text;
  for (const char* text : {"", ".", "abc", "1.5x", "inf", "nan", "--1"}) EXPECT_FALSE(ParseReal(text)) << text;
}

TEST(Parse, Integers) {
  for (const auto& [text, value] :
       {std::pair<const char*, int64_t>{" 12 ", 12}, {"-7", -7}, {"$FF", 255}, {"0x10", 16}})
    EXPECT_EQ(ParseInt(text), value) << text;
  for (const char* text : {"1.5", "abc", "", "99999999999999999999"}) EXPECT_FALSE(ParseInt(text)) << text;
}

TEST(Text, CaseHelpers) {
  EXPECT_TRUE(SameText("GeometrySampling", "geometrysampling"));
  EXPECT_FALSE(SameText("Lit", "Lite"));
  EXPECT_EQ(UpperCase("2.25e"), "2.25E");
  EXPECT_EQ(LowerCase("Grass.JPG"), "grass.jpg");
  EXPECT_EQ(Trim("  a b \r\n"), "a b");
}

TEST(Text, OneLineTurnsRunsOfControlCharactersIntoABlank) {
  EXPECT_EQ(OneLine("rock\r\nface"), "rock face");
  EXPECT_EQ(OneLine("a\rb\nc\td\x7F"
                    "e\x01\x1F"),
            "a b c d e ");
  EXPECT_EQ(OneLine("plain text, \xC3\xA9t\xC3\xA9"), "plain text, \xC3\xA9t\xC3\xA9");  // UTF-8 stays
  EXPECT_EQ(OneLine(""), "");
}

TEST(Format, FastSixDecimalsMatchTheCLibrary) {
  // The C library's "%.6f" is the reference: every float tried must give
  // the same bytes, ties, negative zero and large values included.
  std::vector<float> values = {0.0f,       -0.0f,      0.5f,       -0.5f,        1e-7f,      -1e-7f,
                               0.0000005f, 0.0000015f, 0.0000025f, 123.4567890f, -0.500200f, 8388608.0f,
                               1e9f,       -3e9f,      1e20f,      65535.99999f};
  uint32_t bits = 12345;
  for (int k = 0; k < 200000; ++k) {
    bits = bits * 1664525u + 1013904223u;
    float f;
    const uint32_t exponent_kept = (bits & 0x807FFFFFu) | ((100u + (bits >> 23) % 60u) << 23);  // 2^-27 .. 2^32
    std::memcpy(&f, &exponent_kept, 4);
    values.push_back(f);
  }
  for (float v : values) {
    char expected[512];
    std::snprintf(expected, sizeof expected, "%.6f", static_cast<double>(v));
    std::string got;
    AppendFixed6(got, v);
    ASSERT_EQ(got, expected) << "for " << v;
  }
}
