#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "terrain/znTerHelpers.h"

namespace {

struct Parsed {
  int north = 11, west = 22, altitude = 33, heading = 44;
  bool found = false;
};

Parsed Parse(const char* text) {
  Parsed p;
  p.found = ParseCoordinates(text, p.north, p.west, p.altitude, p.heading);
  return p;
}

}  // namespace

TEST(ParseCoordinates, TheWorldsNotation) {
  Parsed p = Parse("1.5N 2.25E 3a 90");
  EXPECT_TRUE(p.found);
  EXPECT_EQ(p.north, 1500);
  EXPECT_EQ(p.west, -2250);
  EXPECT_EQ(p.altitude, 300);
  EXPECT_EQ(p.heading, 900);

  p = Parse("  -.5s   7w ");
  EXPECT_EQ(p.north, -500);
  EXPECT_EQ(p.west, 7000);
  EXPECT_EQ(p.altitude, 33);  // not found: untouched
  EXPECT_EQ(p.heading, 44);

  p = Parse("45\xC2\xB0");
  EXPECT_EQ(p.heading, 450);
  p = Parse("0.0005n");
  EXPECT_EQ(p.north, 0);  // 0.5 rounds to even
}

TEST(ParseCoordinates, OddTokens) {
  EXPECT_FALSE(Parse("E").found);      // a letter E alone has no number
  EXPECT_FALSE(Parse("1e5n").found);   // "e" ends the number: suffix e5n names nothing
  EXPECT_FALSE(Parse("abc n").found);
  EXPECT_FALSE(Parse("").found);
  Parsed p = Parse("2s 3n 4e 5w");
  EXPECT_EQ(p.north, -2000);  // only the first of each kind counts
  EXPECT_EQ(p.west, -4000);
  p = Parse("3.5x 2a");
  EXPECT_TRUE(p.found);
  EXPECT_EQ(p.altitude, 200);
  EXPECT_EQ(p.heading, 44);
}

TEST(Angles, FloatModAndPolar) {
  EXPECT_EQ(FloatMod(0, 360), 0);
  EXPECT_DOUBLE_EQ(AngleMod360(-90), 270);
  EXPECT_DOUBLE_EQ(AngleMod360(725), 5);
  EXPECT_DOUBLE_EQ(AngleMod360(360), 0);
  EXPECT_DOUBLE_EQ(AngleMod360(-720), 0);
  EXPECT_NEAR(AngleMod2Pi(-std::numbers::pi / 2), 1.5 * std::numbers::pi, 1e-12);

  double angle, radius;
  XYToPolar(angle, radius, 0, 0);
  EXPECT_EQ(angle, 0);
  XYToPolar(angle, radius, 0, 2);
  EXPECT_DOUBLE_EQ(angle, std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(radius, 2);
  XYToPolar(angle, radius, 0, -1);
  EXPECT_DOUBLE_EQ(angle, 1.5 * std::numbers::pi);
  XYToPolar(angle, radius, -1, 0);
  EXPECT_DOUBLE_EQ(angle, std::numbers::pi);
  XYToPolar(angle, radius, 1, -1);
  EXPECT_DOUBLE_EQ(angle, -std::numbers::pi / 4);  // left negative
  XYToPolar(angle, radius, -1, -1);
  EXPECT_DOUBLE_EQ(angle, 1.25 * std::numbers::pi);
  EXPECT_DOUBLE_EQ(radius, std::sqrt(2.0));

  double x, y;
  PolarToXY(x, y, std::numbers::pi, 2);
  EXPECT_DOUBLE_EQ(x, -2);
  EXPECT_NEAR(y, 0, 1e-12);
}

TEST(Angles, Spherical) {
  double p1, p2, p3, p4;
  SphericalToXYZ(p1, p2, p3, p4, 10, 0, std::numbers::pi / 6);
  EXPECT_DOUBLE_EQ(p3, 5);
  EXPECT_DOUBLE_EQ(p4, 10 * std::cos(std::numbers::pi / 6));
  EXPECT_DOUBLE_EQ(p1, p4);
  EXPECT_NEAR(p2, 0, 1e-12);

  double azimuth, elevation, r, horizontal;
  XYZToSpherical(azimuth, elevation, r, horizontal, 0, 3, 4);
  EXPECT_DOUBLE_EQ(azimuth, std::numbers::pi / 2);
  EXPECT_DOUBLE_EQ(horizontal, 3);
  EXPECT_DOUBLE_EQ(r, 5);
  EXPECT_DOUBLE_EQ(elevation, std::atan(4.0 / 3));
}

TEST(Clock, UnixTimes) {
  EXPECT_EQ(DateTimeToUnix(25569), 0);
  EXPECT_EQ(DateTimeToUnix(25570.5), 129600);
  EXPECT_EQ(DateTimeToUnix(1e12), 0);  // out of range
  const double unix_now = static_cast<double>(std::time(nullptr));
  EXPECT_NEAR(DateTimeToUnix(StampNow()), unix_now - 7200, 5);
}
