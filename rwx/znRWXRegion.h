// The part of the object grid that a run writes when it is not the whole
// terrain: the objects whose centres lie inside a rectangle given in metres
// east and north of the terrain's grid point (0, 0), the positions the map
// shows with "Absolute". The rectangle is half-open, [West, East) ×
// [South, North), so that adjacent regions never share an object.
#pragma once

#include <cstdint>

// An object's centre in whole centimetres east and north of grid point
// (0, 0).
struct TznObjectCentre {
  int64_t East = 0, North = 0;
  bool operator==(const TznObjectCentre&) const = default;
};

// The centre of the object whose west and south edges lie at x0 and z0
// (centimetres east and north of grid point (0, 0)) and whose sides are
// size_x and size_z: an odd side puts the half centimetre to the east of
// the centre and to the south.
TznObjectCentre ObjectCentre(int64_t x0, int64_t z0, int32_t size_x, int32_t size_z);

struct TznRWXRegion {
  double West = 0, South = 0, East = 0, North = 0;

  // Finite sides with West below East and South below North.
  bool IsRectangle() const;
  // Whether the centre lies inside [West, East) × [South, North). A bound
  // that is a whole centimetre give or take the rounding of its metres
  // counts as that centimetre, so 1.15 m holds the centre at 115 cm.
  bool Holds(const TznObjectCentre& centre) const { return HoldsEast(centre.East) && HoldsNorth(centre.North); }
  // The two halves of Holds: whether a centre so far east (north) lies
  // between West and East (South and North).
  bool HoldsEast(int64_t east) const;
  bool HoldsNorth(int64_t north) const;
};
