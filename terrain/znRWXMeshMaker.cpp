#include "terrain/znRWXMeshMaker.h"

#include <algorithm>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace zn_mesh {

namespace {

// Vertex numbers in the files are 1-based and 16-bit.
constexpr int64_t kMaxMeshVertices = 65535;

// First and last index in 0..n whose position start + i * step lies in
// [0, points); first > last when there is none.
void InsideRange(double start, double step, int n, int32_t points, int& first, int& last) {
  first = 0;
  last = -1;
  bool found = false;
  for (int i = 0; i <= n; ++i) {
    const double position = start + i * step;
    if (position >= 0 && position < points) {
      if (!found) first = i;
      last = i;
      found = true;
    }
  }
  if (!found) first = 1, last = 0;
}

bool HasArea(const TVec3& a, const TVec3& b, const TVec3& c) {
  TVec3 normal;
  return FaceNormal(a, b, c, normal) != 0;
}

}  // namespace

ObjectGrid MakeObjectGrid(const TznTerra& terra, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                          int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) {
  ObjectGrid grid;
  grid.nx = static_cast<int>(std::max<int64_t>(1, Round(double(cells_per_10m_x) * size_x / 1000.0)));
  grid.ny = static_cast<int>(std::max<int64_t>(1, Round(double(cells_per_10m_z) * size_z / 1000.0)));
  // A skirt has two vertices per point of its side and two faces per step.
  grid.vertex_budget = int64_t{grid.nx + 1} * (grid.ny + 1) + 2 * SidesTotal(edge_flags, grid.nx + 1, grid.ny + 1);
  grid.face_budget = int64_t{2} * grid.nx * grid.ny + 2 * SidesTotal(edge_flags, grid.nx, grid.ny);
  if (grid.vertex_budget > kMaxMeshVertices)
    throw EznError("an object of " + FormatInt(grid.nx + 1) + " x " + FormatInt(grid.ny + 1) +
                   " vertices is too large: at most " + FormatInt(kMaxMeshVertices) + " vertices fit in one object");

  grid.sx = terra.FScaleX;
  grid.sy = terra.FScaleY;
  grid.gx0 = x0 / (grid.sx * 100);
  grid.gy0 = z0 / (grid.sy * 100);
  grid.dgx = size_x / (grid.nx * grid.sx * 100);
  grid.dgy = size_z / (grid.ny * grid.sy * 100);
  grid.tu = (size_x / 100.0 * 0.5) / grid.nx;
  grid.tv = (size_z / 100.0 * 0.5) / grid.ny;
  InsideRange(grid.gy0, grid.dgy, grid.ny, terra.FYPoints, grid.first_row, grid.last_row);
  InsideRange(grid.gx0, grid.dgx, grid.nx, terra.FXPoints, grid.first_column, grid.last_column);
  return grid;
}

MeshMaker::MeshMaker(const TznTerra& terra, const ObjectGrid& grid, TznObjectMesh& mesh)
    : terra_(terra), grid_(grid), mesh_(mesh), vertices_(mesh.Vertices), tex_(mesh.TexCoords), faces_(mesh.Faces) {
  mesh_.SkirtStart = -1;
  mesh_.FacePairs.clear();
  vertices_.assign(static_cast<size_t>(grid_.vertex_budget), TVec3{});
  tex_.assign(static_cast<size_t>(grid_.vertex_budget), TVec3{});
  faces_.assign(static_cast<size_t>(grid_.face_budget), TznFace3w{});
  west_.assign(grid_.ny + 1, -1);
  east_.assign(grid_.ny + 1, -1);
  south_.assign(grid_.nx + 1, -1);
  north_.assign(grid_.nx + 1, -1);
}

void MeshMaker::SurfaceVertices(std::vector<int>& index) {
  const int32_t xp = terra_.FXPoints, yp = terra_.FYPoints;
  for (int r = 0; r <= grid_.ny; ++r) {
    const double gy = grid_.gy0 + r * grid_.dgy;
    for (int c = 0; c <= grid_.nx; ++c) {
      const double gx = grid_.gx0 + c * grid_.dgx;
      const size_t point = static_cast<size_t>(r) * (grid_.nx + 1) + c;
      if (!(gx >= 0 && gx < xp && gy >= 0 && gy < yp)) continue;
      TVec3 height;
      terra_.GetHeightAt(height, static_cast<float>(gx), static_cast<float>(gy));
      float east = static_cast<float>(gx * grid_.sx);
      float north = static_cast<float>(gy * grid_.sy);
      if (c == grid_.nx) east += kOverlap;
      if (r == grid_.ny) north += kOverlap;
      const int vertex = AddVertex(TVec3{east, height.z, -north},
                                   TVec3{float(c * grid_.tu), float(r * grid_.tv), float((grid_.ny - r) * grid_.tv)});
      index[point] = vertex;
      if (c == grid_.first_column)
        west_[r - grid_.first_row] = vertex;
      else if (c == grid_.last_column)
        east_[r - grid_.first_row] = vertex;
      if (r == grid_.first_row)
        south_[c - grid_.first_column] = vertex;
      else if (r == grid_.last_row)
        north_[c - grid_.first_column] = vertex;
    }
  }
}

