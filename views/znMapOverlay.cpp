#include "views/znMapOverlay.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

#include "base/znRound.h"
#include "terrain/znTerra.h"
#include "views/znMapZoom.h"

namespace {

// Clamped first, a typed position of any size rounds without overflowing.
int Pixel(double value) { return Round32(std::clamp<double>(value, -kMapFarAway, kMapFarAway)); }

// The pixel of a map position along one axis.
int PixelOf(double metres, float scale) { return Pixel(metres / scale); }

// Object boundaries k * size + origin (k != 0) whose pixel Round(position /
// scale) lies within [low, high], in the order of k: west (south) of the
// origin first, going away from it, then east (north).
std::vector<int> BoundaryPixels(double origin, double size, float scale, int low, int high) {
  std::vector<int> pixels;
  if (!(size > 0) || !(scale > 0) || !std::isfinite(origin)) return pixels;
  const double k_low = std::floor(((low - 0.5) * scale - origin) / size);
  const double k_high = std::ceil(((high + 0.5) * scale - origin) / size);
  auto add = [&](double k) {
    const int pixel = PixelOf(k * size + origin, scale);
    if (pixel < low || pixel > high) return;
    if (pixels.empty() || pixels.back() != pixel) pixels.push_back(pixel);
  };
  for (double k = std::min(-1.0, k_high); k >= k_low; --k) add(k);
  for (double k = std::max(1.0, k_low); k <= k_high; ++k) add(k);
  return pixels;
}

// A cross with arms of two grid points.
void DrawCross(QPainter& painter, int x, int y, int zoom) {
  painter.drawLine(MapPixelOf(x - 2, zoom), MapPixelOf(y, zoom), MapPixelOf(x + 2, zoom), MapPixelOf(y, zoom));
  painter.drawLine(MapPixelOf(x, zoom), MapPixelOf(y - 2, zoom), MapPixelOf(x, zoom), MapPixelOf(y + 2, zoom));
}

// A frame through its first and last grid points (right and bottom are
// exclusive).
void DrawFrame(QPainter& painter, const TznMapFrame& frame, int zoom) {
  const int left = MapPixelOf(frame.Left, zoom), top = MapPixelOf(frame.Top, zoom);
  const int right = MapPixelOf(frame.Right - 1, zoom), bottom = MapPixelOf(frame.Bottom - 1, zoom);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(left, top, right - left, bottom - top);
}

}  // namespace

TznOriginOverlay OriginOverlay(const TznTerra& terra) {
  const int width = terra.FXPoints;
  const int height = terra.FYPoints;
  const double size = terra.FObjectSize;
  TznOriginOverlay overlay;
  overlay.X = PixelOf(terra.FOrigin.x, terra.FScaleX);
  overlay.Y = Pixel(height - 1.0 - PixelOf(terra.FOrigin.y, terra.FScaleY));
  overlay.GridColumns = BoundaryPixels(terra.FOrigin.x, size, terra.FScaleX, 0, width + 1);
  // Rows count from the north edge: row = height - 1 - pixel north, and the
  // rows drawn are those within [0, height + 1].
  for (int north : BoundaryPixels(terra.FOrigin.y, size, terra.FScaleY, -2, height - 1))
    overlay.GridRows.push_back(height - 1 - north);
  overlay.ColumnSpacing = size / terra.FScaleX;
  overlay.RowSpacing = size / terra.FScaleY;
  overlay.Frame = {overlay.X - 2, overlay.Y - 2, overlay.X + 3, overlay.Y + 3};
  return overlay;
}

TznSelectionOverlay SelectionOverlay(const TznTerra& terra) {
  const int height = terra.FYPoints;
  TznSelectionOverlay overlay;
  overlay.X = PixelOf(terra.FSelCentre.x, terra.FScaleX);
  overlay.Y = Pixel(height - 1.0 - PixelOf(terra.FSelCentre.y, terra.FScaleY));
  const int side_x = PixelOf(terra.FSideX, terra.FScaleX);
  const int side_y = PixelOf(terra.FSideY, terra.FScaleY);
  const int left = Pixel(overlay.X - side_x / 2.0);
  const int top = Pixel(overlay.Y - side_y / 2.0);
  overlay.Frame = {left, top, left + side_x + 1, top + side_y + 1};
  return overlay;
}

void DrawOriginOverlay(QPainter& painter, const TznOriginOverlay& overlay, int width, int height, int zoom) {
  // Lines run one grid point beyond the picture, as far as it is shown.
  const int right = MapPixelOf(width + 1, zoom), bottom = MapPixelOf(height + 1, zoom);
  const int x = MapPixelOf(overlay.X, zoom), y = MapPixelOf(overlay.Y, zoom);
  const QColor orange(255, 128, 0);
  QPen dashed(QColor(255, 255, 0), 0, Qt::DashLine);
  painter.setPen(dashed);
  if (MapGridLinesShown(overlay.ColumnSpacing, zoom)) {
    for (int column : overlay.GridColumns) {
      const int at = MapPixelOf(column, zoom);
      painter.drawLine(at, 0, at, bottom);
    }
  }
  if (MapGridLinesShown(overlay.RowSpacing, zoom)) {
    for (int row : overlay.GridRows) {
      const int at = MapPixelOf(row, zoom);
      painter.drawLine(0, at, right, at);
    }
  }
  painter.setPen(QPen(orange, 0));
  painter.drawLine(x, 0, x, bottom);
  painter.drawLine(0, y, right, y);
  DrawCross(painter, overlay.X, overlay.Y, zoom);
  DrawFrame(painter, overlay.Frame, zoom);
}

void DrawSelectionOverlay(QPainter& painter, const TznSelectionOverlay& overlay, int zoom) {
  painter.setPen(QPen(QColor(255, 0, 0), 0));
  DrawCross(painter, overlay.X, overlay.Y, zoom);
  DrawFrame(painter, overlay.Frame, zoom);
}
