#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "scene/znGLMyKey.h"
#include "scene/znGLOffscreenSurface.h"
#include "scene/znGLReality.h"

namespace {

// Keys of a scene that is never bound (no OpenGL is needed), on a clock the
// test moves by hand.
struct KeyRig {
  TznGLOffscreenSurface surface{8, 8};
  TznGLReality reality{surface};
  double days = 1000;
  TznGLMyKey& keys = reality.Keys();
  TznGLPositionDef& camera = reality.Camera();

  KeyRig() {
    keys.SetClock([this] { return days; });
  }
  void Wait(double seconds) { days += seconds / 86400; }
};

double Sin(double degrees) { return std::sin(degrees * std::numbers::pi / 180); }
double Cos(double degrees) { return std::cos(degrees * std::numbers::pi / 180); }

}  // namespace

TEST(Keys, TapMovesOneSmallStep) {
  KeyRig rig;
  rig.keys.KeyDown(vkUp, 0);
  rig.keys.KeyUp(vkUp);
  EXPECT_FLOAT_EQ(rig.camera.GetZ(), -0.01f);
  EXPECT_FLOAT_EQ(rig.camera.GetX(), 0);
  EXPECT_FALSE(rig.keys.IsHeld(TznGLMyKey::mvForward));
  rig.keys.KeyDown(vkUp, ssCtrl);
  rig.keys.KeyUp(vkUp);
  EXPECT_FLOAT_EQ(rig.camera.GetZ(), -0.11f);
}

TEST(Keys, TapAddsToTheFramesDuringThePress) {
  KeyRig rig;
  rig.keys.KeyDown(vkAdd, 0);
  rig.Wait(0.1);
  rig.keys.Process();
  rig.keys.KeyUp(vkAdd);
  EXPECT_NEAR(rig.camera.GetY(), 0.1 + 0.01, 1e-5);
}

TEST(Keys, HoldingUpForTwoSecondsWalksTwoMetresNorth) {
  KeyRig rig;
  rig.keys.KeyDown(vkUp, 0);
  for (int frame = 0; frame < 200; ++frame) {
    rig.Wait(0.01);
    if (frame % 3 == 0) rig.keys.KeyDown(vkUp, 0);  // auto-repeat
    rig.keys.Process();
  }
  EXPECT_GT(rig.keys.RepeatCount(TznGLMyKey::mvForward), 0);
  rig.keys.KeyUp(vkUp);  // repeated: no tap step
  EXPECT_NEAR(rig.camera.GetZ(), -2, 1e-3);
  EXPECT_NEAR(rig.camera.GetX(), 0, 1e-6);
}

TEST(Keys, WalkingFollowsTheYaw) {
  KeyRig rig;
  rig.camera.SetYaw(90);  // facing west
  rig.keys.KeyDown(vkUp, 0);
  rig.Wait(1);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetX(), -1, 1e-5);
  EXPECT_NEAR(rig.camera.GetZ(), 0, 1e-5);
  rig.keys.KeyDown(vkRight, ssShift);  // strafe right faces north
  rig.Wait(1);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetX(), -2, 1e-5);
  EXPECT_NEAR(rig.camera.GetZ(), -1, 1e-5);
}

TEST(Keys, ShiftDuringAHeldLeftTurnsAndStrafesUntilRelease) {
  KeyRig rig;
  rig.keys.KeyDown(vkLeft, 0);
  rig.keys.KeyDown(vkLeft, 0);
  rig.Wait(1);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetYaw(), 5, 1e-4);
  rig.keys.KeyDown(vkLeft, ssShift);
  EXPECT_TRUE(rig.keys.IsHeld(TznGLMyKey::mvTurnLeft));
  EXPECT_TRUE(rig.keys.IsHeld(TznGLMyKey::mvStrafeLeft));
  rig.Wait(1);
  rig.keys.Process();  // turns to 10 degrees first, then strafes 1 m
  EXPECT_NEAR(rig.camera.GetYaw(), 10, 1e-4);
  EXPECT_NEAR(rig.camera.GetX(), -Cos(10), 1e-4);
  EXPECT_NEAR(rig.camera.GetZ(), Sin(10), 1e-4);
  rig.keys.KeyUp(vkLeft);  // the strafe was never repeated: one tap step
  EXPECT_FALSE(rig.keys.IsHeld(TznGLMyKey::mvTurnLeft));
  EXPECT_FALSE(rig.keys.IsHeld(TznGLMyKey::mvStrafeLeft));
  EXPECT_NEAR(rig.camera.GetYaw(), 10, 1e-4);
  EXPECT_NEAR(rig.camera.GetX(), -1.01 * Cos(10), 1e-4);
  rig.Wait(1);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetYaw(), 10, 1e-4);
}

