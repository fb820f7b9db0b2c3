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
    const double p = start + i * step;
    if (p >= 0 && p < points) {
      if (!found) first = i;
      last = i;
      found = true;
    }
  }
  if (!found) first = 1, last = 0;
}

bool HasArea(const TVec3& a, const TVec3& b, const TVec3& c) {
  TVec3 n;
  return FaceNormal(a, b, c, n) != 0;
}

}  // namespace

ObjectGrid MakeObjectGrid(const TznTerra& terra, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                          int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags) {
  ObjectGrid g;
  g.nx = static_cast<int>(std::max<int64_t>(1, Round(double(cells_per_10m_x) * size_x / 1000.0)));
  g.ny = static_cast<int>(std::max<int64_t>(1, Round(double(cells_per_10m_z) * size_z / 1000.0)));
  // A skirt has two vertices per point of its side and two faces per step.
  g.vertex_budget = int64_t{g.nx + 1} * (g.ny + 1) + 2 * SidesTotal(edge_flags, g.nx + 1, g.ny + 1);
  g.face_budget = int64_t{2} * g.nx * g.ny + 2 * SidesTotal(edge_flags, g.nx, g.ny);
  if (g.vertex_budget > kMaxMeshVertices)
    throw EznError("an object of " + FormatInt(g.nx + 1) + " x " + FormatInt(g.ny + 1) +
                   " vertices is too large: at most " + FormatInt(kMaxMeshVertices) + " vertices fit in one object");

  g.sx = terra.FScaleX;
  g.sy = terra.FScaleY;
  g.gx0 = x0 / (g.sx * 100);
  g.gy0 = z0 / (g.sy * 100);
  g.dgx = size_x / (g.nx * g.sx * 100);
  g.dgy = size_z / (g.ny * g.sy * 100);
  g.tu = (size_x / 100.0 * 0.5) / g.nx;
  g.tv = (size_z / 100.0 * 0.5) / g.ny;
  InsideRange(g.gy0, g.dgy, g.ny, terra.FYPoints, g.f, g.g);
  InsideRange(g.gx0, g.dgx, g.nx, terra.FXPoints, g.d, g.e);
  return g;
}

MeshMaker::MeshMaker(const TznTerra& terra, const ObjectGrid& grid, TznObjectMesh& mesh)
    : terra_(terra),
      g_(grid),
      mesh_(mesh),
      vertices_(mesh.Vertices),
      tex_(mesh.TexCoords),
      faces_(mesh.Faces) {
  mesh_.SkirtStart = -1;
  mesh_.FacePairs.clear();
  vertices_.assign(static_cast<size_t>(g_.vertex_budget), TVec3{});
  tex_.assign(static_cast<size_t>(g_.vertex_budget), TVec3{});
  faces_.assign(static_cast<size_t>(g_.face_budget), TznFace3w{});
  west_.assign(g_.ny + 1, -1);
  east_.assign(g_.ny + 1, -1);
  south_.assign(g_.nx + 1, -1);
  north_.assign(g_.nx + 1, -1);
}

void MeshMaker::SurfaceVertices(std::vector<int>& index) {
  const int32_t xp = terra_.FXPoints, yp = terra_.FYPoints;
  for (int r = 0; r <= g_.ny; ++r) {
    const double gy = g_.gy0 + r * g_.dgy;
    for (int c = 0; c <= g_.nx; ++c) {
      const double gx = g_.gx0 + c * g_.dgx;
      const size_t k = static_cast<size_t>(r) * (g_.nx + 1) + c;
      if (!(gx >= 0 && gx < xp && gy >= 0 && gy < yp)) continue;
      TVec3 h;
      terra_.GetHeightAt(h, static_cast<float>(gx), static_cast<float>(gy));
      float east = static_cast<float>(gx * g_.sx);
      float north = static_cast<float>(gy * g_.sy);
      if (c == g_.nx) east += kOverlap;
      if (r == g_.ny) north += kOverlap;
      const int v = AddVertex(TVec3{east, h.z, -north},
                              TVec3{float(c * g_.tu), float(r * g_.tv), float((g_.ny - r) * g_.tv)});
      index[k] = v;
      if (c == g_.d)
        west_[r - g_.f] = v;
      else if (c == g_.e)
        east_[r - g_.f] = v;
      if (r == g_.f)
        south_[c - g_.d] = v;
      else if (r == g_.g)
        north_[c - g_.d] = v;
    }
  }
}

void MeshMaker::SurfaceTriangles(const std::vector<int>& index) {
  const int w = g_.nx + 1;
  for (int r = 0; r < g_.ny; ++r)
    for (int c = 0; c < g_.nx; ++c) {
      const int a = index[r * w + c], b = index[r * w + c + 1];
      const int cc = index[(r + 1) * w + c + 1], d = index[(r + 1) * w + c];
      if (a >= 0 && b >= 0 && cc >= 0) AddFace(a, b, cc);
      if (cc >= 0 && d >= 0 && a >= 0) AddFace(cc, d, a);
    }
}

void MeshMaker::Surface() {
  // Grid point -> vertex index, -1 for points outside the terrain (the same
  // numbering as counting the points made so far).
  std::vector<int> index(static_cast<size_t>(g_.nx + 1) * (g_.ny + 1), -1);
  SurfaceVertices(index);
  if (vertex_count_ > 0) SurfaceTriangles(index);
}

TVec3 MeshMaker::EdgeLinePoint(Side side, int k, float low) const {
  // Along the edge, k stands for the grid index of the entry.
  const double along_y = (g_.gy0 + k * g_.dgy) * g_.sy;
  const double along_x = (g_.gx0 + k * g_.dgx) * g_.sx;
  switch (side) {
    case Side::West: return TVec3{float(g_.gx0 * g_.sx), low, float(-along_y)};
    case Side::East: return TVec3{float((g_.gx0 + g_.nx * g_.dgx) * g_.sx), low, float(-along_y)};
    case Side::South: return TVec3{float(along_x), low, float(-(g_.gy0 * g_.sy))};
    case Side::North: return TVec3{float(along_x), low, float(-((g_.gy0 + g_.ny * g_.dgy) * g_.sy))};
  }
  return TVec3{};
}

void MeshMaker::Skirt(Side side) {
  const bool along_y = side == Side::West || side == Side::East;
  const std::vector<int>& list = side == Side::West    ? west_
                                 : side == Side::East  ? east_
                                 : side == Side::South ? south_
                                                       : north_;
  const int count = along_y ? g_.g - g_.f + 1 : g_.e - g_.d + 1;
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
    TVec3 bottom = edge >= 0 ? vertices_[edge] : EdgeLinePoint(side, entry.k, low);
    const TVec3 upper = edge >= 0 ? vertices_[edge] : bottom;
    if (edge >= 0) top = std::max(top, upper.y);
    bottom.y = low;
    AddVertex(bottom, TVec3{});
    AddVertex(upper, TVec3{});
  }
  // Texture: U along the edge, V counting down from the top of the skirt.
  const double b = static_cast<double>(Round((top - low) * 0.5)) + 1;
  for (int i = 0; i < count; ++i) {
    const int k = entries[i].k;
    const double u = side == Side::West    ? (g_.ny - k) * g_.tv
                     : side == Side::South ? k * g_.tu
                     : side == Side::East  ? k * g_.tv
                                           : (g_.nx - k) * g_.tu;
    const int bi = first + 2 * i, ti = bi + 1;
    const double w = (vertices_[ti].y - low) * 0.5;
    tex_[bi] = TVec3{float(u), 0.0f, float(b)};
    tex_[ti] = TVec3{float(u), float(w), float(b - w)};
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
