#include "terrain/znTerraStatus.h"

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "terrain/znTerra.h"

TznTerraStatus TerraStatusTexts(const TznTerra& terra) {
  TznTerraStatus s;
  s.upper = {
      ExtractFileName(terra.FFileName),
      "Size: " + FormatInt(terra.FSize),
      "XPts: " + FormatInt(terra.FXPoints),
      "YPts: " + FormatInt(terra.FYPoints),
      "Ht: " + FormatFixed(terra.Metres(terra.GetHighest()), 3) + "m",
  };
  s.lower = {
      "Scale",
      "X: " + FormatGeneral(terra.FScaleX),
      "Y: " + FormatGeneral(terra.FScaleY),
      "Z: " + FormatGeneral(terra.FScaleZ),
      "CRad: " + FormatGeneral(terra.FCurveRadius),
      "CRvm: " + FormatInt(terra.FCurveMode),
      "AltW: " + FormatInt(terra.FHeightScale) + ", " + FormatInt(terra.FBaseHeight),
      "Dp: " + FormatFixed(terra.Metres(terra.GetLowest()), 3) + "m",
  };
  return s;
}
