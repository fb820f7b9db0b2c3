// The mesh of one block of the block grid, at full terrain resolution.
#include <algorithm>
#include <vector>

#include "terrain/znTerra.h"

namespace {

constexpr int32_t kMaxBlockSteps = 120;

}  // namespace

bool TznTerra::BuildBlockMesh(TznVertex3fArray& vertices, TznVertex3wArray& faces, TznVertex3fArray& normals,
                              int32_t x0, int32_t y0, int32_t nx, int32_t ny, uint8_t /*kind*/) const {
  nx = std::min(kMaxBlockSteps, std::max(0, nx));
  ny = std::min(kMaxBlockSteps, std::max(0, ny));
  const size_t points = size_t(nx + 1) * size_t(ny + 1);
  vertices.resize(points);
  faces.resize(size_t(2) * nx * ny);
  // Per block point: 0 when it lies outside the terrain, else one more than
  // the number of points skipped before it.
  std::vector<int32_t> map(points);
  int32_t skipped = 1;
  size_t made = 0, k = 0;
  for (int32_t c = y0; c <= y0 + ny; ++c)
    for (int32_t i = x0; i <= x0 + nx; ++i, ++k) {
      if (i < 0 || c < 0 || i >= FXPoints || c >= FYPoints) {
        map[k] = 0;
        ++skipped;
        continue;
      }
      vertices[made++] = TVec3{i * FScaleX, static_cast<float>(Metres(GetHeight(i, c))), -(c * FScaleY)};
      map[k] = skipped;
    }
  vertices.resize(made);

  auto index = [&](int32_t col, int32_t row) -> int32_t {
    const int32_t p = row * (nx + 1) + col % (nx + 1);
    return map[p] == 0 ? -1 : p - map[p] + 1;
  };
  size_t triangles = 0;
  auto add = [&](int32_t a, int32_t b, int32_t c) {
    if (a < 0 || b < 0 || c < 0) return;
    faces[triangles++] = MakeFace3w(uint16_t(a), uint16_t(b), uint16_t(c));
  };
  for (int32_t row = 0; row < ny; ++row)
    for (int32_t col = 0; col < nx; ++col) {
      add(index(col, row), index(col + 1, row), index(col + 1, row + 1));
      add(index(col + 1, row + 1), index(col, row + 1), index(col, row));
    }
  // A block wholly outside the terrain keeps no triangle slots either.
  faces.resize(made == 0 ? 0 : triangles);
  normals.resize(faces.size());
  if (made == 0) return false;
  ComputeFaceNormals(vertices, faces, normals);
  return triangles > 0;
}
