#include "terrain/znTerHelpers.h"

#include <chrono>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "base/znFormat.h"
#include "base/znRound.h"

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

void SphericalToXYZ(double& p1, double& p2, double& p3, double& p4, double radius, double azimuth,
                    double elevation) {
  p4 = radius * std::cos(elevation);
  p3 = radius * std::sin(elevation);
  p1 = p4 * std::cos(azimuth);
  p2 = p4 * std::sin(azimuth);
}

void XYZToSpherical(double& azimuth, double& elevation, double& radius, double& horizontal, double x,
                    double y, double z) {
  XYToPolar(azimuth, horizontal, x, y);
  XYToPolar(elevation, radius, horizontal, z);
}

TDateTime StampNow() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const double seconds = duration_cast<duration<double>>(now).count();
  // 25569 days lie between 1899-12-30 and 1970-01-01.
  return 25569.0 + seconds / 86400.0 - 1.0 / 12.0;
}

int DateTimeToUnix(TDateTime t) {
  try {
    return Round32((t - 25569.0) * 86400.0);
  } catch (const EznRoundError&) {
    return 0;
  }
}

namespace {

bool IsNumberLead(char c) { return c == '.' || c == '+' || c == '-'; }

struct LeadingNumber {
  double value = 0;
  std::string_view suffix;
};

// The longest prefix of the token that reads as a number, never reaching
// into an "e" or "E" (a letter E means east here, not an exponent).
std::optional<LeadingNumber> ReadLeadingNumber(std::string_view token) {
  size_t start = 0;
  while (start < token.size() && IsNumberLead(token[start])) ++start;
  std::optional<LeadingNumber> found;
  for (size_t length = start + 1; length <= token.size(); ++length) {
    char last = token[length - 1];
    if (last == 'e' || last == 'E') break;
    std::optional<double> value = ParseReal(token.substr(0, length));
    if (!value) break;
    found = LeadingNumber{*value, token.substr(length)};
  }
  return found;
}

bool IsDegreeSign(std::string_view suffix) {
  return suffix == "\xC2\xB0" || suffix == "\xB0";  // UTF-8 or Latin-1
}

}  // namespace

bool ParseCoordinates(std::string_view text, int& north, int& west, int& altitude, int& heading) {
  bool have_north = false, have_west = false, have_altitude = false, have_heading = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view token = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (token.empty()) continue;
    std::optional<LeadingNumber> number = ReadLeadingNumber(token);
    if (!number) continue;
    const double v = number->value;
    const std::string suffix = UpperCase(number->suffix);
    try {
      if ((suffix == "N" || suffix == "S") && !have_north) {
        north = Round32(std::fabs(v * 1000));
        if (suffix == "S") north = -north;
        have_north = true;
      } else if ((suffix == "W" || suffix == "E") && !have_west) {
        west = Round32(std::fabs(v * 1000));
        if (suffix == "E") west = -west;
        have_west = true;
      } else if (suffix == "A" && !have_altitude) {
        altitude = Round32(v * 100);
        have_altitude = true;
      } else if ((suffix.empty() || IsDegreeSign(suffix)) && !have_heading) {
        heading = Round32(v * 10);
        have_heading = true;
      }
    } catch (const EznRoundError&) {
      // A number too large for a position is no position.
    }
  }
  return have_north || have_west || have_altitude || have_heading;
}
