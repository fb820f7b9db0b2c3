// The lowest and highest stored heights of square blocks of the height
// field, in levels of blocks 8, 16, 32, ... points wide, up to one block
// that covers the whole field. The heights under any rectangle of points
// are then bounded by looking at a handful of blocks, without reading the
// points themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TznHeightPyramid {
 public:
  // Points per side of a block of the finest level.
  static constexpr int32_t kBlock = 8;

  // Takes the bounds of the heights (row by row, x_points to a row); the
  // heights themselves are not kept.
  void Build(const std::vector<int16_t>& heights, int32_t x_points, int32_t y_points);
  void Clear() { FLevels.clear(); }

  // Bounds the stored heights of the points (x, y) with x0 <= x <= x1 and
  // y0 <= y <= y1, clipped to the field: lo is at or below the lowest of
  // them, hi at or above the highest, both reached by some point of the
  // blocks that meet the rectangle. False when no point lies inside.
  bool Bound(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int16_t& lo, int16_t& hi) const;

  // Memory held for the bounds.
  size_t Bytes() const;

 private:
  struct TLevel {
    int32_t Shift = 0;  // a point's block is (x >> Shift, y >> Shift)
    int32_t Columns = 0, Rows = 0;
    std::vector<int16_t> Lo, Hi;
  };
  std::vector<TLevel> FLevels;
  int32_t FXPoints = 0, FYPoints = 0;

  // The level whose blocks are the next coarser ones after finer's.
  static TLevel Coarser(const TLevel& finer);
};
