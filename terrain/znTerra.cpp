#include "terrain/znTerra.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/znFormat.h"
#include "base/znRound.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "terrain/znTerraChunkCentral.h"

TznTerra::TznTerra() {
  FTerraChunks = std::make_unique<TznTerraChunkCentral>(
      [this](TznVertex3fArray& v, TznVertex3wArray& f, TznVertex3fArray& n, int32_t x0, int32_t y0, int32_t nx,
             int32_t ny, uint8_t kind) { return BuildBlockMesh(v, f, n, x0, y0, nx, ny, kind); });
  FRWXChunks = std::make_unique<TznRWXChunkCentral>(
      [this](TznObjectMesh& mesh, int32_t x0, int32_t z0, int32_t sx, int32_t sz, int32_t cx, int32_t cz,
             uint8_t edges) { return BuildObjectMesh(mesh, x0, z0, sx, sz, cx, cz, edges); },
      this);
  FObjectSize = 10.0f;
  FVertices = 11;
  Clear();
}

TznTerra::~TznTerra() { Clear(); }

void TznTerra::Clear() {
  ++FRevision;
  std::vector<int16_t>().swap(FHeights);
  FSize = 0;
  FXPoints = FYPoints = 0;
  FScaleX = FScaleY = FScaleZ = 1.0f;
  FFileScaleX = FFileScaleY = FFileScaleZ = 1.0f;
  FCurveRadius = 0;
  FCurveMode = 0;
  FHeightScale = FBaseHeight = 0;
  FFileName.clear();
  FSourceFiles.clear();
  FHighest = FLowest = 0;
  FWaterLevel = -1000;
  FFitted = false;
  FRelative = true;
  FViewer.SetXYZ(0, 0, 0);
  FViewer.SetYaw(0);
  FViewer.SetPitch(0);
}

void TznTerra::RecalcExtremes() {
  if (FHeights.empty()) {
    FHighest = FLowest = 0;
    return;
  }
  auto [low, high] = std::minmax_element(FHeights.begin(), FHeights.end());
  FHighest = *high;
  FLowest = *low;
}

void TznTerra::ShiftHeights(int delta) {
  ++FRevision;
  for (int16_t& h : FHeights) {
    int shifted =
        std::clamp(h + delta, int{std::numeric_limits<int16_t>::min()}, int{std::numeric_limits<int16_t>::max()});
    h = static_cast<int16_t>(shifted);
  }
}

void TznTerra::GetGridPoint(int x, int y, TVec3& v) const {
  v.x = x * FScaleX;
  v.y = y * FScaleY;
  v.z = (x >= 0 && y >= 0 && x < FXPoints && y < FYPoints) ? static_cast<float>(Metres(GetHeight(x, y))) : 0.0f;
}

namespace {

// The two grid lines around a fractional position: the interval to the left
// of an exact grid line, shifted inside the grid at its edges.
bool Bracket(float position, int32_t points, int& i0, int& i1) {
  const int64_t nearest = Round(position);
  int64_t low = nearest < position ? nearest : nearest - 1;
  int64_t high = low + 1;
  if (low < 0) ++low, ++high;
  if (high >= points) --low, --high;
  if (low < 0 || high >= points) return false;
  i0 = static_cast<int>(low);
  i1 = static_cast<int>(high);
  return true;
}

}  // namespace

void TznTerra::GetHeightAt(TVec3& v, float px, float py) const {
  v.x = px * FScaleX;
  v.y = py * FScaleY;
  v.z = static_cast<float>(Metres(FLowest));
  if (px < 0 || py < 0 || px >= FXPoints || py >= FYPoints) return;
  // The object grid reaches one step beyond the last point: that strip
  // continues level at the edge's height rather than extending its slope.
  px = std::min(px, static_cast<float>(FXPoints - 1));
  py = std::min(py, static_cast<float>(FYPoints - 1));
  int x0, x1, y0, y1;
  if (!Bracket(px, FXPoints, x0, x1) || !Bracket(py, FYPoints, y0, y1)) return;
  const double north_west = GetHeight(x0, y1), north_east = GetHeight(x1, y1);
  const double south_west = GetHeight(x0, y0), south_east = GetHeight(x1, y0);
  // The bracket is always one step wide: the fractions need no division.
  const double fx = px - x0, gx = x1 - px;
  const double fy = py - y0, gy = y1 - py;
  // Stored heights lie far inside the integers, so rounding cannot fail;
  // adding 0 turns a rounded -0 into the +0 an integer would give.
  auto round = [](double value) { return zn_detail::RoundHalfEven(value) + 0.0; };
  // The height on each side of the cell at the position's column or row,
  // weighed by the nearness of that side.
  const double north = round(north_west + fx * (north_east - north_west));
  const double south = round(south_west + fx * (south_east - south_west));
  const double west = round(south_west + fy * (north_west - south_west));
  const double east = round(south_east + fy * (north_east - south_east));
  const double stored = (north * fy + south * gy + west * gx + east * fx) / (fx + gx + fy + gy);
  v.z = static_cast<float>(stored * FScaleZ / 100.0);
}

