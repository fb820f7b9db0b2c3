// The rules of the scale dialog without its widgets: the edge and height
// texts a terrain starts with, the check that turns the four texts into new
// scales and a height shift, the rescaling of the terrain, and which
// controls are open for input.
#pragma once

#include <cstdint>
#include <string>

class TznTerra;

// Texts of the four edits: east-west and north-south edge, highest and
// lowest point, all in metres.
struct TznScaleTexts {
  std::string EdgeX, EdgeY, High, Low;
  bool operator==(const TznScaleTexts&) const = default;
};

// How the heights follow: kept in proportion to the horizontal scales, set
// by the highest and lowest point, or moved so the lowest point lies at the
// typed height.
enum class TznAltitudeRule { KeepRatio = 0, EditHighLow = 1, EditLow = 2 };

struct TznScaleOptions {
  bool KeepAspect = true;  // one edge drives, the other follows
  bool DriveY = false;     // the north-south edge drives
  TznAltitudeRule Altitude = TznAltitudeRule::KeepRatio;
};

// The outcome of a check: the three new scales and the shift of every
// stored height.
struct TznScaleValues {
  float NewScaleX = 1, NewScaleY = 1, NewScaleZ = 1;
  int32_t Shift = 0;
};

// The terrain's edges and extreme heights in metres, "%.2f".
TznScaleTexts ScaleTextsOf(const TznTerra& terra);

// Reads the texts (each trimmed, written back with two decimals and read
// again), computes the new values and writes the dependent texts as the
// edits should show them. Throws EznError with the message for the user
// when a text is not a number or the values cannot make a terrain; texts is
// then left part-way, so the caller puts back the ones it saved.
TznScaleValues CheckScaleTexts(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts& texts);

// Rescales origin, selection and viewer with the scales, sets the new
// scales, shifts the heights and rebuilds the live grid.
void ApplyScaleValues(TznTerra& terra, const TznScaleValues& values);

// Which controls take input.
struct TznScaleEnabling {
  bool ScaleXButton = false, ScaleYButton = false;
  bool ScaleXEdit = false, ScaleYEdit = false;
  bool HighEdit = false, HighButton = false;
  bool LowEdit = false, LowButton = false;
  bool operator==(const TznScaleEnabling&) const = default;
};

// has_relief: the terrain's lowest point lies below its highest.
TznScaleEnabling ScaleEnabling(const TznScaleOptions& options, bool has_relief);