TEST(Keys, CtrlSelectsFastRatesUntilAKeyWithoutCtrl) {
  KeyRig rig;
  rig.keys.KeyDown(vkControl, ssCtrl);
  EXPECT_TRUE(rig.keys.IsFast());
  rig.keys.KeyDown(vkUp, ssCtrl);
  rig.keys.KeyDown(vkPrior, ssCtrl);
  rig.Wait(1);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetZ(), -10, 1e-4);
  EXPECT_NEAR(rig.camera.GetPitch(), 45, 1e-4);
  rig.keys.KeyDown(vkDown, 0);
  EXPECT_FALSE(rig.keys.IsFast());
  rig.Wait(1);
  rig.keys.Process();  // forward and backward cancel at 1 m/s
  EXPECT_NEAR(rig.camera.GetZ(), -10, 1e-4);
  EXPECT_NEAR(rig.camera.GetPitch(), 50, 1e-4);
  rig.keys.KeyDown(vkUp, ssCtrl);
  rig.keys.KeyUp(vkControl);
  EXPECT_FALSE(rig.keys.IsFast());
}

TEST(Keys, FastSpeedIsTheCtrlWalkingRate) {
  KeyRig rig;
  rig.keys.SetFastSpeed(20);
  rig.keys.KeyDown(vkDown, ssCtrl);
  rig.Wait(0.5);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetZ(), 10, 1e-4);
}

TEST(Keys, RefusedMoveIsUndone) {
  KeyRig rig;
  int offers = 0;
  rig.keys.SetOnMove([&](TznGLPositionDef& camera, bool& accept) {
    ++offers;
    accept = camera.GetZ() > -0.5f;
  });
  rig.keys.Process();
  EXPECT_EQ(offers, 0);  // nothing held, nothing offered
  rig.keys.KeyDown(vkUp, 0);
  rig.keys.KeyDown(vkLeft, 0);
  rig.Wait(0.3);
  rig.keys.Process();
  EXPECT_NEAR(rig.camera.GetZ(), -0.3, 1e-3);
  rig.Wait(0.4);
  rig.keys.Process();  // would reach -0.7: refused, turn undone as well
  EXPECT_EQ(offers, 2);
  EXPECT_NEAR(rig.camera.GetZ(), -0.3, 1e-3);
  EXPECT_NEAR(rig.camera.GetYaw(), 1.5, 1e-4);
}

TEST(Keys, PageUpHeldFortySecondsWrapsThePitch) {
  KeyRig rig;
  rig.keys.KeyDown(vkPrior, 0);
  for (int second = 0; second < 40; ++second) {
    rig.Wait(1);
    rig.keys.Process();
  }
  EXPECT_NEAR(rig.camera.GetPitch(), -160, 1e-3);  // 200 degrees up
}

TEST(Keys, CtrlHomeLevelsTheView) {
  KeyRig rig;
  rig.camera.SetXYZ(3, 4, 5);
  rig.camera.SetYaw(40);
  rig.camera.SetPitch(30);
  rig.keys.KeyDown(vkHome, 0);
  EXPECT_EQ(rig.camera.GetPitch(), 30);
  bool offered = false;
  rig.keys.SetOnMove([&](TznGLPositionDef&, bool&) { offered = true; });
  rig.keys.KeyDown(vkHome, ssCtrl);
  EXPECT_TRUE(offered);
  EXPECT_EQ(rig.camera.GetPitch(), 0);
  EXPECT_EQ(rig.camera.GetYaw(), 40);
  EXPECT_EQ(rig.camera.GetX(), 3);
}

TEST(Keys, EscapeReleasesEverythingAndReturnsToNormalRates) {
  KeyRig rig;
  rig.keys.KeyDown(vkUp, ssCtrl);
  rig.keys.KeyDown(vkSubtract, ssCtrl);
  rig.keys.KeyDown(vkNext, ssCtrl);
  rig.keys.KeyDown(vkEscape, ssCtrl);  // Ctrl still held: fast again
  EXPECT_TRUE(rig.keys.IsFast());
  rig.keys.ReleaseAll();
  EXPECT_FALSE(rig.keys.IsFast());
  for (int m = 0; m < TznGLMyKey::kMovementCount; ++m)
    EXPECT_FALSE(rig.keys.IsHeld(static_cast<TznGLMyKey::TMovement>(m)));
  rig.Wait(1);
  rig.keys.Process();
  rig.keys.KeyUp(vkUp);  // released already: no tap
  EXPECT_EQ(rig.camera.GetZ(), 0);
  EXPECT_EQ(rig.camera.GetY(), 0);
}
