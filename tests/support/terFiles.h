// Builds Terragen files byte by byte for the tests.
#pragma once

#include <functional>
#include <string>

#include "support/testFiles.h"

namespace test {

// Header with SIZE and optional XPTS/YPTS/SCAL, ready for ALTW.
inline Bytes TerHeader(int32_t size) {
  Bytes b;
  b.Text("TERRAGENTERRAIN ").Text("SIZE").I32(size);
  return b;
}

// A complete terrain of nx x ny points whose raw elevation at (i, j) is
// raw(i, j), with the given scale (0 writes no SCAL chunk).
inline Bytes TerFile(int nx, int ny, float scale, const std::function<int16_t(int, int)>& raw) {
  Bytes b = TerHeader(std::max(nx, ny) - 1);
  b.Text("XPTS").I32(nx).Text("YPTS").I32(ny);
  if (scale != 0) b.Text("SCAL").F32(scale).F32(scale).F32(scale);
  b.Text("ALTW").I16(1).I16(0);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) b.I16(raw(i, j));
  b.Text("EOF ");
  return b;
}

}  // namespace test
