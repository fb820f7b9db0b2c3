// Shared set-up of the view tests: one QApplication on Qt's offscreen
// platform, and small terrains built in memory.
#pragma once

#include <QApplication>

#include "support/qtApp.h"

#include <cstdint>
#include <functional>

#include "terrain/znTerra.h"

namespace test {

// Fills the terrain with nx x ny points, stored height stored(i, j), the
// same horizontal scale both ways and a height scale that makes metres
// equal stored units; origin and selection are reset.
inline void FillTerra(TznTerra& terra, int nx, int ny, float scale, const std::function<int16_t(int, int)>& stored) {
  terra.Clear();
  terra.FXPoints = nx;
  terra.FYPoints = ny;
  terra.FScaleX = terra.FScaleY = scale;
  terra.FScaleZ = 100;
  terra.FHeights.assign(static_cast<size_t>(nx) * ny, 0);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) terra.FHeights[static_cast<size_t>(j) * nx + i] = stored(i, j);
  terra.RecalcExtremes();
  terra.ResetSelection();
  terra.ResetOrigin();
}

}  // namespace test
