#include "views/znMapShading.h"

#include <algorithm>

#include "base/znError.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace {

const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kWaterBlue = qRgb(0, 0, 255);

}  // namespace

uint8_t MapGrey(float height, float water, float range) {
  const float t = (height - water) / range;
  const float g = 163.0f * t + 92.0f;
  return static_cast<uint8_t>(std::clamp<int64_t>(Round(g), 0, 255));
}

bool ShadeMap(const TznTerra& terra, QImage& picture, const std::function<bool()>& stop_requested) {
  const int width = terra.FXPoints;
  const int height = terra.FYPoints;
  picture = QImage(width, height, QImage::Format_RGB32);
  if (width > 0 && height > 0 && picture.isNull())
    throw EznError("The map of " + std::to_string(width) + " x " + std::to_string(height) +
                   " points is too large to show");
  picture.fill(kYellow);
  const float scale_z = terra.FScaleZ;
  const float high = terra.FHighest * scale_z / 100;
  const float water = terra.FWaterLevel * scale_z / 100;
  const float range = high - water;
  for (int j = 0; j < height; ++j) {
    // North is up: row j of the terrain is picture line height - 1 - j.
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(height - 1 - j));
    for (int i = 0; i < width; ++i) {
      if (stop_requested()) return false;
      const float h = terra.GetHeight(i, j) * scale_z / 100;
      if (h > water) {
        const int g = MapGrey(h, water, range);
        line[i] = qRgb(g, g, g);
      } else {
        line[i] = kWaterBlue;
      }
    }
  }
  return true;
}
