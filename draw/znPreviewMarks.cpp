#include "draw/znPreviewMarks.h"

#include <GL/gl.h>

namespace {

constexpr int kShininess = 57;
constexpr float kPoleWidth = 0.1f;
constexpr float kPoleExtension = 100;  // metres below the lowest and above the highest point
constexpr TColor kRed = 0x0000FF;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kWaterGreen = 0x008000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr float kWaterAlpha = 0.5f;

void SetFrontMaterial(TznGLReality& reality, TColor colour, float alpha) {
  TznGLMaterial& front = reality.Materials().Front();
  front.SetShininess(kShininess);
  front.Specular().SetColorAlpha(kWhite, alpha);
  front.Emission().SetColorAlpha(0, alpha);
  front.Ambient().SetColorAlpha(colour, alpha);
  front.Diffuse().SetColorAlpha(colour, alpha);
  reality.Materials().Apply(glFaceFront);
}

// One box of the pole, its base at height base.
void PaintPoleBox(TznGLReality& reality, const TznTerra& terra, TColor colour, double base, double height) {
  glPushMatrix();
  SetFrontMaterial(reality, colour, 1);
  glTranslatef(terra.FOrigin.x, static_cast<float>(base), -terra.FOrigin.y);
  reality.DrawBox(true, kPoleWidth, static_cast<float>(height), kPoleWidth);
  glPopMatrix();
}

}  // namespace

void PaintOriginMarker(TznGLReality& reality, const TznTerra& terra) {
  const double lowest = terra.Metres(terra.GetLowest());
  const double highest = terra.Metres(terra.GetHighest());
  glLoadName(kPreviewNameMarker);
  PaintPoleBox(reality, terra, kRed, lowest, highest - lowest);
  PaintPoleBox(reality, terra, kYellow, lowest - kPoleExtension, kPoleExtension);
  PaintPoleBox(reality, terra, kYellow, highest, kPoleExtension);
  glLoadName(0);
}

void PaintWaterPlane(TznGLReality& reality, const TznTerra& terra) {
  const double width = double(terra.FXPoints - 1) * terra.FScaleX;
  const double depth = double(terra.FYPoints - 1) * terra.FScaleY;
  glLoadName(kPreviewNameWater);
  glPushMatrix();
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTranslatef(static_cast<float>(width / 2), static_cast<float>(terra.Metres(terra.FWaterLevel)),
               static_cast<float>(-depth / 2));
  SetFrontMaterial(reality, kWaterGreen, kWaterAlpha);
  const auto side = static_cast<float>(width + 1);
  reality.DrawSquare(true, side);
  reality.DrawSquare(false, side);
  glDisable(GL_BLEND);
  glLoadName(0);
  glPopMatrix();
}
