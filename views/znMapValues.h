// Values typed into the map window's edits, kept to what the terrain can
// hold: positions and lengths within TznTerra::kMaxMetres, water levels
// within the 16-bit stored heights. A value beyond them is refused with the
// conversion error's message followed by the range that can be held, and
// the terrain is left as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/znVectors.h"
#include "views/znMapTexts.h"

class TznTerra;

// Origin, selection centre or side, in metres. Throws EznError:
// "'<text>' is not a valid floating point value", plus
// " (from -10000000.00 to 10000000.00 m)" for a number beyond the range.
TznTypedValue ReadMapMetres(std::string_view text);

// A water level in metres as the stored height it becomes: Round(metres *
// 100 / scale_z). Throws EznError as ReadMapMetres, naming the levels of
// the lowest and highest stored heights.
struct TznTypedWater {
  int16_t Stored = 0;
  std::string Text;  // the typed value with two decimals
};
TznTypedWater ReadWaterLevel(std::string_view text, float scale_z);

// An origin further west or south of the terrain than its object grid can
// reach with the objects it holds: EznError "Too many objects! ...".
void CheckOriginGrid(const TznTerra& terra, const TVec3& origin);
