#include "app/znFilterText.h"

#include <cmath>
#include <limits>
#include <optional>

#include "base/znFormat.h"
#include "terrain/znTerHelpers.h"

namespace {

std::string FormatPosition(double metres, const char* positive_letter, const char* negative_letter) {
  return FormatFixed(std::fabs(metres) / 10, 3) + (metres >= 0 ? positive_letter : negative_letter);
}

// The axis starts at 0, so text without a token of it reads as 0 m; the
// parser gives centimetres.
float ReadPosition(std::string_view text, bool north_south) {
  int north = 0, west = 0, altitude = 0, heading = 0;
  ParseCoordinates(Trim(text), north, west, altitude, heading);
  return static_cast<float>((north_south ? north : west) / 100.0);
}

}  // namespace

std::string FormatNorthSouth(double metres) { return FormatPosition(metres, "n", "s"); }

std::string FormatWestEast(double metres) { return FormatPosition(metres, "w", "e"); }

float ReadNorthSouth(std::string_view text) { return ReadPosition(text, true); }

float ReadWestEast(std::string_view text) { return ReadPosition(text, false); }

std::string FormatAltitude(double metres) { return FormatFixed(metres, 2); }

std::string FormatGradient(double degrees) { return FormatFixed(degrees, 1); }

float ReadLimit(std::string_view text, float stored) {
  const std::optional<double> value = ParseReal(Trim(text));
  // A value beyond the single range would be stored as infinity and written
  // to the file as such.
  if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return stored;
  return static_cast<float>(*value);
}
