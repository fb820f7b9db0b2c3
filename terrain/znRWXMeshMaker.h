// The parts that the regular and the adaptive RWX object meshes share: the
// object's grid in the terrain's grid units, and the arrays being filled,
// with the vertical skirts along the outer edges of the object grid.
#pragma once

#include <cstdint>
#include <vector>

#include "base/znObjectMesh.h"
#include "base/znVectors.h"

class TznTerra;

namespace zn_mesh {

constexpr uint8_t kWest = 1, kEast = 2, kNorth = 4, kSouth = 8;
constexpr float kOverlap = 0.002f;  // neighbouring objects overlap by 2 mm

enum class Side { West, South, East, North };

// The sides in the order their skirts follow the surface.
constexpr Side kSkirtSides[] = {Side::West, Side::South, Side::East, Side::North};

constexpr uint8_t SideFlag(Side side) {
  switch (side) {
    case Side::West:
      return kWest;
    case Side::South:
      return kSouth;
    case Side::East:
      return kEast;
    case Side::North:
      return kNorth;
  }
  return 0;
}

// A count along each side that edge_flags names, summed: along_x for the
// south and north sides, along_y for the west and east ones.
constexpr int64_t SidesTotal(uint8_t edge_flags, int64_t along_x, int64_t along_y) {
  int64_t total = 0;
  for (Side side : kSkirtSides)
    if (edge_flags & SideFlag(side)) total += side == Side::West || side == Side::East ? along_y : along_x;
  return total;
}

// The grid of one object in the terrain's grid units.
struct ObjectGrid {
  int nx = 1, ny = 1;                      // cells
  double gx0 = 0, gy0 = 0;                 // start
  double dgx = 0, dgy = 0;                 // step
  double tu = 0, tv = 0;                   // texture steps
  double sx = 1, sy = 1;                   // metres per terrain step
  int first_column = 0, last_column = -1;  // inside the terrain
  int first_row = 0, last_row = -1;
  int64_t vertex_budget = 0, face_budget = 0;  // grid and skirts
};

// The grid of the object at (x0, z0) of size_x × size_z centimetres. Throws
// EznError when its mesh would need more vertices than 16-bit indices can
// number.
ObjectGrid MakeObjectGrid(const TznTerra& terra, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                          int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags);

// One point of a skirt's edge: its vertex (-1 for a point outside the
// terrain) and its grid index along the edge, counted from the first inside
// row or column.
struct EdgeEntry {
  int vertex;
  int index;
};

class MeshMaker {
 public:
  // The mesh's arrays hold the grid's budgets while they are filled.
  MeshMaker(const TznTerra& terra, const ObjectGrid& grid, TznObjectMesh& mesh);

  // The regular mesh: every grid point inside the terrain, two triangles
  // per cell, and its skirts.
  void Surface();
  void Skirt(Side side);

  // A skirt along the given edge points, in their order along the edge.
  void Skirt(Side side, const std::vector<EdgeEntry>& entries);

  int AddVertex(const TVec3& v, const TVec3& t) {
    vertices_[vertex_count_] = v;
    tex_[vertex_count_] = t;
    return static_cast<int>(vertex_count_++);
  }
  void AddFace(int a, int b, int c) { faces_[face_count_++] = TznFace3w{uint16_t(a), uint16_t(b), uint16_t(c)}; }
  size_t VertexCount() const { return vertex_count_; }
  size_t FaceCount() const { return face_count_; }

  // Cuts the arrays to what was made and fills the normals; false (all
  // emptied) when no triangle was made.
  bool Finish();

 private:
  void SurfaceVertices(std::vector<int>& index);
  void SurfaceTriangles(const std::vector<int>& index);
  TVec3 EdgeLinePoint(Side side, int index, float low) const;

  const TznTerra& terra_;
  const ObjectGrid& grid_;
  TznObjectMesh& mesh_;
  TznVertex3fArray& vertices_;
  TznVertex3fArray& tex_;
  TznVertex3wArray& faces_;
  size_t vertex_count_ = 0, face_count_ = 0;
  std::vector<int> west_, east_, south_, north_;
};

}  // namespace zn_mesh
