// An RGBA colour of the 3D scene: four floats in 0..1, laid out so that the
// four can be handed to OpenGL as they are. Pure data, no OpenGL here.
#pragma once

#include <array>

#include "base/znVectors.h"

class TznGLColorDef {
 public:
  // (0, 0, 0) with alpha 1.
  TznGLColorDef();

  float GetRed() const { return FRGBA[0]; }
  float GetGreen() const { return FRGBA[1]; }
  float GetBlue() const { return FRGBA[2]; }
  float GetAlpha() const { return FRGBA[3]; }
  // Address of the four floats red, green, blue, alpha.
  const float* Vector() const { return FRGBA.data(); }

  // Clamped to [0, 1].
  void SetAlpha(float a);
  // Channel := value / 256 clamped to [0, 1] (128 gives 0.5, 255 0.99609375).
  void SetRedByte(int value);
  void SetGreenByte(int value);
  void SetBlueByte(int value);
  // Each channel clamped to [0, 1]; alpha 1.
  void SetRGB(float r, float g, float b);
  void SetRGBBytes(int r, int g, int b);
  void SetRGBABytes(int r, int g, int b, float a);
  // The packed colour's bytes / 256; alpha 1 (or a clamped to [0, 1]).
  void SetColor(TColor color);
  void SetColorAlpha(TColor color, float a);
  // Copies the four channels; SetVector copies without clamping.
  void Assign(const TznGLColorDef& source);
  void SetVector(const float* v);

 private:
  std::array<float, 4> FRGBA;
};
