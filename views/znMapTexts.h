// Texts of the map window: the caption for the pixel under the mouse, the
// ruler texts, and the reading of values typed into its edits. All numbers
// use "." whatever the locale.
#pragma once

#include <string>
#include <string_view>

class TznTerra;

// "%.3f%s %.3f%s %.2fm (%.2fm)": the position of picture pixel (x, y) in
// the platform's notation (metres / 10, "n"/"s" and "w"/"e"; east is
// negative), its height, and its height above the water level. Relative to
// the origin when the terrain says so.
std::string MapCaption(const TznTerra& terra, int x, int y);

// "%.2fm": the north-south and east-west extent of the terrain; empty for a
// terrain without points.
std::string VerticalRulerText(const TznTerra& terra);
std::string HorizontalRulerText(const TznTerra& terra);

// A value typed into an edit, kept to two decimals: the trimmed text
// converted, written back with "%.2f" (Text) and read again (Value).
struct TznTypedValue {
  double Value = 0;
  std::string Text;
};

// Throws EznError "'<text>' is not a valid floating point value" when the
// trimmed text is not a number.
TznTypedValue ParseTypedValue(std::string_view text);

// "%.2f" of a value shown in an edit.
std::string EditText(double value);
