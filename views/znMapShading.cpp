#include "views/znMapShading.h"

#include <algorithm>
#include <vector>

#include "base/znError.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace {

const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kWaterBlue = qRgb(0, 0, 255);

}  // namespace

uint8_t MapGrey(float height, float water, float range) {
  const float share = (height - water) / range;
  const float grey = 163.0f * share + 92.0f;
  return static_cast<uint8_t>(std::clamp<int64_t>(Round(grey), 0, 255));
}

namespace {

// The colour of every stored height between the extremes, worked out once:
// the same float arithmetic per height as pixel by pixel, so the picture is
// the same, at a table look-up per pixel.
class TColorTable {
 public:
  TColorTable(const TznTerra& terra)
      : FLowest(terra.GetLowest()), FScaleZ(terra.FScaleZ), FWater(terra.FWaterLevel * FScaleZ / 100) {
    const float high = terra.FHighest * FScaleZ / 100;
    FRange = high - FWater;
    const int highest = std::max<int>(terra.GetHighest(), FLowest);
    FColors.resize(static_cast<size_t>(highest - FLowest + 1));
    for (size_t k = 0; k < FColors.size(); ++k) FColors[k] = Compute(static_cast<int16_t>(FLowest + int(k)));
  }
  QRgb operator()(int16_t stored) const {
    const size_t entry = static_cast<size_t>(stored - FLowest);
    return entry < FColors.size() ? FColors[entry] : Compute(stored);
  }

 private:
  QRgb Compute(int16_t stored) const {
    const float metres = stored * FScaleZ / 100;
    if (!(metres > FWater)) return kWaterBlue;
    const int grey = MapGrey(metres, FWater, FRange);
    return qRgb(grey, grey, grey);
  }

  int FLowest;
  float FScaleZ, FWater, FRange = 0;
  std::vector<QRgb> FColors;
};

// What a stopped computation leaves: the pixels not reached stay yellow.
void FillRest(QImage& picture, int row, int column) {
  const int height = picture.height(), width = picture.width();
  for (int j = row; j < height; ++j) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(height - 1 - j));
    std::fill(line + (j == row ? column : 0), line + width, kYellow);
  }
}

}  // namespace

bool ShadeMap(const TznTerra& terra, QImage& picture, const std::function<bool()>& stop_requested) {
  const int width = terra.FXPoints;
  const int height = terra.FYPoints;
  picture = QImage(width, height, QImage::Format_RGB32);
  if (width > 0 && height > 0 && picture.isNull())
    throw EznError("The map of " + std::to_string(width) + " x " + std::to_string(height) +
                   " points is too large to show");
  const TColorTable color(terra);
  for (int j = 0; j < height; ++j) {
    // North is up: row j of the terrain is picture line height - 1 - j.
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(height - 1 - j));
    const int16_t* heights = terra.FHeights.data() + static_cast<size_t>(j) * width;
    for (int i = 0; i < width; ++i) {
      if (stop_requested()) {
        FillRest(picture, j, i);
        return false;
      }
      line[i] = color(heights[i]);
    }
  }
  return true;
}
