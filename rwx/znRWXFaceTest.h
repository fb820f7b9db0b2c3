// A face filter made ready for the faces of one object: the same answers as
// TznRWXFaceFilter::Applies, but the gradient limits are turned once into
// limits on the face normal, so that a face whose slope lies clearly on one
// side of a limit needs no trigonometry. Only faces within a hair of a limit
// (or with a level, downward or odd normal) take the filter's own gradient.
#pragma once

#include "base/znVectors.h"
#include "rwx/znRWXFaceFilter.h"

class TznRWXFaceTest {
 public:
  explicit TznRWXFaceTest(const TznRWXFaceFilter& filter);

  bool Applies(const TVec3& v0, const TVec3& v1, const TVec3& v2, const TVec3& normal, double centre_x,
               double centre_z) const {
    if (pass_through_) return true;
    return filter_.AppliesToBounds(v0, v1, v2, centre_x, centre_z) && AppliesToGradient(normal);
  }
  bool AppliesToGradient(const TVec3& normal) const;

 private:
  // For an upward normal with horizontal part h, the slope is atan(h / ny):
  // with s = h^2 and q = ny^2, a limit passes surely when s <= pass * q (or
  // s >= pass * q for the low limit) and fails surely when s >= fail * q
  // (s <= fail * q); in between, the filter decides.
  struct Limit {
    bool used = false;
    double pass = 0, fail = 0;
  };

  const TznRWXFaceFilter& filter_;
  bool pass_through_;
  bool exact_only_ = false;  // a limit that is not a number
  Limit high_, low_;
};
