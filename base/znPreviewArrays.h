// The faces of an object's mesh laid out for drawing from arrays: three
// corners per face, each with the face's own normal and its vertex's
// texture coordinate, so that flat faces share no vertex. The corners are
// kept in runs (the surface and the skirt, or one run per filter/material
// pair) that are drawn with one call each. Plain arrays: no OpenGL here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/znVectors.h"

struct TznPreviewArrays {
  TznVertex3fArray Positions;
  TznVertex3fArray Normals;
  std::vector<float> TexCoords;  // two per corner
  // Run k holds the corners Starts[k] .. Starts[k + 1] - 1.
  std::vector<int32_t> Starts;
  // What the layout was made for; -1 while there is none.
  int64_t Key = -1;
  // The box around all corners (Lo above Hi while there is none).
  TVec3 Lo{1, 1, 1}, Hi{0, 0, 0};
  // The last run the object takes part in (a pair after which every face
  // of the object is claimed).
  int LastRun = 0;

  bool Empty() const { return Key < 0; }
  int Corners(int run) const { return Starts[run + 1] - Starts[run]; }
  // The memory the arrays hold.
  size_t Bytes() const {
    return (Positions.capacity() + Normals.capacity()) * sizeof(TVec3) + TexCoords.capacity() * sizeof(float) +
           Starts.capacity() * sizeof(int32_t);
  }
  // The memory the arrays take for a mesh of the given faces.
  static constexpr size_t BytesFor(size_t faces) { return faces * 3 * (2 * sizeof(TVec3) + 2 * sizeof(float)); }
  void Release() { *this = TznPreviewArrays(); }
};
