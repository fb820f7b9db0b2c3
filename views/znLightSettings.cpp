#include "views/znLightSettings.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "base/znFormat.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

int BrightnessFromColor(TColor color) { return ColorRed(color) * 100 / 255; }

TColor ColorFromBrightness(int brightness) {
  const int v = static_cast<int>(Round(std::clamp(brightness, 0, 100) * 255 / 100.0));
  return RGBToColor(v, v, v);
}

std::string BrightnessCaption(int brightness) { return "Brightness " + FormatInt(brightness) + "%"; }

std::string FormatAngle(double degrees) { return FormatFixed(degrees, 1); }

std::optional<double> ParseAngle(std::string_view text) {
  const std::optional<double> value = ParseReal(Trim(text));
  // The terrain keeps its sun in 32-bit floats; a larger value would become
  // infinite there and leave the sun without a direction.
  if (!value || std::fabs(*value) > FLT_MAX) return std::nullopt;
  return value;
}

TznLightSettings ReadLightSettings(const TznTerra& terra) {
  TznLightSettings settings;
  settings.Azimuth = terra.GetLightAzimuth();
  settings.Elevation = terra.GetLightElevation();
  settings.Brightness = BrightnessFromColor(terra.FColor);
  return settings;
}

void ApplyLightSettings(TznTerra& terra, const TznLightSettings& settings) {
  terra.SetLightAzimuth(static_cast<float>(settings.Azimuth));
  terra.SetLightElevation(static_cast<float>(settings.Elevation));
  terra.SetColor(ColorFromBrightness(settings.Brightness));
}
