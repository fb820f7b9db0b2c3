// Free helpers of the terrain: angle arithmetic, polar and spherical
// conversions, the clock used by the object list, and the parsing of
// positions typed in the world's n/s, e/w notation.
#pragma once

#include <string_view>

// Days since 1899-12-30 00:00, with the fraction of the day.
using TDateTime = double;

// Value - Int(Value / Modulus) * Modulus, then Modulus added while negative;
// 0 for a Value of 0.
double FloatMod(double value, double modulus);
double AngleMod360(double x);
double AngleMod2Pi(double x);

void XYToPolar(double& angle, double& radius, double x, double y);
void PolarToXY(double& x, double& y, double angle, double radius);
void SphericalToXYZ(double& p1, double& p2, double& p3, double& p4, double radius, double azimuth,
                    double elevation);
void XYZToSpherical(double& azimuth, double& elevation, double& radius, double& horizontal, double x,
                    double y, double z);

// The system clock in UTC minus two hours; 0 when the clock cannot be read.
TDateTime StampNow();

// Round((T - 25569) * 86400): seconds since 1970-01-01; 0 when out of range.
int DateTimeToUnix(TDateTime t);

// Reads a position such as "1.5N 2.25E 3a 90": north and west in
// centimetres (south and east negative), altitude in centimetres and the
// heading in tenths of degrees. Only the values found are written; returns
// true when at least one was found.
bool ParseCoordinates(std::string_view text, int& north, int& west, int& altitude, int& heading);
