// The adaptive mesh of one RWX object: a subset of the regular mesh's grid
// points, triangulated so that every grid point lies within the chosen
// error of the surface, with the object's edges simplified from their own
// heights alone so that neighbouring objects keep the same edge points.
#include <iterator>

#include "base/znRound.h"
#include "terrain/znGreedyMesh.h"
#include "terrain/znRWXMeshMaker.h"
#include "terrain/znTerra.h"

using namespace zn_mesh;

namespace {

// The grid points of the object that lie inside the terrain: a rectangle of
// the object's grid, its inside columns and rows, with their heights.
class InsideRectangle {
 public:
  InsideRectangle(const TznTerra& terra, const ObjectGrid& grid, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z)
      : grid_(grid), columns_(grid.last_column - grid.first_column + 1), rows_(grid.last_row - grid.first_row + 1) {
    // The east column and the north row are the neighbour's west column and
    // south row: both objects take their position from the same whole
    // centimetres, so they sample the very same heights there (unless that
    // position fell off the terrain's last step, where no neighbour is).
    gx_.resize(columns_);
    gy_.resize(rows_);
    for (int c = 0; c < columns_; ++c)
      gx_[c] = Position(grid.gx0, grid.dgx, grid.first_column + c, grid.nx, (x0 + double(size_x)) / (grid.sx * 100),
                        terra.FXPoints);
    for (int r = 0; r < rows_; ++r)
      gy_[r] = Position(grid.gy0, grid.dgy, grid.first_row + r, grid.ny, (z0 + double(size_z)) / (grid.sy * 100),
                        terra.FYPoints);
    heights_.resize(static_cast<size_t>(columns_) * rows_);
    for (int r = 0; r < rows_; ++r)
      for (int c = 0; c < columns_; ++c) {
        TVec3 h;
        terra.GetHeightAt(h, static_cast<float>(gx_[c]), static_cast<float>(gy_[r]));
        heights_[Point(c, r)] = h.z;
      }
  }

  static double Position(double start, double step, int i, int last, double edge, int32_t points) {
    return i == last && edge < points ? edge : start + i * step;
  }

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int Point(int c, int r) const { return r * columns_ + c; }
  const float* Heights() const { return heights_.data(); }

  // The vertex and texture triple of a point, as the regular mesh has them.
  TVec3 Vertex(int point) const {
    const int c = point % columns_, r = point / columns_;
    float east = static_cast<float>(gx_[c] * grid_.sx);
    float north = static_cast<float>(gy_[r] * grid_.sy);
    if (grid_.first_column + c == grid_.nx) east += kOverlap;
    if (grid_.first_row + r == grid_.ny) north += kOverlap;
    return TVec3{east, heights_[point], -north};
  }
  TVec3 Texture(int point) const {
    const int c = grid_.first_column + point % columns_, r = grid_.first_row + point / columns_;
    return TVec3{float(c * grid_.tu), float(r * grid_.tv), float((grid_.ny - r) * grid_.tv)};
  }

  // The points of one side, in order along it (south to north, west to east).
  std::vector<int> SidePoints(Side side) const {
    std::vector<int> points;
    const bool along_y = side == Side::West || side == Side::East;
    const int count = along_y ? rows_ : columns_;
    for (int k = 0; k < count; ++k) {
      if (side == Side::West) points.push_back(Point(0, k));
      if (side == Side::East) points.push_back(Point(columns_ - 1, k));
      if (side == Side::South) points.push_back(Point(k, 0));
      if (side == Side::North) points.push_back(Point(k, rows_ - 1));
    }
    return points;
  }

 private:
  const ObjectGrid& grid_;
  int columns_, rows_;
  std::vector<double> gx_, gy_;
  std::vector<float> heights_;
};

// The points kept on each side, in the order of kSkirtSides: each side
// simplified from its own heights.
std::vector<std::vector<int>> KeptSidePoints(const InsideRectangle& rect, double max_error) {
  std::vector<std::vector<int>> kept;
  for (Side side : kSkirtSides) {
    const std::vector<int> points = rect.SidePoints(side);
    std::vector<float> heights;
    for (int p : points) heights.push_back(rect.Heights()[p]);
    std::vector<int> side_kept;
    for (int i : SimplifyPolyline(heights, max_error)) side_kept.push_back(points[i]);
    kept.push_back(side_kept);
  }
  return kept;
}

}  // namespace

