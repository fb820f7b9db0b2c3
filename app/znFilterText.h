// The texts of the Filter tab's value boxes. Positions are typed and shown
// in the platform's notation, a number of 10-metre units followed by a
// direction letter ("1.234n", "0.500e"); the filter keeps them in metres,
// positive to the north and to the west. Altitudes and gradients are plain
// decimals.
#pragma once

#include <string>
#include <string_view>

// "%.3f" of |metres| / 10 followed by "n" (0 or more) or "s".
std::string FormatNorthSouth(double metres);
// "%.3f" of |metres| / 10 followed by "w" (0 or more) or "e".
std::string FormatWestEast(double metres);

// Metres of the first north/south token of the text; 0 when it has none,
// whatever else it holds.
float ReadNorthSouth(std::string_view text);
// Metres of the first west/east token of the text; 0 when it has none.
float ReadWestEast(std::string_view text);

// "%.2f": an altitude limit in metres.
std::string FormatAltitude(double metres);
// "%.1f": a gradient limit in degrees.
std::string FormatGradient(double degrees);

// The trimmed text as a decimal number; the stored value when the text is
// not a number or too large for a single value.
float ReadLimit(std::string_view text, float stored);
