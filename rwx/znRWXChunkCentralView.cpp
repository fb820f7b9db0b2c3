// Choosing the objects the preview builds and draws around the viewer.
#include <algorithm>
#include <cmath>

#include "base/znRound.h"
#include "rwx/znRWXChunkCentral.h"

namespace {

constexpr int64_t kViewStep = 1000;  // centimetres between the probe points

// Whether p + k * kViewStep lies in [lo, hi] for some k in [-range, range].
bool SomeProbeWithin(int64_t p, int64_t lo, int64_t hi, int range) {
  const int64_t first = std::max<int64_t>(CeilDiv(lo - p, kViewStep), -range);
  const int64_t last = std::min<int64_t>(FloorDiv(hi - p, kViewStep), range);
  return first <= last;
}

}  // namespace

void TznRWXChunkCentral::CandidateLines(int64_t p, int32_t start, int32_t size, int count,
                                        std::vector<int>& lines) const {
  lines.clear();
  int64_t first = 0, last = int64_t{count} - 1;
  if (ViewRange > 0) {
    // A line covers (start + k * size, start + (k + 1) * size] east (for
    // columns; rows are shifted by a centimetre, as Contains has it), so
    // only the lines near the probes' reach can hold one.
    const int64_t reach = int64_t{ViewRange} * kViewStep;
    first = std::max<int64_t>(first, FloorDiv(p - reach - start, size) - 1);
    last = std::min<int64_t>(last, FloorDiv(p + reach - start, size) + 1);
  }
  for (int64_t k = first; k <= last; ++k) lines.push_back(static_cast<int>(k));
}

bool TznRWXChunkCentral::ReachesInto(int index, const TVec3& centre, double radius) const {
  TVec3 lo, hi;
  if (!BoxOf(index, lo, hi)) return true;
  double apart = 0, box_radius = 0;
  for (int k = 0; k < 3; ++k) {
    const double middle = (double{lo[k]} + hi[k]) / 2, half = (double{hi[k]} - lo[k]) / 2;
    apart += (middle - centre[k]) * (middle - centre[k]);
    box_radius += half * half;
  }
  return radius + std::sqrt(box_radius) >= std::sqrt(apart);
}

int TznRWXChunkCentral::ChooseObjects(int32_t east, int32_t north, const TVec3& centre, double radius_squared) {
  const double view_radius = std::sqrt(std::max(radius_squared, 0.0));
  ShownIndices.clear();
  if (Count() == 0) return 0;
  CandidateLines(east, GridX0, SizeX, Columns, CandidateColumns);
  CandidateLines(north, GridZ0, SizeZ, Rows, CandidateRows);
  // Contains tests east and north apart on a square lattice of probes: an
  // object is a candidate when its column meets some lattice column and
  // its row some lattice row.
  const auto is_candidate = [&](int index) {
    if (ViewRange == 0) return true;
    const TPlace place = PlaceOf(index);
    return SomeProbeWithin(east, int64_t{place.X0} + 1, int64_t{place.X0} + SizeX, ViewRange) &&
           SomeProbeWithin(north, place.Z0, int64_t{place.Z0} + SizeZ - 1, ViewRange);
  };
  for (auto held = Held.begin(); held != Held.end();) {
    held->second->Visible = false;
    held = is_candidate(held->first) ? std::next(held) : Held.erase(held);
  }
  for (int row : CandidateRows)
    for (int column : CandidateColumns) {
      const int index = row * Columns + column;
      if (!is_candidate(index) || !ReachesInto(index, centre, view_radius)) continue;
      TznRWXChunk& object = Object(index);
      if (object.State < TznRWXChunk::kBuilt) object.Build();
      object.Visible = object.FaceCount() > 0;
      if (object.Visible) ShownIndices.push_back(index);
    }
  return static_cast<int>(ShownIndices.size());
}
