#include "rwx/znRWXRegion.h"

#include <cmath>

TznObjectCentre ObjectCentre(int64_t x0, int64_t z0, int32_t size_x, int32_t size_z) {
  return {x0 + size_x - size_x / 2, z0 + size_z / 2};
}

bool TznRWXRegion::IsRectangle() const {
  return std::isfinite(West) && std::isfinite(South) && std::isfinite(East) && std::isfinite(North) && West < East &&
         South < North;
}

namespace {

// The first whole centimetre at or east (north) of a bound in metres; a
// bound within a millionth of a centimetre of a whole one is that one.
double FirstCentimetre(double metres) { return std::ceil(metres * 100.0 - 1e-6); }

}  // namespace

bool TznRWXRegion::HoldsEast(int64_t east) const {
  const double centimetres = static_cast<double>(east);
  return centimetres >= FirstCentimetre(West) && centimetres < FirstCentimetre(East);
}

bool TznRWXRegion::HoldsNorth(int64_t north) const {
  const double centimetres = static_cast<double>(north);
  return centimetres >= FirstCentimetre(South) && centimetres < FirstCentimetre(North);
}
