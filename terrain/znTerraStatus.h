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
