#include "draw/znViewFrustum.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// The margin (m) by which a box may lie outside and still count as inside,
// for the rounding of the matrices.
constexpr double kMargin = 0.01;

}  // namespace

TznViewFrustum TznViewFrustum::Current() {
  TznViewFrustum frustum;
  GLint mode = GL_RENDER;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  if (mode != GL_RENDER) return frustum;
  GLfloat projection[16], model_view[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, model_view);
  // Clip = projection x model-view, both column-major.
  double clip[16];
  for (int column = 0; column < 4; ++column)
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += double{projection[k * 4 + row]} * model_view[column * 4 + k];
      clip[column * 4 + row] = sum;
    }
  // Each plane is row 3 plus or minus row 0, 1 or 2 of the clip matrix.
  for (int axis = 0; axis < 3; ++axis)
    for (int side = 0; side < 2; ++side) {
      std::array<double, 4>& plane = frustum.Planes[axis * 2 + side];
      const double sign = side == 0 ? 1 : -1;
      for (int k = 0; k < 4; ++k) plane[k] = clip[k * 4 + 3] + sign * clip[k * 4 + axis];
      const double length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
      if (!(length > 0)) return TznViewFrustum();
      for (double& value : plane) value /= length;
    }
  frustum.Everything = false;
  return frustum;
}

bool TznViewFrustum::MayShow(const TVec3& lo, const TVec3& hi) const {
  if (Everything) return true;
  for (const std::array<double, 4>& plane : Planes) {
    // The corner farthest along the plane's normal.
    const double x = plane[0] >= 0 ? hi.x : lo.x;
    const double y = plane[1] >= 0 ? hi.y : lo.y;
    const double z = plane[2] >= 0 ? hi.z : lo.z;
    if (plane[0] * x + plane[1] * y + plane[2] * z + plane[3] < -kMargin) return false;
  }
  return true;
}
