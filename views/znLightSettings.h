// The sun as the light dialog edits it: azimuth and altitude in degrees and
// a brightness of 0 to 100 % that stands for a grey light colour. No widgets
// here, so the rules can be checked without a display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/znVectors.h"

class TznTerra;

struct TznLightSettings {
  double Azimuth = 0;    // degrees from north towards west
  double Elevation = 0;  // degrees above the horizon
  int Brightness = 0;    // 0..100
};

// Brightness of a colour: its red byte * 100 div 255 (red 200 gives 78).
int BrightnessFromColor(TColor color);
// The grey of a brightness: v = round(brightness * 255 / 100), ties to even,
// as (v, v, v); 100 gives $FFFFFF, 50 gives $808080.
TColor ColorFromBrightness(int brightness);
// "Brightness 40%".
std::string BrightnessCaption(int brightness);

// "%.1f" of an angle, as the edit boxes show it.
std::string FormatAngle(double degrees);
// An angle typed by the user: blanks around it ignored, "." as decimal
// separator. Nothing when the text is not a number a 32-bit float can hold.
std::optional<double> ParseAngle(std::string_view text);

// The terrain's sun and colour as the dialog starts with them, and written
// back (the terrain brings the azimuth into [0, 360)).
TznLightSettings ReadLightSettings(const TznTerra& terra);
void ApplyLightSettings(TznTerra& terra, const TznLightSettings& settings);
