#include "views/znMapTexts.h"

#include <cmath>

#include "base/znError.h"
#include "base/znFormat.h"
#include "terrain/znTerra.h"

namespace {

// One coordinate in the platform's notation: "%.3f" of its absolute value
// and the letter of its sign.
std::string Coordinate(double value, const char* positive, const char* negative) {
  return FormatFixed(std::fabs(value), 3) + (value >= 0 ? positive : negative);
}

std::string Extent(int32_t points, float scale) {
  if (points <= 0) return "";
  return FormatFixed((points - 1) * static_cast<double>(scale), 2) + "m";
}

}  // namespace

std::string MapCaption(const TznTerra& terra, int x, int y) {
  const int row = terra.FYPoints - y - 1;
  TVec3 point;
  terra.GetGridPoint(x, row, point);
  double east = static_cast<double>(x) * terra.FScaleX;
  double north = static_cast<double>(row) * terra.FScaleY;
  double height = point.z;
  double water = terra.Metres(terra.FWaterLevel);
  if (terra.FRelative) {
    east -= terra.FOrigin.x;
    north -= terra.FOrigin.y;
    height -= terra.FOrigin.z;
    // The height above the water does not depend on where heights count from.
    water -= terra.FOrigin.z;
  }
  const double ew = east / -10;
  const double ns = north / 10;
  return Coordinate(ns, "n", "s") + " " + Coordinate(ew, "w", "e") + " " + FormatFixed(height, 2) + "m (" +
         FormatFixed(height - water, 2) + "m)";
}

std::string VerticalRulerText(const TznTerra& terra) { return Extent(terra.FYPoints, terra.FScaleY); }

std::string HorizontalRulerText(const TznTerra& terra) { return Extent(terra.FXPoints, terra.FScaleX); }

TznTypedValue ParseTypedValue(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  const auto value = ParseReal(trimmed);
  if (!value) throw EznError("'" + std::string(trimmed) + "' is not a valid floating point value");
  TznTypedValue typed;
  typed.Text = EditText(*value);
  typed.Value = ParseReal(typed.Text).value_or(*value);
  return typed;
}

std::string EditText(double value) { return FormatFixed(value, 2); }
