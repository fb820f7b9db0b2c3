// Position text on arbitrary input. Properties: the outputs are untouched
// when nothing is found; otherwise exactly the values found are written, the
// same whatever the outputs held before.
#include <string_view>

#include "fuzzSupport.h"
#include "terrain/znTerHelpers.h"

namespace {

struct TCoordinates {
  int north, west, altitude, heading;
};

bool Parse(std::string_view text, TCoordinates& c) {
  return ParseCoordinates(text, c.north, c.west, c.altitude, c.heading);
}

// Either both runs left the output at its start value, or both wrote the
// same value.
bool SameOutcome(int a, int start_a, int b, int start_b) {
  const bool kept_a = a == start_a, kept_b = b == start_b;
  return (kept_a && kept_b) || (a == b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TCoordinates start_a{123456789, -123456789, 987654321, -987654321};
  const TCoordinates start_b{-1, 1, -2, 2};
  TCoordinates a = start_a, b = start_b;
  const bool found_a = Parse(text, a);
  const bool found_b = Parse(text, b);
  fuzz::Require(found_a == found_b, "the same text gives the same result");
  if (!found_a) {
    fuzz::Require(a.north == start_a.north && a.west == start_a.west && a.altitude == start_a.altitude &&
                      a.heading == start_a.heading,
                  "outputs are untouched when nothing is found");
    return 0;
  }
  fuzz::Require(a.north != start_a.north || a.west != start_a.west || a.altitude != start_a.altitude ||
                    a.heading != start_a.heading || b.north != start_b.north || b.west != start_b.west ||
                    b.altitude != start_b.altitude || b.heading != start_b.heading,
                "a value found is written");
  fuzz::Require(SameOutcome(a.north, start_a.north, b.north, start_b.north) &&
                    SameOutcome(a.west, start_a.west, b.west, start_b.west) &&
                    SameOutcome(a.altitude, start_a.altitude, b.altitude, start_b.altitude) &&
                    SameOutcome(a.heading, start_a.heading, b.heading, start_b.heading),
                "only the values found are written");
  return 0;
}
