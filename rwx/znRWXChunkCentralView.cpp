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

bool TznRWXChunkCentral::IsCandidate(const TznRWXChunk& object, int32_t east, int32_t north) const {
  if (ViewRange == 0) return true;
  // The probe points form a square lattice and Contains tests east and
  // north apart, so some point is inside exactly when some column of the
  // lattice meets the object's east range and some row its north range.
  return SomeProbeWithin(east, object.MinX(), object.MaxX(), ViewRange) &&
         SomeProbeWithin(north, object.MinZ(), object.MaxZ(), ViewRange);
}

int TznRWXChunkCentral::ChooseObjects(int32_t east, int32_t north, const TVec3& centre, double radius_squared) {
  const double view_radius = std::sqrt(std::max(radius_squared, 0.0));
  int visible = 0;
  for (auto& holder : Objects) {
    TznRWXChunk& object = *holder;
    if (!IsCandidate(object, east, north)) {
      if (object.State == TznRWXChunk::kBuilt) object.Release(TznRWXChunk::kReleased);
      object.Visible = false;
      continue;
    }
    if (object.State < TznRWXChunk::kBuilt) object.Build();
    const double dx = object.BoxCentre.x - centre.x, dy = object.BoxCentre.y - centre.y,
                 dz = object.BoxCentre.z - centre.z;
    object.Visible = object.FaceCount() > 0 && view_radius + object.Radius >= std::sqrt(dx * dx + dy * dy + dz * dz);
    visible += object.Visible;
  }
  return visible;
}
