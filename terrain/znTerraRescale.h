// Rescaling a terrain to new real-world dimensions: new lengths of its
// edges and new heights, checked against what the terrain can hold, then
// applied to its scales, its heights, its origin, selection and viewer.
// The Scale dialog shows these rules in its edits; the converter applies
// them from its command line.
#pragma once

#include <cstdint>
#include <optional>

#include "base/znError.h"

class TznTerra;

// New dimensions the terrain cannot hold; the message says why and, for
// an edge, how long it can be at most.
class EznScaleRefused : public EznError {
 public:
  using EznError::EznError;
};

// How the heights follow: kept in proportion to the horizontal scales, set
// by the highest and lowest point, or moved so the lowest point lies at the
// given height.
enum class TznAltitudeRule { KeepRatio = 0, EditHighLow = 1, EditLow = 2 };

struct TznScaleOptions {
  bool KeepAspect = true;  // one edge drives, the other follows
  bool DriveY = false;     // the north-south edge drives
  TznAltitudeRule Altitude = TznAltitudeRule::KeepRatio;
  // With KeepRatio, the heights that follow the edges are multiplied by it.
  double Relief = 1;
};

// The dimensions in metres: the east-west and north-south edge, the
// highest and the lowest point.
struct TznScaleMetres {
  double EdgeX = 0, EdgeY = 0, High = 0, Low = 0;
};

// The outcome of a check: the three new scales and the shift of every
// stored height.
struct TznScaleValues {
  float NewScaleX = 1, NewScaleY = 1, NewScaleZ = 1;
  int32_t Shift = 0;
};

// The terrain's dimensions as they stand.
TznScaleMetres ScaleMetresOf(const TznTerra& terra);

// Computes the new scales and shift from the dimensions that the options
// read (both edges; High and Low with EditHighLow, Low with EditLow) and
// sets the ones that follow from them: the following edge, and the heights
// of the highest and lowest point as they will lie. Throws EznScaleRefused
// when the terrain cannot hold the result.
TznScaleValues CheckScaleMetres(const TznTerra& terra, const TznScaleOptions& options, TznScaleMetres& metres);

// Rescales origin, selection and viewer with the scales, sets the new
// scales, shifts the heights and rebuilds the live grid.
void ApplyScaleValues(TznTerra& terra, const TznScaleValues& values);

// The east-west edge set to edge_x metres (kept when none), the north-south
// edge following the aspect, the heights following the edges and then
// multiplied by relief, so that their span (and every height above or below
// 0 m) grows by that factor. Throws EznScaleRefused as the check does.
void RescaleTerrain(TznTerra& terra, std::optional<double> edge_x, double relief);
