#include "terrain/znTerraStatus.h"

#include <cmath>

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

namespace {

std::string SizeText(double x, double y) { return FormatFixed(x, 0) + " m x " + FormatFixed(y, 0) + " m"; }

// Objects of size_cm along an axis of points at scale metres, the grid
// starting at or just short of 0 with an edge through the centre.
int64_t ObjectsAlong(int32_t points, float scale, int64_t size_cm) {
  const int64_t extent = std::llround(double(points) * scale * 100);
  const int64_t centre = std::llround((points - 1) * double{scale} / 2 * 100);
  const int64_t start = centre % size_cm == 0 ? 0 : centre % size_cm - size_cm;
  return (extent - start + size_cm - 1) / size_cm;
}

}  // namespace

std::string FitNote(const TznTerra& terra) {
  if (!terra.FFitted) return "";
  return SizeText(terra.FileWidth(), terra.FileDepth()) + " fitted into " +
         SizeText((terra.FXPoints - 1) * double{terra.FScaleX}, (terra.FYPoints - 1) * double{terra.FScaleY});
}

std::vector<std::string> TerraInfoLines(const TznTerra& terra) {
  const double step = terra.FFileScaleZ / 100.0;
  std::string objects = "Objects:";
  for (int size : TznCuttingOptions::kObjectSizes) {
    const int64_t count = ObjectsAlong(terra.FXPoints, terra.FScaleX, size * 100) *
                          ObjectsAlong(terra.FYPoints, terra.FScaleY, size * 100);
    objects += std::string(size == TznCuttingOptions::kObjectSizes[0] ? " " : ", ") + FormatInt(count) + " of " +
               FormatInt(size) + " m";
  }
  return {
      "True size: " + SizeText(terra.FileWidth(), terra.FileDepth()),
      "Relief: " + FormatFixed((terra.FHighest - terra.FLowest) * step, 2) + " m",
      "Height step: " + FormatGeneral(step) + " m",
      objects,
      "1000 m rule: " + (terra.FFitted ? "applied, " + FitNote(terra) : std::string("not applied")),
  };
}
