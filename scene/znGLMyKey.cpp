#include "scene/znGLMyKey.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "base/znAngles.h"
#include "scene/znGLReality.h"

namespace {

constexpr double kSecondsPerDay = 86400;

}  // namespace

TznGLMyKey::TznGLMyKey() : FClock(&TznGLMyKey::SteadyNow) { UseRates(false); }

double TznGLMyKey::SteadyNow() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count() / kSecondsPerDay;
}

TznGLPositionDef& TznGLMyKey::Camera() { return FReality->Camera(); }

TznGLMyKey::TKind TznGLMyKey::KindOf(TMovement m) {
  if (m <= mvBackward) return kdWalk;
  if (m <= mvSink) return kdVertical;
  if (m <= mvTurnRight) return kdTurn;
  return kdPitch;
}

float TznGLMyKey::ForKind(const TRates& rates, TKind kind) {
  switch (kind) {
    case kdWalk:
      return rates.walk;
    case kdVertical:
      return rates.vertical;
    case kdTurn:
      return rates.turn;
    default:
      return rates.pitch;
  }
}

void TznGLMyKey::Press(TMovement m) {
  if (FHeld[m]) {
    ++FRepeat[m];
    return;
  }
  FStart[m] = FClock();
  FHeld[m] = true;
}

void TznGLMyKey::Release(TMovement m) {
  FStart[m] = 0;
  FRepeat[m] = 0;
  FHeld[m] = false;
}

void TznGLMyKey::Advance(TMovement m) {
  const double now = FClock();
  const double elapsed = (now - FStart[m]) * kSecondsPerDay;
  FStart[m] = now;
  Move(m, static_cast<float>(ForKind(FRate, KindOf(m)) * elapsed));
}

bool TznGLMyKey::Tap(TMovement m) {
  if (!FHeld[m] || FRepeat[m] != 0) return false;
  Move(m, ForKind(FStep, KindOf(m)));
  return true;
}

void TznGLMyKey::Move(TMovement m, float d) {
  TznGLPositionDef& c = Camera();
  const double yaw = Radians(c.GetYaw());
  const float cosD = static_cast<float>(std::cos(yaw) * d);
  const float sinD = static_cast<float>(std::sin(yaw) * d);
  switch (m) {
    case mvStrafeRight:
      c.SetX(c.GetX() + cosD);
      c.SetZ(c.GetZ() - sinD);
      break;
    case mvStrafeLeft:
      c.SetX(c.GetX() - cosD);
      c.SetZ(c.GetZ() + sinD);
      break;
    case mvForward:
      c.SetX(c.GetX() - sinD);
      c.SetZ(c.GetZ() - cosD);
      break;
    case mvBackward:
      c.SetX(c.GetX() + sinD);
      c.SetZ(c.GetZ() + cosD);
      break;
    case mvRise:
      c.SetY(c.GetY() + d);
      break;
    case mvSink:
      c.SetY(c.GetY() - d);
      break;
    case mvTurnLeft:
      c.SetYaw(c.GetYaw() + d);
      break;
    case mvTurnRight:
      c.SetYaw(c.GetYaw() - d);
      break;
    case mvLookDown:
      c.SetPitch(c.GetPitch() - d);
      break;
    case mvLookUp:
      c.SetPitch(c.GetPitch() + d);
      break;
    default:
      break;
  }
}

void TznGLMyKey::Offer() {
  if (!FOnMove) return;
  bool accept = true;
  FOnMove(Camera(), accept);
  if (!accept) Camera().Assign(FSavedCamera);
}

void TznGLMyKey::UseRates(bool fast) {
  FIsFast = fast;
  FRate = fast ? FFast : FNormal;
  FStep = fast ? FFastStep : FNormalStep;
}

void TznGLMyKey::KeyDown(uint16_t key, TznShiftState shift) {
  const bool shifted = (shift & ssShift) != 0;
  const bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case vkEscape:
      ReleaseAll();
      break;
    case vkPrior:
      Press(mvLookUp);
      break;
    case vkNext:
      Press(mvLookDown);
      break;
    case vkHome:
      if (ctrl) {
        FSavedCamera.Assign(Camera());
        Camera().SetPitch(0);
        Offer();
      }
      break;
    case vkLeft:
      Press(shifted ? mvStrafeLeft : mvTurnLeft);
      break;
    case vkUp:
      Press(mvForward);
      break;
    case vkRight:
      Press(shifted ? mvStrafeRight : mvTurnRight);
      break;
    case vkDown:
      Press(mvBackward);
      break;
    case vkAdd:
      Press(mvRise);
      break;
    case vkSubtract:
      Press(mvSink);
      break;
    default:
      break;
  }
  UseRates(ctrl || key == vkControl);
}

void TznGLMyKey::KeyUp(uint16_t key) {
  FSavedCamera.Assign(Camera());
  bool moved = false;
  auto tapAndRelease = [&](std::initializer_list<TMovement> movements) {
    for (TMovement m : movements) moved = Tap(m) || moved;
    for (TMovement m : movements) Release(m);
  };
  switch (key) {
    case vkPrior:
      tapAndRelease({mvLookUp});
      break;
    case vkNext:
      tapAndRelease({mvLookDown});
      break;
    case vkLeft:
      tapAndRelease({mvTurnLeft, mvStrafeLeft});
      break;
    case vkRight:
      tapAndRelease({mvTurnRight, mvStrafeRight});
      break;
    case vkUp:
      tapAndRelease({mvForward});
      break;
    case vkDown:
      tapAndRelease({mvBackward});
      break;
    case vkAdd:
      tapAndRelease({mvRise});
      break;
    case vkSubtract:
      tapAndRelease({mvSink});
      break;
    default:
      break;
  }
  if (key == vkControl) UseRates(false);
  if (moved) Offer();
}

void TznGLMyKey::Process() {
  FSavedCamera.Assign(Camera());
  static constexpr TMovement kOrder[] = {mvTurnLeft,    mvTurnRight, mvRise,     mvSink,   mvStrafeLeft,
                                         mvStrafeRight, mvForward,   mvBackward, mvLookUp, mvLookDown};
  bool advanced = false;
  for (TMovement m : kOrder) {
    if (!FHeld[m]) continue;
    Advance(m);
    advanced = true;
  }
  if (advanced) Offer();
}

bool TznGLMyKey::AnyHeld() const {
  return std::any_of(FHeld.begin(), FHeld.end(), [](bool held) { return held; });
}

void TznGLMyKey::ReleaseAll() {
  for (TMovement m : {mvRise, mvSink, mvStrafeLeft, mvStrafeRight, mvForward, mvBackward, mvTurnLeft, mvTurnRight,
                      mvLookUp, mvLookDown})
    Release(m);
  UseRates(false);
}
