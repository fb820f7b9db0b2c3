// Rounding to integers, half to even, as used for every conversion from
// metres, stored heights and times to whole numbers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

// Raised when a value cannot be rounded into the target integer type
// (not a number, infinite or out of range).
class EznRoundError : public std::range_error {
 public:
  EznRoundError() : std::range_error("invalid floating point operation") {}
};

namespace zn_detail {
// Half-to-even rounding: the processor's rounding to nearest, which the
// program never changes, is exactly that. Adding 2^52 to a smaller
// magnitude leaves no fraction bits, so the sum is the magnitude rounded
// that way; taking 2^52 away again is exact. Larger magnitudes are whole
// already. Unlike a call of nearbyint (the baseline x86-64 has no rounding
// instruction) this stays inline in the mesh and number loops.
inline double RoundHalfEven(double value) {
  constexpr double kTwo52 = 4503599627370496.0;
  const double magnitude = std::fabs(value);
  if (!(magnitude < kTwo52)) return value;  // whole, infinite or not a number
  return std::copysign((magnitude + kTwo52) - kTwo52, value);
}
}  // namespace zn_detail

// Rounds half to even into a 64-bit integer; throws EznRoundError when the
// value does not fit.
inline int64_t Round(double value) {
  if (!std::isfinite(value)) throw EznRoundError();
  double r = zn_detail::RoundHalfEven(value);
  if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) throw EznRoundError();
  return static_cast<int64_t>(r);
}

// Rounds half to even into a 32-bit integer; throws EznRoundError when the
// value does not fit.
inline int32_t Round32(double value) {
  if (!std::isfinite(value)) throw EznRoundError();
  double r = zn_detail::RoundHalfEven(value);
  if (r < -2147483648.0 || r > 2147483647.0) throw EznRoundError();
  return static_cast<int32_t>(r);
}

// Integer division rounded down (towards minus infinity) and up.
inline int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
inline int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }
