// Which controls of the Filter tab are enabled beyond the browse/edit
// states: the rule for the vertex choice.
#pragma once

// The vertex choice matters only to the six bound limits; the gradient
// limits look at the whole face.
struct TznFilterBoundSwitches {
  bool High = false, Low = false, West = false, East = false, North = false, South = false;
  bool Any() const { return High || Low || West || East || North || South; }
};
