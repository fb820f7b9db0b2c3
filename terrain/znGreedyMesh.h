// Adaptive triangulation of a height grid by greedy insertion (Garland and
// Heckbert, "Fast Polygonal Approximation of Terrains and Height Fields",
// 1995): the points kept on the grid's four sides are fixed first, then the
// interior point of largest vertical error is inserted into a Delaunay
// triangulation, again and again, until every grid point lies within the
// error. Every triangle keeps its worst point as a candidate in a priority
// queue, so an insertion only rescans the triangles it changed. Points are
// addressed by column and row; no new positions are made.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The indices of a polyline's heights to keep, first and last included, so
// that every height lies within max_error (vertically) of the straight
// segments between the kept ones. Douglas-Peucker: the same heights always
// give the same indices.
std::vector<int> SimplifyPolyline(const std::vector<float>& heights, double max_error);

class TznGreedyMesh {
 public:
  // A triangle as three point numbers (row × columns + column), counter-
  // clockwise with columns growing east and rows north.
  using Triangle = std::array<int, 3>;

  // heights: columns × rows values, row by row; at least 2 × 2 points.
  // max_error in the heights' unit, above 0.
  TznGreedyMesh(const float* heights, int columns, int rows, double max_error);

  // Triangulates the rectangle with exactly the given side points (their
  // point numbers on the four sides, the corners among them; corners are
  // added when missing), then inserts interior points until every grid
  // point lies within the error of the triangle above or below it.
  void Run(const std::vector<int>& side_points);

  const std::vector<Triangle>& Triangles() const { return triangles_; }
  // Whether the point is a vertex of the triangulation.
  bool Used(int point) const { return used_[point] != 0; }

 private:
  struct Tri {
    std::array<int, 3> v;  // point numbers, counter-clockwise
    std::array<int, 3> n;  // neighbour across the edge opposite v[i], -1 on the rim
  };
  struct Candidate {
    double error;
    int point;
    int tri;
    uint32_t stamp;
  };
  struct Lower {
    bool operator()(const Candidate& a, const Candidate& b) const {
      return a.error < b.error || (a.error == b.error && a.point > b.point);
    }
  };

  int X(int point) const { return point % columns_; }
  int Y(int point) const { return point / columns_; }
  int64_t Orient(int a, int b, int c) const;
  bool InCircle(int a, int b, int c, int d) const;

  int NewTri(int a, int b, int c, int na, int nb, int nc);
  void SetTri(int t, int a, int b, int c, int na, int nb, int nc);
  void Repoint(int t, int from, int to);
  void Insert(int point, int t);
  void SplitInside(int point, int t);
  void SplitEdge(int point, int t, int edge);
  void Legalize(int t, int point);
  int FindRimTriangle(int point, int& edge) const;
  bool RimEdgeHolds(int t, int point, int& edge) const;
  void Rescan(int t);

  const float* heights_;
  int columns_, rows_;
  double max_error_;
  std::vector<uint8_t> used_;
  std::vector<Tri> tris_;
  std::vector<uint32_t> stamps_;
  std::vector<int> touched_;  // triangles changed since their last scan
  std::vector<int> pending_;  // triangles whose edge opposite the new point is to check
  std::vector<Candidate> heap_;
  std::vector<Triangle> triangles_;
};
