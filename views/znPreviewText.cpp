#include "views/znPreviewText.h"

#include <cmath>

#include "base/znFormat.h"
#include "base/znRound.h"
#include "base/znVectors.h"
#include "rwx/znRWXChunkCentral.h"
#include "terrain/znTerHelpers.h"

namespace {

const char kDegree[] = "\u00B0";
constexpr int kFirstVisibilityMetres = 20;
constexpr int kVisibilityStep = 10;

// A decametre value without sign and the letter of its side (a negative
// zero is no minus sign either).
std::string WithSide(double value, const char* positive, const char* negative) {
  return FormatFixed(std::fabs(value), 3) + (value >= 0 ? positive : negative);
}

}  // namespace

std::string PreviewCaption(const TznTerra& terra, const TznGLPositionDef& camera) {
  double east = camera.GetX();
  double north = -double(camera.GetZ());
  double height = camera.GetY();
  const double yaw = camera.GetYaw();
  const double pitch = camera.GetPitch();
  const double water = terra.Metres(terra.FWaterLevel);
  if (terra.FRelative) {
    east -= terra.FOrigin.x;
    north -= terra.FOrigin.y;
    height -= terra.FOrigin.z;
  }
  return WithSide(north / 10, "n", "s") + " " + WithSide(east / -10, "w", "e") + " " + FormatFixed(height, 2) + "m (" +
         FormatFixed(height - water, 2) + "m) " + CompassPoint(yaw) + " " + FormatFixed(yaw, 1) + kDegree + ", pitch " +
         FormatFixed(pitch, 1) + kDegree + "  # " + FormatInt(terra.GetDrawnCount()) + "/" +
         FormatInt(terra.GetChunkCount());
}

std::string ObjectsShownText(const TznTerra& terra) {
  if (!IsRWXMode(terra.FRenderMode)) return std::string();
  return FormatInt(terra.GetDrawnCount()) + " of " + FormatInt(terra.RWXChunks().WantedCount()) + " objects shown";
}

bool ObjectsWaiting(const TznTerra& terra) { return IsRWXMode(terra.FRenderMode) && terra.RWXChunks().BuildPending(); }

TznPickedObject PickedObject(const TznGLHit& hit, const TznTerra& terra) {
  TznPickedObject picked;
  if (hit.NameCount == 0) return picked;
  const uint32_t first = hit.Names[0];
  const uint32_t second = hit.NameCount >= 2 ? hit.Names[1] : 0;
  if (first == 1) {
    const int index = static_cast<int>(second) - 1;
    terra.GetChunkLabel(index, picked.Text);
    if (!picked.Text.empty()) picked.ChunkIndex = index;
  } else if (first == 2) {
    picked.Text = "water";
  } else if (first == 3) {
    picked.Text = "GZ mark";
  }
  return picked;
}

std::string PickReport(const TznPickedObject& picked) {
  return picked.Text.empty() ? std::string() : "Object clicked: " + picked.Text;
}

std::string FrameRateText(double last_days, double now_days) {
  const double seconds = (now_days - last_days) * 86400;
  if (!(seconds > 0)) return std::string();
  return FormatFixed(1 / seconds, 2);
}

void TeleportViewer(TznTerra& terra, std::string_view text) {
  int north = 0, west = 0, altitude = 0, heading = 0;
  terra.GetViewerCentimetres(terra.FViewer, north, west, altitude, heading);
  ParseCoordinates(text, north, west, altitude, heading);
  terra.SetViewerFromCentimetres(north, west, altitude, heading, &terra.FViewer);
}

float VisibilityItemMetres(int item) {
  if (item < 0 || item >= kMaximumVisibilityItem) return 0;
  return static_cast<float>(kFirstVisibilityMetres + item * kVisibilityStep);
}

int VisibilityItemOf(float view_distance) {
  if (!(std::fabs(view_distance) < 1e6)) return kMaximumVisibilityItem;
  const int64_t metres = Round(view_distance);
  for (int item = 0; item < kMaximumVisibilityItem; ++item)
    if (metres == kFirstVisibilityMetres + item * kVisibilityStep) return item;
  return kMaximumVisibilityItem;
}
