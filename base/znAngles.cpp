#include "base/znAngles.h"

#include <cmath>
#include <numbers>

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

double FloatMod(double value, double modulus) {
  if (value == 0) return 0;
  double result = value - std::trunc(value / modulus) * modulus;
  while (result < 0) result += modulus;
  return result;
}

double AngleMod360(double x) { return FloatMod(x, 360.0); }

double AngleMod2Pi(double x) { return FloatMod(x, 2 * std::numbers::pi); }

void XYToPolar(double& angle, double& radius, double x, double y) {
  radius = std::sqrt(x * x + y * y);
  if (x == 0) {
    angle = y > 0 ? std::numbers::pi / 2 : y < 0 ? 3 * std::numbers::pi / 2 : 0;
    return;
  }
  angle = std::atan(y / x);
  if (x < 0) angle = AngleMod2Pi(angle + std::numbers::pi);
}

void PolarToXY(double& x, double& y, double angle, double radius) {
  x = radius * std::cos(angle);
  y = radius * std::sin(angle);
}

void SphericalToXYZ(double& p1, double& p2, double& p3, double& p4, double radius, double azimuth, double elevation) {
  p4 = radius * std::cos(elevation);
  p3 = radius * std::sin(elevation);
  p1 = p4 * std::cos(azimuth);
  p2 = p4 * std::sin(azimuth);
}

void XYZToSpherical(double& azimuth, double& elevation, double& radius, double& horizontal, double x, double y,
                    double z) {
  XYToPolar(azimuth, horizontal, x, y);
  XYToPolar(elevation, radius, horizontal, z);
}