bool TznTerra::BuildAdaptiveRWXMesh(TznObjectMesh& object_mesh, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                                    int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags,
                                    double max_error) const {
  ObjectGrid grid = MakeObjectGrid(*this, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);
  // A single row or column inside the terrain has no cell to simplify.
  if (grid.last_column - grid.first_column < 1 || grid.last_row - grid.first_row < 1)
    return BuildRWXMesh(object_mesh, x0, z0, size_x, size_z, cells_per_10m_x, cells_per_10m_z, edge_flags);

  const InsideRectangle rect(*this, grid, x0, z0, size_x, size_z);
  const std::vector<std::vector<int>> sides = KeptSidePoints(rect, max_error);
  std::vector<int> side_points;
  for (const std::vector<int>& side : sides) side_points.insert(side_points.end(), side.begin(), side.end());
  TznGreedyMesh mesh(rect.Heights(), rect.Columns(), rect.Rows(), max_error);
  mesh.Run(side_points);

  // The arrays are sized for this mesh, not for the regular one's grid: they
  // stay as large while the object is built.
  const int points = rect.Columns() * rect.Rows();
  grid.vertex_budget = 0;
  grid.face_budget = static_cast<int64_t>(mesh.Triangles().size());
  for (int p = 0; p < points; ++p) grid.vertex_budget += mesh.Used(p);
  for (size_t s = 0; s < std::size(kSkirtSides); ++s)
    if (edge_flags & SideFlag(kSkirtSides[s])) {
      grid.vertex_budget += 2 * static_cast<int64_t>(sides[s].size());
      grid.face_budget += 2 * (static_cast<int64_t>(sides[s].size()) - 1);
    }

  MeshMaker maker(*this, grid, object_mesh);
  std::vector<int> vertex_of(static_cast<size_t>(points), -1);
  for (int p = 0; p < points; ++p)
    if (mesh.Used(p)) vertex_of[p] = maker.AddVertex(rect.Vertex(p), rect.Texture(p));
  for (const TznGreedyMesh::Triangle& t : mesh.Triangles())
    maker.AddFace(vertex_of[t[0]], vertex_of[t[1]], vertex_of[t[2]]);

  for (size_t s = 0; s < std::size(kSkirtSides); ++s) {
    const Side side = kSkirtSides[s];
    if (!(edge_flags & SideFlag(side))) continue;
    const bool along_y = side == Side::West || side == Side::East;
    std::vector<EdgeEntry> entries;
    for (int p : sides[s])
      entries.push_back(EdgeEntry{vertex_of[p], along_y ? p / rect.Columns() : p % rect.Columns()});
    maker.Skirt(side, entries);
  }
  return maker.Finish();
}

namespace {

// Up to count starts, evenly spread, of the objects from first on (step
// size) that end at or before last.
std::vector<int64_t> SpreadStarts(int64_t first, int64_t size, double last, int count) {
  std::vector<int64_t> all;
  for (int64_t x = first; x + size <= last; x += size)
    if (x >= 0) all.push_back(x);
  if (all.size() <= static_cast<size_t>(count)) return all;
  std::vector<int64_t> spread;
  for (int k = 0; k < count; ++k) spread.push_back(all[k * (all.size() - 1) / (count - 1)]);
  return spread;
}

}  // namespace

std::optional<double> TznTerra::SampleAdaptiveTriangles(int per_side) const {
  if (FXPoints < 2 || FYPoints < 2 || per_side < 2) return std::nullopt;
  const int64_t size = Round(FObjectSize * 100.0);
  const TznCentimetres start = GetGridStart();
  const std::vector<int64_t> columns = SpreadStarts(start.x, size, (FXPoints - 1) * double(FScaleX) * 100, per_side);
  const std::vector<int64_t> rows = SpreadStarts(start.y, size, (FYPoints - 1) * double(FScaleY) * 100, per_side);
  if (columns.empty() || rows.empty()) return std::nullopt;
  TznObjectMesh mesh;
  int64_t triangles = 0;
  for (int64_t z0 : rows)
    for (int64_t x0 : columns) {
      BuildAdaptiveRWXMesh(mesh, static_cast<int32_t>(x0), static_cast<int32_t>(z0), static_cast<int32_t>(size),
                           static_cast<int32_t>(size), FVertices - 1, FVertices - 1, 0, FMaxError);
      triangles += static_cast<int64_t>(mesh.FaceCount());
    }
  return double(triangles) / (columns.size() * rows.size());
}
