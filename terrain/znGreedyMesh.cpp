#include "terrain/znGreedyMesh.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/znRound.h"

std::vector<int> SimplifyPolyline(const std::vector<float>& heights, double max_error) {
  const int n = static_cast<int>(heights.size());
  if (n <= 2) {
    std::vector<int> all(n);
    for (int i = 0; i < n; ++i) all[i] = i;
    return all;
  }
  std::vector<uint8_t> keep(n, 0);
  keep[0] = keep[n - 1] = 1;
  std::vector<std::pair<int, int>> spans{{0, n - 1}};
  while (!spans.empty()) {
    const auto [a, b] = spans.back();
    spans.pop_back();
    const double ha = heights[a], slope = (double(heights[b]) - ha) / (b - a);
    int worst = -1;
    double worst_error = max_error;
    for (int i = a + 1; i < b; ++i) {
      const double error = std::fabs(heights[i] - (ha + slope * (i - a)));
      if (error > worst_error) worst_error = error, worst = i;
    }
    if (worst < 0) continue;
    keep[worst] = 1;
    spans.push_back({worst, b});
    spans.push_back({a, worst});
  }
  std::vector<int> kept;
  for (int i = 0; i < n; ++i)
    if (keep[i]) kept.push_back(i);
  return kept;
}

TznGreedyMesh::TznGreedyMesh(const float* heights, int columns, int rows, double max_error)
    : heights_(heights), columns_(columns), rows_(rows), max_error_(max_error) {}

int64_t TznGreedyMesh::Orient(int a, int b, int c) const {
  return int64_t{X(b) - X(a)} * (Y(c) - Y(a)) - int64_t{Y(b) - Y(a)} * (X(c) - X(a));
}

bool TznGreedyMesh::InCircle(int a, int b, int c, int d) const {
  // Exact in 128 bits for any grid that 16-bit vertex numbers allow.
  using Wide = __int128;
  const Wide adx = X(a) - X(d), ady = Y(a) - Y(d);
  const Wide bdx = X(b) - X(d), bdy = Y(b) - Y(d);
  const Wide cdx = X(c) - X(d), cdy = Y(c) - Y(d);
  const Wide det = (adx * adx + ady * ady) * (bdx * cdy - cdx * bdy) +
                   (bdx * bdx + bdy * bdy) * (cdx * ady - adx * cdy) +
                   (cdx * cdx + cdy * cdy) * (adx * bdy - bdx * ady);
  return det > 0;
}

void TznGreedyMesh::SetTri(int t, int a, int b, int c, int na, int nb, int nc) {
  tris_[t] = Tri{{a, b, c}, {na, nb, nc}};
  ++stamps_[t];
  touched_.push_back(t);
}

int TznGreedyMesh::NewTri(int a, int b, int c, int na, int nb, int nc) {
  tris_.push_back(Tri{});
  stamps_.push_back(0);
  SetTri(static_cast<int>(tris_.size()) - 1, a, b, c, na, nb, nc);
  return static_cast<int>(tris_.size()) - 1;
}

void TznGreedyMesh::Repoint(int t, int from, int to) {
  if (t < 0) return;
  for (int& n : tris_[t].n)
    if (n == from) n = to;
}

void TznGreedyMesh::SplitInside(int p, int t) {
  const auto [a, b, c] = tris_[t].v;
  const auto [na, nb, nc] = tris_[t].n;
  const int t2 = static_cast<int>(tris_.size()), t3 = t2 + 1;
  SetTri(t, a, b, p, t2, t3, nc);
  NewTri(b, c, p, t3, t, na);
  NewTri(c, a, p, t, t2, nb);
  Repoint(na, t, t2);
  Repoint(nb, t, t3);
  for (int tri : {t, t2, t3}) Legalize(tri, p);
}

