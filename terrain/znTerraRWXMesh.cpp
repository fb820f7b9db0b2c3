// The mesh of one RWX object: the terrain resampled on the object's own
// grid, with vertical skirts along the outer edges of the object grid.
#include "terrain/znRWXMeshMaker.h"
#include "terrain/znTerra.h"

using namespace zn_mesh;

bool TznTerra::BuildRWXMesh(TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                            int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) const {
  const ObjectGrid grid = MakeObjectGrid(*this, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
  MeshMaker maker(*this, grid, mesh);
  maker.Surface();
  if (maker.VertexCount() > 0)
    for (Side side : kSkirtSides)
      if (edge_flags & SideFlag(side)) maker.Skirt(side);
  return maker.Finish();
}

bool TznTerra::BuildObjectMesh(TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                               int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) const {
  if (FMesh == kAdaptiveMesh)
    return BuildAdaptiveRWXMesh(mesh, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags, FMaxError);
  return BuildRWXMesh(mesh, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
}

int64_t TznTerra::RegularRWXTriangleCount(int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                                          int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) const {
  const ObjectGrid grid = MakeObjectGrid(*this, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
  const int64_t columns = grid.last_column - grid.first_column + 1, rows = grid.last_row - grid.first_row + 1;
  if (columns < 1 || rows < 1) return 0;
  if (columns < 2 || rows < 2) {
    // A single row or column: only skirts, some of them left out.
    TznObjectMesh mesh;
    BuildRWXMesh(mesh, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
    return static_cast<int64_t>(mesh.FaceCount());
  }
  return 2 * (columns - 1) * (rows - 1) + 2 * SidesTotal(edge_flags, columns - 1, rows - 1);
}
