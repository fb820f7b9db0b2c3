// Angle arithmetic and the polar and spherical conversions shared by the
// terrain (the sun's direction), the face filters (a triangle's slope and
// facing) and the 3D scene (the camera's turns). Angles are in radians
// unless a name says degrees.
#pragma once

// Degrees to radians: degrees x pi / 180.
double Radians(double degrees);

// Value - Int(Value / Modulus) * Modulus, then Modulus added while negative;
// 0 for a Value of 0.
double FloatMod(double value, double modulus);
double AngleMod360(double x);
double AngleMod2Pi(double x);

void XYToPolar(double& angle, double& radius, double x, double y);
void PolarToXY(double& x, double& y, double angle, double radius);
void SphericalToXYZ(double& p1, double& p2, double& p3, double& p4, double radius, double azimuth, double elevation);
void XYZToSpherical(double& azimuth, double& elevation, double& radius, double& horizontal, double x, double y,
                    double z);
