#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/znAngles.h"

TEST(Angles, Radians) { EXPECT_DOUBLE_EQ(Radians(90), std::numbers::pi / 2); }

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