void TznTerra::ResetSelection() {
  const float width = (FXPoints - 1) * FScaleX;
  const float depth = (FYPoints - 1) * FScaleY;
  FSelCentre = TVec3{width / 2, depth / 2, 0};
  FSideX = width;
  FSideY = depth;
}

TznRWXRegion TznTerra::SelectionRegion() const {
  const double half_x = FSideX / 2.0, half_y = FSideY / 2.0;
  return {FSelCentre.x - half_x, FSelCentre.y - half_y, FSelCentre.x + half_x, FSelCentre.y + half_y};
}

void TznTerra::ResetOrigin() {
  const float width = (FXPoints - 1) * FScaleX;
  const float depth = (FYPoints - 1) * FScaleY;
  FOrigin = TVec3{width / 2, depth / 2, 0};
}

void TznTerra::SetObjectSize(float value) { FObjectSize = std::max(value, 0.1f); }

void TznTerra::SetVertices(int value) { FVertices = std::max(2, value); }

void TznTerra::SetMaxError(double metres) {
  // Not a number keeps the error as it is.
  if (metres == metres)
    FMaxError = std::clamp(metres, TznCuttingOptions::kMinMaxError, TznCuttingOptions::kMaxMaxError);
}

double TznTerra::MostRWXObjects(const TVec3& origin, float scale_x, float scale_y, float object_size) const {
  const double size = zn_detail::RoundHalfEven(double{object_size} * 100);
  // Along an axis of E cm the grid starts at G: G = o + size, brought back
  // to (-size, 0] when it lies east of 0 (GetGridStart), but left where it
  // is when the origin o lies further west. Its last object starts short of
  // E, so it holds at most ceil((E - G) / size) + 1 objects; for a G east of
  // -size that is at most ceil(E / size) + 2, which is taken whatever G is.
  const auto along = [size](int32_t points, float scale, float origin_metres) {
    const double extent = zn_detail::RoundHalfEven(double(points) * scale * 100);
    const double start = zn_detail::RoundHalfEven(origin_metres * 100.0) + size;
    return std::max(std::ceil(extent / size) + 2, std::ceil((extent - start) / size) + 1);
  };
  const double most = along(FXPoints, scale_x, origin.x) * along(FYPoints, scale_y, origin.y);
  return size > 0 && std::isfinite(most) ? most : std::numeric_limits<double>::infinity();
}

std::string RWXObjectLimitText(double objects, float object_size) {
  std::string count = "infinitely many";
  if (std::isfinite(objects))
    count = objects < 1e15 ? FormatInt(static_cast<int64_t>(objects)) : FormatGeneral(objects);
  return "The terrain would be cut into up to " + count + " objects of " + FormatGeneral(object_size) +
         " m; the object grid holds no more than " + FormatInt(TznTerra::kMaxRWXObjects) + ".";
}

TznCentimetres TznTerra::GetGridStart() const {
  const int64_t size = Round(FObjectSize * 100.0);
  auto start = [size](float origin_metres) {
    int64_t x = Round(origin_metres * 100.0) + size;
    // Jump most of the way at once, then finish step by step.
    if (x > 0) x -= (x / size) * size;
    while (x > 0) x -= size;
    return static_cast<int32_t>(x);
  };
  return TznCentimetres{start(FOrigin.x), start(FOrigin.y), 0};
}
