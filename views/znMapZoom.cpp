#include "views/znMapZoom.h"

#include <algorithm>
#include <cstdint>

int ClampMapZoom(int zoom) { return std::clamp(zoom, kMinMapZoom, kMaxMapZoom); }

int FittingMapZoom(QSize points, QSize around, QSize available) {
  if (points.width() <= 0 || points.height() <= 0) return kMinMapZoom;
  for (int zoom = kMaxMapZoom; zoom > kMinMapZoom; --zoom) {
    const int64_t width = int64_t{points.width()} * zoom + around.width();
    const int64_t height = int64_t{points.height()} * zoom + around.height();
    if (width <= available.width() && height <= available.height()) return zoom;
  }
  return kMinMapZoom;
}

int MapPointAt(int pixel, int zoom) {
  zoom = ClampMapZoom(zoom);
  // Rounds towards minus infinity, so that the pixels left of the picture
  // belong to no point of it.
  return pixel >= 0 ? pixel / zoom : -((-pixel + zoom - 1) / zoom);
}

int MapPixelOf(int point, int zoom) {
  zoom = ClampMapZoom(zoom);
  const int64_t pixel = int64_t{point} * zoom + zoom / 2;
  return static_cast<int>(std::clamp<int64_t>(pixel, -kMapFarAway, kMapFarAway));
}

bool MapGridLinesShown(double spacing, int zoom) { return spacing * ClampMapZoom(zoom) >= kMinGridLineSpacing; }
