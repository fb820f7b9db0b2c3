// The texts of the main window's two status bars, made from the terrain:
// the header values of the loaded file, the scales in force and the
// extremes in metres. The command-line tools print the same texts.
#pragma once

#include <string>
#include <vector>

class TznTerra;

struct TznTerraStatus {
  // Upper bar: file name (no folder), "Size: ", "XPts: ", "YPts: ", "Ht: ...m".
  std::vector<std::string> upper;
  // Lower bar: "Scale", "X: ", "Y: ", "Z: ", "CRad: ", "CRvm: ", "AltW: a, b", "Dp: ...m".
  std::vector<std::string> lower;
};

TznTerraStatus TerraStatusTexts(const TznTerra& terra);

// "29978 m x 31719 m fitted into 1000 m x 1000 m" when the last load fitted
// the terrain; empty when it kept its size.
std::string FitNote(const TznTerra& terra);

// For an information listing, one "Name: value" a line: the size in metres
// as the file gives it, the relief, the height step, the objects each
// object size cuts with the origin at the centre, and whether the 1000 m
// rule changed the terrain.
std::vector<std::string> TerraInfoLines(const TznTerra& terra);
