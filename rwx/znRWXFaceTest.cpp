#include "rwx/znRWXFaceTest.h"

#include <cmath>
#include <limits>

#include "base/znAngles.h"

namespace {

// The computed gradient of an upward face differs from the true slope by
// far less than this many degrees; faces within it of a limit go the exact way.
constexpr double kMargin = 1e-9;
// And the squares below differ from their true values by far less than
// this fraction.
constexpr double kSlack = 1e-12;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// tan^2 of an angle in degrees, strictly between 0 and 90.
double TanSquared(double degrees) {
  const double tangent = std::tan(Radians(degrees));
  return tangent * tangent;
}

// s <= factor * q holds for every face whose slope is at most the angle;
// an angle at 0 or below holds for none (-1), at 90 or beyond for all.
double AtMost(double degrees) {
  if (degrees <= 0) return -1;
  if (degrees >= 90) return kInfinity;
  return TanSquared(degrees) * (1 - kSlack);
}

// s >= factor * q holds for every face whose slope is at least the angle;
// an angle at 0 or below holds for all (-1), at 90 or beyond for none.
double AtLeast(double degrees) {
  if (degrees <= 0) return -1;
  if (degrees >= 90) return kInfinity;
  return TanSquared(degrees) * (1 + kSlack);
}

}  // namespace

TznRWXFaceTest::TznRWXFaceTest(const TznRWXFaceFilter& filter)
    : filter_(filter), pass_through_(filter.IsPassThrough()) {
  // An upward face has a gradient from 0 to 90 (both included), so a high
  // limit of 90 or more always passes and a low limit of 0 or less too.
  if (filter.UseHighGradient()) {
    const double high = filter.HighGradient();
    high_.used = true;
    high_.pass = high >= 90 ? kInfinity : AtMost(high - kMargin);
    high_.fail = AtLeast(high + kMargin);
    exact_only_ = exact_only_ || std::isnan(high);
  }
  if (filter.UseLowGradient()) {
    const double low = filter.LowGradient();
    low_.used = true;
    low_.pass = low <= 0 ? -1 : AtLeast(low + kMargin);
    low_.fail = low > 90 ? kInfinity : AtMost(low - kMargin);
    exact_only_ = exact_only_ || std::isnan(low);
  }
}

bool TznRWXFaceTest::AppliesToGradient(const TVec3& normal) const {
  if (!high_.used && !low_.used) return true;
  const double nx = normal.x, ny = normal.y, nz = normal.z;
  const double horizontal_squared = nx * nx + nz * nz, vertical_squared = ny * ny;
  // Level, downward and not-a-number normals, and limits that are not
  // numbers, take the filter's way.
  if (exact_only_ || !(ny > 0) || !(horizontal_squared > 0) || !std::isfinite(horizontal_squared) ||
      !std::isfinite(vertical_squared))
    return filter_.AppliesToGradient(normal);
  bool undecided = false;
  if (high_.used) {
    if (horizontal_squared >= high_.fail * vertical_squared) return false;
    undecided = !(horizontal_squared <= high_.pass * vertical_squared);
  }
  if (low_.used) {
    if (horizontal_squared <= low_.fail * vertical_squared) return false;
    undecided = undecided || !(horizontal_squared >= low_.pass * vertical_squared);
  }
  return undecided ? filter_.AppliesToGradient(normal) : true;
}
