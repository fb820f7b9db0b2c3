#include "base/znGLColorDef.h"

#include <algorithm>

namespace {

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float ByteChannel(int v) { return Clamp01(static_cast<float>(v) / 256.0f); }

}  // namespace

TznGLColorDef::TznGLColorDef() : FRGBA{0, 0, 0, 1} {}

void TznGLColorDef::SetAlpha(float a) { FRGBA[3] = Clamp01(a); }

void TznGLColorDef::SetRedByte(int value) { FRGBA[0] = ByteChannel(value); }
void TznGLColorDef::SetGreenByte(int value) { FRGBA[1] = ByteChannel(value); }
void TznGLColorDef::SetBlueByte(int value) { FRGBA[2] = ByteChannel(value); }

void TznGLColorDef::SetRGB(float r, float g, float b) { FRGBA = {Clamp01(r), Clamp01(g), Clamp01(b), 1}; }

void TznGLColorDef::SetRGBBytes(int r, int g, int b) { SetRGBABytes(r, g, b, 1); }

void TznGLColorDef::SetRGBABytes(int r, int g, int b, float a) {
  SetRedByte(r);
  SetGreenByte(g);
  SetBlueByte(b);
  SetAlpha(a);
}

void TznGLColorDef::SetColor(TColor color) { SetColorAlpha(color, 1); }

void TznGLColorDef::SetColorAlpha(TColor color, float a) {
  SetRedByte(ColorRed(color));
  SetGreenByte(ColorGreen(color));
  SetBlueByte(ColorBlue(color));
  SetAlpha(a);
}

void TznGLColorDef::Assign(const TznGLColorDef& source) { FRGBA = source.FRGBA; }

void TznGLColorDef::SetVector(const float* v) { std::copy(v, v + 4, FRGBA.begin()); }