void TznGreedyMesh::SplitEdge(int p, int t, int edge) {
  const Tri old = tris_[t];
  const int c = old.v[edge], a = old.v[(edge + 1) % 3], b = old.v[(edge + 2) % 3];
  const int n_bc = old.n[(edge + 1) % 3], n_ca = old.n[(edge + 2) % 3];
  const int u = old.n[edge];
  const int t2 = static_cast<int>(tris_.size());
  if (u < 0) {
    SetTri(t, c, a, p, -1, t2, n_ca);
    NewTri(c, p, b, -1, n_bc, t);
    Repoint(n_bc, t, t2);
    for (int tri : {t, t2}) Legalize(tri, p);
    return;
  }
  const Tri other = tris_[u];
  int j = 0;
  while (other.n[j] != t) ++j;
  const int d = other.v[j];
  const int n_ad = other.n[(j + 1) % 3], n_db = other.n[(j + 2) % 3];
  const int u2 = t2 + 1;
  SetTri(t, c, a, p, u2, t2, n_ca);
  NewTri(c, p, b, u, n_bc, t);
  SetTri(u, d, b, p, t2, u2, n_db);
  NewTri(d, p, a, t, n_ad, u);
  Repoint(n_bc, t, t2);
  Repoint(n_ad, u, u2);
  for (int tri : {t, t2, u, u2}) Legalize(tri, p);
}

void TznGreedyMesh::Legalize(int first, int p) {
  std::vector<int>& pending = pending_;
  pending.assign(1, first);
  while (!pending.empty()) {
    const int t = pending.back();
    pending.pop_back();
    const Tri tri = tris_[t];
    int i = 0;
    while (tri.v[i] != p) ++i;
    const int u = tri.n[i];
    if (u < 0) continue;
    const int x = tri.v[(i + 1) % 3], y = tri.v[(i + 2) % 3];
    const Tri other = tris_[u];
    int j = 0;
    while (other.n[j] != t) ++j;
    const int q = other.v[j];
    if (!InCircle(p, x, y, q)) continue;
    const int n_yp = tri.n[(i + 1) % 3], n_px = tri.n[(i + 2) % 3];
    const int n_xq = other.n[(j + 1) % 3], n_qy = other.n[(j + 2) % 3];
    SetTri(t, p, x, q, n_xq, u, n_px);
    SetTri(u, p, q, y, n_qy, n_yp, t);
    Repoint(n_xq, u, t);
    Repoint(n_yp, t, u);
    pending.push_back(t);
    pending.push_back(u);
  }
}

void TznGreedyMesh::Insert(int p, int t) {
  used_[p] = 1;
  const Tri& tri = tris_[t];
  for (int i = 0; i < 3; ++i)
    if (Orient(tri.v[(i + 1) % 3], tri.v[(i + 2) % 3], p) == 0) return SplitEdge(p, t, i);
  SplitInside(p, t);
}

int TznGreedyMesh::FindRimTriangle(int p, int& edge) const {
  // The side points come in order along each side, so the triangle sought
  // is mostly one that the last insertions made.
  for (auto t = touched_.rbegin(); t != touched_.rend(); ++t)
    if (RimEdgeHolds(*t, p, edge)) return *t;
  for (int t = 0; t < static_cast<int>(tris_.size()); ++t)
    if (RimEdgeHolds(t, p, edge)) return t;
  return -1;
}

bool TznGreedyMesh::RimEdgeHolds(int t, int p, int& edge) const {
  for (int i = 0; i < 3; ++i) {
    if (tris_[t].n[i] >= 0) continue;
    const int a = tris_[t].v[(i + 1) % 3], b = tris_[t].v[(i + 2) % 3];
    if (Orient(a, b, p) != 0) continue;
    const int64_t along = int64_t{X(p) - X(a)} * (X(b) - X(a)) + int64_t{Y(p) - Y(a)} * (Y(b) - Y(a));
    const int64_t length = int64_t{X(b) - X(a)} * (X(b) - X(a)) + int64_t{Y(b) - Y(a)} * (Y(b) - Y(a));
    if (along > 0 && along < length) {
      edge = i;
      return true;
    }
  }
  return false;
}

