// The sun and the walking viewer of the 3D preview.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/znAngles.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace {

constexpr float kViewerHeight = 1.5f;  // metres above the ground

}  // namespace

void TznTerra::SetLightAzimuth(float value) { FLightAzimuth = static_cast<float>(AngleMod360(value)); }

void TznTerra::GetLightDirection(std::array<float, 4>& v) const {
  constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
  const float az = FLightAzimuth * kRadiansPerDegree;
  const float el = FLightElevation * kRadiansPerDegree;
  v = {-10.0f * std::cos(el) * std::sin(az), 10.0f * std::sin(el), -10.0f * std::cos(el) * std::cos(az), 0.0f};
}

void TznTerra::ResetViewer() {
  FViewer.SetXYZ(FOrigin.x, FOrigin.z, -FOrigin.y);
  FViewer.SetYaw(0);
  FViewer.SetPitch(0);
  KeepViewerAboveGround();
}

void TznTerra::KeepViewerAboveGround() {
  TVec3 ground;
  GetHeightAt(ground, FViewer.GetX() / FScaleX, -FViewer.GetZ() / FScaleY);
  FViewer.SetY(std::max(FViewer.GetY(), ground.z + kViewerHeight));
}

void TznTerra::SetViewerFromCentimetres(int north, int west, int altitude, int heading,
                                        TznGLPositionDef* viewer) const {
  if (!viewer) return;
  viewer->SetX(static_cast<float>(FOrigin.x - west / 100.0));
  viewer->SetZ(static_cast<float>(-(north / 100.0) - FOrigin.y));
  viewer->SetY(static_cast<float>(altitude / 100.0 + FOrigin.z));
  viewer->SetYaw(static_cast<float>(heading / 10.0));
}

void TznTerra::GetViewerCentimetres(const TznGLPositionDef& viewer, int& north, int& west, int& altitude,
                                    int& heading) const {
  west = -Round32((double(viewer.GetX()) - FOrigin.x) * 100.0);
  north = Round32((-double(viewer.GetZ()) - FOrigin.y) * 100.0);
  altitude = Round32((double(viewer.GetY()) - FOrigin.z) * 100.0);
  heading = Round32(double(viewer.GetYaw()) * 10.0);
}
