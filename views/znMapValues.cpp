#include "views/znMapValues.h"

#include <cmath>
#include <limits>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace {

[[noreturn]] void RefuseBeyond(std::string_view text, double low, double high) {
  throw EznError("'" + std::string(Trim(text)) + "' is not a valid floating point value (from " + EditText(low) +
                 " to " + EditText(high) + " m)");
}

}  // namespace

TznTypedValue ReadMapMetres(std::string_view text) {
  const TznTypedValue typed = ParseTypedValue(text);
  constexpr double kMax = TznTerra::kMaxMetres;
  if (!(std::fabs(typed.Value) <= kMax)) RefuseBeyond(text, -kMax, kMax);
  return typed;
}

TznTypedWater ReadWaterLevel(std::string_view text, float scale_z) {
  const TznTypedValue typed = ParseTypedValue(text);
  const double unit = double{scale_z} / 100;  // metres per stored unit
  const double lowest = std::numeric_limits<int16_t>::min(), highest = std::numeric_limits<int16_t>::max();
  const double stored = zn_detail::RoundHalfEven(typed.Value * 100 / scale_z);
  if (!(stored >= lowest && stored <= highest)) RefuseBeyond(text, lowest * unit, highest * unit);
  return {static_cast<int16_t>(stored), typed.Text};
}

void CheckOriginGrid(const TznTerra& terra, const TVec3& origin) {
  const double objects = terra.MostRWXObjects(origin, terra.FScaleX, terra.FScaleY, terra.FObjectSize);
  if (objects > TznTerra::kMaxRWXObjects)
    throw EznError("Too many objects! " + RWXObjectLimitText(objects, terra.FObjectSize));
}