void TznGreedyMesh::Rescan(int t) {
  const auto [a, b, c] = tris_[t].v;
  const int xa = X(a), ya = Y(a), xb = X(b), yb = Y(b), xc = X(c), yc = Y(c);
  const double za = heights_[a], zb = heights_[b], zc = heights_[c];
  const double det = double(xb - xa) * (yc - ya) - double(xc - xa) * (yb - ya);
  if (det <= 0) return;
  // The triangle's plane: z = za + sx (x - xa) + sy (y - ya).
  const double sx = ((zb - za) * (yc - ya) - (zc - za) * (yb - ya)) / det;
  const double sy = ((xb - xa) * (zc - za) - (xc - xa) * (zb - za)) / det;
  const int edges[3][2] = {{a, b}, {b, c}, {c, a}};
  int worst = -1;
  double worst_error = max_error_;
  // Only interior points are candidates: the side points are settled.
  const int y_first = std::max({1, std::min({ya, yb, yc})});
  const int y_last = std::min({rows_ - 2, std::max({ya, yb, yc})});
  for (int y = y_first; y <= y_last; ++y) {
    // The closed triangle's span of this row: on the inner side of each edge.
    int64_t x_first = 1, x_last = columns_ - 2;
    for (const auto& e : edges) {
      const int px = X(e[0]), py = Y(e[0]), qx = X(e[1]), qy = Y(e[1]);
      const int64_t k = -(qy - py);
      const int64_t m = int64_t{qx - px} * (y - py) + int64_t{qy - py} * px;
      if (k > 0)
        x_first = std::max(x_first, CeilDiv(-m, k));
      else if (k < 0)
        x_last = std::min(x_last, FloorDiv(m, -k));
      else if (m < 0)
        x_last = x_first - 1;
    }
    const size_t row = static_cast<size_t>(y) * columns_;
    const double base = za + sy * (y - ya);
    for (int64_t x = x_first; x <= x_last; ++x) {
      const size_t point = row + static_cast<size_t>(x);
      if (used_[point]) continue;
      const double error = std::fabs(heights_[point] - (base + sx * (double(x) - xa)));
      if (error > worst_error) worst_error = error, worst = static_cast<int>(point);
    }
  }
  if (worst < 0) return;
  heap_.push_back(Candidate{worst_error, worst, t, stamps_[t]});
  std::push_heap(heap_.begin(), heap_.end(), Lower{});
}

void TznGreedyMesh::Run(const std::vector<int>& side_points) {
  const int sw = 0, se = columns_ - 1, ne = rows_ * columns_ - 1, nw = (rows_ - 1) * columns_;
  used_.assign(static_cast<size_t>(columns_) * rows_, 0);
  tris_.clear();
  stamps_.clear();
  heap_.clear();
  touched_.clear();
  NewTri(sw, se, ne, -1, 1, -1);
  NewTri(ne, nw, sw, -1, 0, -1);
  for (int corner : {sw, se, ne, nw}) used_[corner] = 1;

  std::vector<int> sides = side_points;
  std::sort(sides.begin(), sides.end());
  for (int p : sides) {
    if (used_[p]) continue;
    int edge = 0;
    const int t = FindRimTriangle(p, edge);
    if (t < 0) continue;  // not on a side
    used_[p] = 1;
    SplitEdge(p, t, edge);
  }

  for (int t = 0; t < static_cast<int>(tris_.size()); ++t) Rescan(t);
  touched_.clear();
  while (!heap_.empty()) {
    std::pop_heap(heap_.begin(), heap_.end(), Lower{});
    const Candidate top = heap_.back();
    heap_.pop_back();
    if (top.stamp != stamps_[top.tri]) continue;
    Insert(top.point, top.tri);
    std::sort(touched_.begin(), touched_.end());
    touched_.erase(std::unique(touched_.begin(), touched_.end()), touched_.end());
    for (int t : touched_) Rescan(t);
    touched_.clear();
  }

  triangles_.clear();
  triangles_.reserve(tris_.size());
  for (const Tri& tri : tris_) triangles_.push_back(tri.v);
}
