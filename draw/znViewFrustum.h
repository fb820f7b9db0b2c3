// The volume the current OpenGL matrices show: an object whose box lies
// wholly outside it adds no pixel, so the preview need not send its faces.
#pragma once

#include <array>

#include "base/znVectors.h"

class TznViewFrustum {
 public:
  // From the projection and model-view matrices in force. In the selection
  // pass every box counts as inside: the picking sees each object drawn.
  static TznViewFrustum Current();

  // False only when the box (lo, hi in the model-view's frame) lies wholly
  // outside the volume.
  bool MayShow(const TVec3& lo, const TVec3& hi) const;

 private:
  // a, b, c, d of a x + b y + c z + d >= 0 inside, unit normals.
  std::array<std::array<double, 4>, 6> Planes{};
  bool Everything = true;
};
