// Turns held keys into camera movement. Key-down and key-up events come in
// from the window; the scene calls Process once per frame, which moves the
// camera by the time since the previous frame. A key released before its
// first auto-repeat moves by one small fixed step instead. Ctrl selects fast
// rates and steps. After each movement OnMove may refuse the new position,
// which is then undone.
#pragma once

#include <array>
#include <functional>

#include "base/znGLPositionDef.h"
#include "scene/znGLInput.h"

class TznGLReality;

class TznGLMyKey {
 public:
  // The ten movements, in the order of their state.
  enum TMovement : int {
    mvStrafeRight,
    mvStrafeLeft,
    mvForward,
    mvBackward,
    mvRise,
    mvSink,
    mvTurnLeft,
    mvTurnRight,
    mvLookDown,
    mvLookUp,
    kMovementCount
  };
  // The current time as a date-time in days.
  using TClock = std::function<double()>;
  using TMoveEvent = std::function<void(TznGLPositionDef& camera, bool& accept)>;

  TznGLMyKey();

  void KeyDown(uint16_t key, TznShiftState shift);
  void KeyUp(uint16_t key);
  // Advances every held movement; called by the scene once per frame.
  void Process();
  // Releases every movement and returns to the normal rates.
  void ReleaseAll();
  // The fast walking speed in m/s.
  void SetFastSpeed(float value) { FFast.walk = value; }

  void SetReality(TznGLReality* reality) { FReality = reality; }
  void SetOnMove(TMoveEvent handler) { FOnMove = std::move(handler); }
  // Replaces the clock (tests drive time through it).
  void SetClock(TClock clock) { FClock = std::move(clock); }
  // A steady clock in days.
  static double SteadyNow();

  bool IsHeld(TMovement m) const { return FHeld[m]; }
  // True while any movement is held: every frame moves the camera.
  bool AnyHeld() const;
  int RepeatCount(TMovement m) const { return FRepeat[m]; }
  bool IsFast() const { return FIsFast; }

 private:
  // Speeds per kind: m/s for walking and vertical, degrees/s for turn and
  // pitch; or steps in metres and degrees.
  struct TRates {
    float walk, vertical, turn, pitch;
  };
  enum TKind { kdWalk, kdVertical, kdTurn, kdPitch };

  TznGLPositionDef& Camera();
  static TKind KindOf(TMovement m);
  static float ForKind(const TRates& rates, TKind kind);
  void Press(TMovement m);
  void Release(TMovement m);
  void Advance(TMovement m);
  bool Tap(TMovement m);
  void Move(TMovement m, float d);
  void Offer();
  void UseRates(bool fast);

  std::array<bool, kMovementCount> FHeld{};
  std::array<int, kMovementCount> FRepeat{};
  std::array<double, kMovementCount> FStart{};
  TznGLReality* FReality = nullptr;
  TznGLPositionDef FSavedCamera;
  TRates FRate{};
  TRates FNormal{1, 1, 5, 5};
  TRates FFast{10, 10, 45, 45};
  TRates FStep{};
  TRates FNormalStep{0.01f, 0.01f, 0.1f, 0.1f};
  TRates FFastStep{0.1f, 0.1f, 1, 1};
  bool FIsFast = false;
  TMoveEvent FOnMove;
  TClock FClock;
};
