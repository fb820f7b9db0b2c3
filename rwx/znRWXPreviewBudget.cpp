#include "rwx/znRWXPreviewBudget.h"

#include <algorithm>

namespace {

constexpr uint64_t kMostBytes = uint64_t{2} << 30;
constexpr uint64_t kBytesWhenUnknown = uint64_t{256} << 20;
constexpr int64_t kFrameTriangles = 1'000'000;
constexpr int64_t kBuildTriangles = 40'000;
constexpr double kBuildSeconds = 0.02;

}  // namespace

TznPreviewBudget PreviewBudgetFor(uint64_t physical_bytes) {
  TznPreviewBudget budget;
  const uint64_t bytes = physical_bytes > 0 ? std::min(physical_bytes / 4, kMostBytes) : kBytesWhenUnknown;
  budget.Bytes = static_cast<size_t>(bytes);
  budget.FrameTriangles = kFrameTriangles;
  budget.BuildTriangles = kBuildTriangles;
  budget.BuildSeconds = kBuildSeconds;
  return budget;
}
