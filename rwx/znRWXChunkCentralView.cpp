// Choosing the objects the preview builds and draws around the viewer.
#include <algorithm>
#include <chrono>
#include <cmath>

#include "base/znRound.h"
#include "rwx/znRWXChunkCentral.h"
#include "terrain/znTerra.h"

namespace {

constexpr int64_t kViewStep = 1000;  // centimetres between the probe points
// What the hash map of the held objects spends on one of them besides it.
constexpr size_t kHeldEntryBytes = 64;

// Whether p + k * kViewStep lies in [lo, hi] for some k in [-range, range].
bool SomeProbeWithin(int64_t p, int64_t lo, int64_t hi, int range) {
  const int64_t first = std::max<int64_t>(CeilDiv(lo - p, kViewStep), -range);
  const int64_t last = std::min<int64_t>(FloorDiv(hi - p, kViewStep), range);
  return first <= last;
}

// The cells of an object side of size cm at cells_per_10m, as the mesh
// builder counts them.
int64_t CellsOf(int32_t size, int32_t cells_per_10m) {
  return std::max<int64_t>(1, Round(double(cells_per_10m) * size / 1000.0));
}

using TClock = std::chrono::steady_clock;

}  // namespace

void TznRWXChunkCentral::CandidateLines(int64_t p, int64_t reach, int32_t start, int32_t size, int count,
                                        std::vector<int>& lines) const {
  lines.clear();
  int64_t first = 0, last = int64_t{count} - 1;
  if (reach >= 0) {
    // A line covers (start + k * size, start + (k + 1) * size] (for
    // columns; rows are shifted by a centimetre, as Contains has it), so
    // only the lines near the reach can hold one.
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

double TznRWXChunkCentral::MostBoxReach() const {
  if (!Terra || Terra->FHeights.empty()) return -1;
  // Half the box across, with the mesh's overlap, and half the terrain's
  // height span (skirts reach down to the lowest point), with some room.
  const double half_x = SizeX / 200.0 + 0.01, half_z = SizeZ / 200.0 + 0.01;
  const double half_y = std::fabs(Terra->Metres(Terra->FHighest) - Terra->Metres(Terra->FLowest)) / 2 + 1;
  return std::sqrt(half_x * half_x + half_z * half_z + half_y * half_y);
}

void TznRWXChunkCentral::ChooseLines(int32_t east, int32_t north, const TVec3& centre, double radius) {
  if (ViewRange > 0) {
    const int64_t reach = int64_t{ViewRange} * kViewStep;
    CandidateLines(east, reach, GridX0, SizeX, Columns, CandidateColumns);
    CandidateLines(north, reach, GridZ0, SizeZ, Rows, CandidateRows);
    return;
  }
  // Every object is a candidate, but only those near the sphere can reach
  // into it: its centre lies at most the sphere's radius and the reach of
  // a box away from the middle of such an object.
  const double box_reach = MostBoxReach();
  const int64_t reach = box_reach < 0 ? -1 : static_cast<int64_t>(std::ceil((radius + box_reach) * 100));
  CandidateLines(Round(double{centre.x} * 100), reach, GridX0, SizeX, Columns, CandidateColumns);
  CandidateLines(Round(-double{centre.z} * 100), reach, GridZ0, SizeZ, Rows, CandidateRows);
}

size_t TznRWXChunkCentral::EstimatedBytes() const {
  // The builder's arrays for a full grid with skirts on all four sides.
  const int64_t nx = CellsOf(SizeX, CellsPer10mX), nz = CellsOf(SizeZ, CellsPer10mZ);
  const int64_t vertices = (nx + 1) * (nz + 1) + 4 * (nx + nz + 2);
  const int64_t faces = EstimatedTriangles();
  return sizeof(TznRWXChunk) + kHeldEntryBytes + static_cast<size_t>(vertices) * 2 * sizeof(TVec3) +
         static_cast<size_t>(faces) * (sizeof(TznFace3w) + sizeof(TVec3) + sizeof(int)) +
         TznPreviewArrays::BytesFor(static_cast<size_t>(faces));
}

int64_t TznRWXChunkCentral::EstimatedTriangles() const {
  const int64_t nx = CellsOf(SizeX, CellsPer10mX), nz = CellsOf(SizeZ, CellsPer10mZ);
  return 2 * nx * nz + 4 * (nx + nz);
}

size_t TznRWXChunkCentral::HeldBytes() const {
  size_t bytes = 0;
  for (const auto& [index, object] : Held) bytes += object->Bytes() + kHeldEntryBytes;
  return bytes;
}

int64_t TznRWXChunkCentral::DistanceSquared(int index, int32_t east, int32_t north) const {
  const TznObjectCentre centre = CentreOf(index);
  const int64_t de = centre.East - east, dn = centre.North - north;
  return de * de + dn * dn;
}

bool TznRWXChunkCentral::IsCandidate(int index, int32_t east, int32_t north) const {
  if (ViewRange == 0) return true;
  // Contains tests east and north apart on a square lattice of probes: an
  // object is a candidate when its column meets some lattice column and
  // its row some lattice row.
  const TPlace place = PlaceOf(index);
  return SomeProbeWithin(east, int64_t{place.X0} + 1, int64_t{place.X0} + SizeX, ViewRange) &&
         SomeProbeWithin(north, place.Z0, int64_t{place.Z0} + SizeZ - 1, ViewRange);
}

void TznRWXChunkCentral::NearestWanted(int32_t east, int32_t north, const TVec3& centre, double radius) {
  WantedOrder.clear();
  for (int row : CandidateRows)
    for (int column : CandidateColumns) {
      const int index = row * Columns + column;
      if (!IsCandidate(index, east, north) || !ReachesInto(index, centre, radius)) continue;
      WantedOrder.emplace_back(DistanceSquared(index, east, north), index);
    }
  std::sort(WantedOrder.begin(), WantedOrder.end());
}

size_t TznRWXChunkCentral::EvictFarthest() {
  while (!EvictOrder.empty()) {
    const int index = EvictOrder.back().second;
    EvictOrder.pop_back();
    const TznRWXChunk* held = HeldObject(index);
    if (!held || held->Visible) continue;
    const size_t bytes = held->Bytes() + kHeldEntryBytes;
    Held.erase(index);
    return bytes;
  }
  return 0;
}

int TznRWXChunkCentral::ChooseObjects(int32_t east, int32_t north, const TVec3& centre, double radius_squared,
                                      const TznPreviewLayout& layout) {
  const double view_radius = std::sqrt(std::max(radius_squared, 0.0));
  ShownIndices.clear();
  Wanted = 0;
  Pending = false;
  if (Count() == 0) return 0;
  ChooseLines(east, north, centre, view_radius);
  EvictOrder.clear();
  for (auto held = Held.begin(); held != Held.end();) {
    held->second->Visible = false;
    if (!IsCandidate(held->first, east, north)) {
      held = Held.erase(held);
      continue;
    }
    EvictOrder.emplace_back(DistanceSquared(held->first, east, north), held->first);
    ++held;
  }
  std::sort(EvictOrder.begin(), EvictOrder.end());
  NearestWanted(east, north, centre, view_radius);

  size_t held_bytes = HeldBytes();
  // Room for bytes more, taken from the farthest objects not shown.
  const auto make_room = [&](size_t bytes) {
    while (held_bytes + bytes > Budget.Bytes) {
      const size_t freed = EvictFarthest();
      if (freed == 0) return false;
      held_bytes -= std::min(freed, held_bytes);
    }
    return true;
  };
  make_room(0);

  const TClock::time_point deadline =
      TClock::now() + std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(Budget.BuildSeconds));
  int64_t work = 0, shown_triangles = 0;  // triangles built or laid out
  size_t taken_bytes = 0;
  bool worked = false, full = false;
  // The frame's building is done once it built (or laid out) enough, or
  // took its time after one object at least.
  const auto enough = [&] { return work >= Budget.BuildTriangles || (worked && TClock::now() >= deadline); };
  for (const auto& [distance, index] : WantedOrder) {
    TznRWXChunk* held = HeldObject(index);
    const bool built = held && held->State == TznRWXChunk::kBuilt;
    if (built && held->FaceCount() == 0) continue;  // nothing to show there
    ++Wanted;
    if (full) continue;
    const size_t bytes = built ? held->Bytes() + kHeldEntryBytes : EstimatedBytes();
    const int64_t triangles = built ? static_cast<int64_t>(held->FaceCount()) : EstimatedTriangles();
    if (taken_bytes + bytes > Budget.Bytes || shown_triangles + triangles > Budget.FrameTriangles) {
      full = true;  // the nearest objects take the budget; none farther
      continue;
    }
    taken_bytes += bytes;
    shown_triangles += triangles;
    if (!built || layout.Needed(*held)) {
      if (enough()) {
        Pending = true;
        continue;
      }
      if (!built) {
        if (!make_room(bytes)) {
          full = true;
          continue;
        }
        const size_t before = held ? held->Bytes() + kHeldEntryBytes : 0;
        held = &Object(index);
        held->Build();
        const size_t now_bytes = held->Bytes() + kHeldEntryBytes;
        held_bytes = held_bytes - std::min(before, held_bytes) + now_bytes;
        held->Visible = true;  // gives no room to itself
        if (!make_room(0)) {   // larger than its estimate, and nothing left to give room
          Held.erase(index);
          held_bytes -= std::min(now_bytes, held_bytes);
          full = true;
          continue;
        }
        held->Visible = false;
        worked = true;
        work += static_cast<int64_t>(held->FaceCount());
        if (held->FaceCount() == 0) {
          --Wanted;
          continue;
        }
      }
      if (layout.Needed(*held)) {
        layout.Prepare(*held);
        work += static_cast<int64_t>(held->FaceCount());
      }
      worked = true;
    }
    held->Visible = true;
    ShownIndices.push_back(index);
  }
  std::sort(ShownIndices.begin(), ShownIndices.end());
  return static_cast<int>(ShownIndices.size());
}
