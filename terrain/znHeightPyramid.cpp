#include "terrain/znHeightPyramid.h"

#include <algorithm>

namespace {

constexpr int32_t kFirstShift = 3;  // 1 << 3 == TznHeightPyramid::kBlock
// A query looks at no more than this many blocks along each axis.
constexpr int64_t kMostBlocksPerAxis = 4;

}  // namespace

void TznHeightPyramid::Build(const std::vector<int16_t>& heights, int32_t x_points, int32_t y_points) {
  FLevels.clear();
  FXPoints = x_points;
  FYPoints = y_points;
  if (x_points <= 0 || y_points <= 0 || heights.size() < static_cast<size_t>(x_points) * y_points) return;
  TLevel first;
  first.Shift = kFirstShift;
  first.Columns = (x_points + kBlock - 1) / kBlock;
  first.Rows = (y_points + kBlock - 1) / kBlock;
  const size_t blocks = static_cast<size_t>(first.Columns) * first.Rows;
  first.Lo.assign(blocks, INT16_MAX);
  first.Hi.assign(blocks, INT16_MIN);
  for (int32_t y = 0; y < y_points; ++y) {
    const int16_t* row = heights.data() + static_cast<size_t>(y) * x_points;
    const size_t block_row = static_cast<size_t>(y >> kFirstShift) * first.Columns;
    for (int32_t x = 0; x < x_points; ++x) {
      const size_t b = block_row + (x >> kFirstShift);
      first.Lo[b] = std::min(first.Lo[b], row[x]);
      first.Hi[b] = std::max(first.Hi[b], row[x]);
    }
  }
  FLevels.push_back(std::move(first));
  while (FLevels.back().Columns > 1 || FLevels.back().Rows > 1) FLevels.push_back(Coarser(FLevels.back()));
}

TznHeightPyramid::TLevel TznHeightPyramid::Coarser(const TLevel& finer) {
  TLevel level;
  level.Shift = finer.Shift + 1;
  level.Columns = (finer.Columns + 1) / 2;
  level.Rows = (finer.Rows + 1) / 2;
  const size_t blocks = static_cast<size_t>(level.Columns) * level.Rows;
  level.Lo.assign(blocks, INT16_MAX);
  level.Hi.assign(blocks, INT16_MIN);
  for (int32_t r = 0; r < finer.Rows; ++r)
    for (int32_t c = 0; c < finer.Columns; ++c) {
      const size_t from = static_cast<size_t>(r) * finer.Columns + c;
      const size_t to = static_cast<size_t>(r / 2) * level.Columns + c / 2;
      level.Lo[to] = std::min(level.Lo[to], finer.Lo[from]);
      level.Hi[to] = std::max(level.Hi[to], finer.Hi[from]);
    }
  return level;
}

bool TznHeightPyramid::Bound(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int16_t& lo, int16_t& hi) const {
  x0 = std::max<int64_t>(x0, 0);
  y0 = std::max<int64_t>(y0, 0);
  x1 = std::min<int64_t>(x1, FXPoints - 1);
  y1 = std::min<int64_t>(y1, FYPoints - 1);
  if (FLevels.empty() || x0 > x1 || y0 > y1) return false;
  // The finest level on which the rectangle meets few blocks.
  size_t k = 0;
  const auto span = [](int64_t a, int64_t b, int32_t shift) { return (b >> shift) - (a >> shift) + 1; };
  while (k + 1 < FLevels.size() &&
         (span(x0, x1, FLevels[k].Shift) > kMostBlocksPerAxis || span(y0, y1, FLevels[k].Shift) > kMostBlocksPerAxis))
    ++k;
  const TLevel& level = FLevels[k];
  lo = INT16_MAX;
  hi = INT16_MIN;
  for (int64_t r = y0 >> level.Shift; r <= (y1 >> level.Shift); ++r)
    for (int64_t c = x0 >> level.Shift; c <= (x1 >> level.Shift); ++c) {
      const size_t b = static_cast<size_t>(r * level.Columns + c);
      lo = std::min(lo, level.Lo[b]);
      hi = std::max(hi, level.Hi[b]);
    }
  return true;
}

size_t TznHeightPyramid::Bytes() const {
  size_t bytes = FLevels.capacity() * sizeof(TLevel);
  for (const TLevel& level : FLevels) bytes += (level.Lo.capacity() + level.Hi.capacity()) * sizeof(int16_t);
  return bytes;
}