void MeshMaker::SurfaceTriangles(const std::vector<int>& index) {
  const int row_length = grid_.nx + 1;
  for (int r = 0; r < grid_.ny; ++r)
    for (int c = 0; c < grid_.nx; ++c) {
      const int south_west = index[r * row_length + c], south_east = index[r * row_length + c + 1];
      const int north_east = index[(r + 1) * row_length + c + 1], north_west = index[(r + 1) * row_length + c];
      if (south_west >= 0 && south_east >= 0 && north_east >= 0) AddFace(south_west, south_east, north_east);
      if (north_east >= 0 && north_west >= 0 && south_west >= 0) AddFace(north_east, north_west, south_west);
    }
}

void MeshMaker::Surface() {
  // Grid point -> vertex index, -1 for points outside the terrain (the same
  // numbering as counting the points made so far).
  std::vector<int> index(static_cast<size_t>(grid_.nx + 1) * (grid_.ny + 1), -1);
  SurfaceVertices(index);
  if (vertex_count_ > 0) SurfaceTriangles(index);
}

TVec3 MeshMaker::EdgeLinePoint(Side side, int index, float low) const {
  // Along the edge, the entry stands at its grid index.
  const double along_y = (grid_.gy0 + index * grid_.dgy) * grid_.sy;
  const double along_x = (grid_.gx0 + index * grid_.dgx) * grid_.sx;
  switch (side) {
    case Side::West:
      return TVec3{float(grid_.gx0 * grid_.sx), low, float(-along_y)};
    case Side::East:
      return TVec3{float((grid_.gx0 + grid_.nx * grid_.dgx) * grid_.sx), low, float(-along_y)};
    case Side::South:
      return TVec3{float(along_x), low, float(-(grid_.gy0 * grid_.sy))};
    case Side::North:
      return TVec3{float(along_x), low, float(-((grid_.gy0 + grid_.ny * grid_.dgy) * grid_.sy))};
  }
  return TVec3{};
}

void MeshMaker::Skirt(Side side) {
  const bool along_y = side == Side::West || side == Side::East;
  const std::vector<int>& list = side == Side::West    ? west_
                                 : side == Side::East  ? east_
                                 : side == Side::South ? south_
                                                       : north_;
  const int count = along_y ? grid_.last_row - grid_.first_row + 1 : grid_.last_column - grid_.first_column + 1;
  std::vector<EdgeEntry> entries;
  entries.reserve(std::max(count, 0));
  for (int k = 0; k < count; ++k) entries.push_back(EdgeEntry{list[k], k});
  Skirt(side, entries);
}

void MeshMaker::Skirt(Side side, const std::vector<EdgeEntry>& entries) {
  const int count = static_cast<int>(entries.size());
  const float low = static_cast<float>(terra_.Metres(terra_.FLowest));
  float top = low;
  const int first = static_cast<int>(vertex_count_);
  for (const EdgeEntry& entry : entries) {
    const int edge = entry.vertex;
    TVec3 bottom = edge >= 0 ? vertices_[edge] : EdgeLinePoint(side, entry.index, low);
    const TVec3 upper = edge >= 0 ? vertices_[edge] : bottom;
    if (edge >= 0) top = std::max(top, upper.y);
    bottom.y = low;
    AddVertex(bottom, TVec3{});
    AddVertex(upper, TVec3{});
  }
  // Texture: U along the edge, V counting down from the top of the skirt.
  const double bottom_v = static_cast<double>(Round((top - low) * 0.5)) + 1;
  for (int i = 0; i < count; ++i) {
    const int k = entries[i].index;
    const double tex_u = side == Side::West    ? (grid_.ny - k) * grid_.tv
                         : side == Side::South ? k * grid_.tu
                         : side == Side::East  ? k * grid_.tv
                                               : (grid_.nx - k) * grid_.tu;
    const int bi = first + 2 * i, ti = bi + 1;
    const double tex_w = (vertices_[ti].y - low) * 0.5;
    tex_[bi] = TVec3{float(tex_u), 0.0f, float(bottom_v)};
    tex_[ti] = TVec3{float(tex_u), float(tex_w), float(bottom_v - tex_w)};
  }
  // Triangles facing out of the terrain. Entries that found no edge vertex
  // lie on the edge line at the lowest level; the triangles they make have
  // no area and are left out.
  const bool west_or_north = side == Side::West || side == Side::North;
  auto add = [&](bool on_edge_line, int a, int b2, int c) {
    if (on_edge_line && !HasArea(vertices_[a], vertices_[b2], vertices_[c])) return;
    if (mesh_.SkirtStart < 0) mesh_.SkirtStart = static_cast<int32_t>(face_count_);
    AddFace(a, b2, c);
  };
  for (int i = 0; i + 1 < count; ++i) {
    const int bk = first + 2 * i, tk = bk + 1, bk1 = bk + 2, tk1 = bk + 3;
    const bool on_edge_line = entries[i].vertex < 0 || entries[i + 1].vertex < 0;
    if (west_or_north) {
      add(on_edge_line, bk, tk, tk1);
      add(on_edge_line, tk1, bk1, bk);
    } else {
      add(on_edge_line, tk1, tk, bk);
      add(on_edge_line, bk, bk1, tk1);
    }
  }
}

bool MeshMaker::Finish() {
  if (face_count_ == 0) {
    vertices_.clear();
    tex_.clear();
    faces_.clear();
    mesh_.Normals.clear();
    mesh_.SkirtStart = -1;
    return false;
  }
  vertices_.resize(vertex_count_);
  tex_.resize(vertex_count_);
  faces_.resize(face_count_);
  mesh_.Normals.assign(faces_.size(), TVec3{});
  ComputeFaceNormals(vertices_, faces_, mesh_.Normals);
  return true;
}

}  // namespace zn_mesh
