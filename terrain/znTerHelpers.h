// The parsing of positions typed in the world's n/s, e/w notation.
#pragma once

#include <string_view>

// Reads a position such as "1.5N 2.25E 3a 90": north and west in
// centimetres (south and east negative), altitude in centimetres and the
// heading in tenths of degrees. Only the values found are written; returns
// true when at least one was found.
bool ParseCoordinates(std::string_view text, int& north, int& west, int& altitude, int& heading);
