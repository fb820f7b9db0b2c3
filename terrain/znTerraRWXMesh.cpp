// The mesh of one RWX object: the terrain resampled on the object's own
// grid, with vertical skirts along the outer edges of the object grid.
#include "terrain/znRWXMeshMaker.h"
#include "terrain/znTerra.h"

using namespace zn_mesh;

bool TznTerra::BuildRWXMesh(TznVertex3fArray& vertices, TznVertex3fArray& tex_coords, TznVertex3wArray& faces,
                            TznVertex3fArray& normals, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                            int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags,
                            int32_t& skirt_start) const {
  skirt_start = -1;
  const ObjectGrid grid = MakeObjectGrid(*this, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
  MeshMaker maker(*this, grid, vertices, tex_coords, faces);
  maker.Surface();
  if (maker.VertexCount() > 0)
    for (Side side : kSkirtSides)
      if (edge_flags & SideFlag(side)) maker.Skirt(side, skirt_start);
  return maker.Finish(normals, skirt_start);
}

bool TznTerra::BuildObjectMesh(TznVertex3fArray& vertices, TznVertex3fArray& tex_coords, TznVertex3wArray& faces,
                               TznVertex3fArray& normals, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                               int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags,
                               int32_t& skirt_start) const {
  if (FMesh == kAdaptiveMesh)
    return BuildAdaptiveRWXMesh(vertices, tex_coords, faces, normals, x0, z0, size_x, size_z, cells_per_10m_x,
                                cells_per_10m_z, edge_flags, skirt_start, FMaxError);
  return BuildRWXMesh(vertices, tex_coords, faces, normals, x0, z0, size_x, size_z, cells_per_10m_x,
                      cells_per_10m_z, edge_flags, skirt_start);
}

int64_t TznTerra::RegularRWXTriangleCount(int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                                          int32_t cells_per_10m_x, int32_t cells_per_10m_z,
                                          uint8_t edge_flags) const {
  const ObjectGrid grid = MakeObjectGrid(*this, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
  const int64_t columns = grid.last_column - grid.first_column + 1, rows = grid.last_row - grid.first_row + 1;
  if (columns < 1 || rows < 1) return 0;
  if (columns < 2 || rows < 2) {
    // A single row or column: only skirts, some of them left out.
    TznVertex3fArray vertices, tex_coords, normals;
    TznVertex3wArray faces;
    int32_t skirt_start = -1;
    BuildRWXMesh(vertices, tex_coords, faces, normals, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z,
                 edge_flags, skirt_start);
    return static_cast<int64_t>(faces.size());
  }
  return 2 * (columns - 1) * (rows - 1) + 2 * SidesTotal(edge_flags, columns - 1, rows - 1);
}
