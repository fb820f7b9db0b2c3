#include "base/znGLPositionDef.h"

#include <cmath>

namespace {

// Brings an angle into [low, low + 360) (or (low, low + 360] when
// upper_closed) by whole turns. Angles too large for turn-by-turn steps are
// reduced with fmod first; a non-finite angle becomes 0.
float WrapAngle(float value, float low, bool upper_closed) {
  if (!std::isfinite(value)) return 0;
  if (std::fabs(value) > 3600) value = std::fmod(value, 360.0f);
  const float high = low + 360;
  if (upper_closed) {
    while (value > high) value -= 360;
    while (value <= low) value += 360;
    if (value <= low) value = high;
  } else {
    while (value >= high) value -= 360;
    while (value < low) value += 360;
    if (value >= high) value = low;
  }
  return value;
}

}  // namespace

TznGLPositionDef::TznGLPositionDef() { SetW(1); }

TznGLPositionDef::TznGLPositionDef(float x, float y, float z) { SetXYZ(x, y, z); }

TznGLPositionDef::TznGLPositionDef(float x, float y, float z, float w) { SetXYZW(x, y, z, w); }

void TznGLPositionDef::SetW(float value) {
  const long double magnitude = std::fabs(static_cast<long double>(value));
  FVector[3] = static_cast<float>(magnitude > 1e-50L ? magnitude : 1e-50L);
}

void TznGLPositionDef::SetX(float value) { FVector[0] = value; }
void TznGLPositionDef::SetY(float value) { FVector[1] = value; }
void TznGLPositionDef::SetZ(float value) { FVector[2] = value; }

void TznGLPositionDef::Assign(const TznGLPositionDef& source) {
  SetX(source.GetX());
  SetY(source.GetY());
  SetZ(source.GetZ());
  SetW(source.GetW());
  SetYaw(source.GetYaw());
  SetPitch(source.GetPitch());
}

void TznGLPositionDef::SetVector(const float* v) { SetXYZW(v[0], v[1], v[2], v[3]); }

void TznGLPositionDef::GetVector(float* v) {
  for (int i = 0; i < 4; ++i) v[i] = FVector[i];
}

void TznGLPositionDef::SetXYZ(float x, float y, float z) { SetXYZW(x, y, z, 1); }

void TznGLPositionDef::SetXYZW(float x, float y, float z, float w) {
  SetX(x);
  SetY(y);
  SetZ(z);
  SetW(w);
}

void TznGLPositionDef::SetYaw(float value) { FYaw = WrapAngle(value, 0, false); }

void TznGLPositionDef::SetPitch(float value) { FPitch = WrapAngle(value, -180, true); }

// --- light positions

TznGLLightPositionDef::TznGLLightPositionDef() { SetW(1); }

TznGLLightPositionDef::TznGLLightPositionDef(float x, float y, float z) { SetXYZ(x, y, z); }

TznGLLightPositionDef::TznGLLightPositionDef(float x, float y, float z, float w) { SetXYZW(x, y, z, w); }

void TznGLLightPositionDef::SetW(float value) { FVector[3] = std::fabs(value); }

// --- directions

TznGLNormalDef::TznGLNormalDef() {
  FVector = {0, 0, 0, 0};
  FNormalized = true;
}

TznGLNormalDef::TznGLNormalDef(float x, float y, float z) {
  FVector = {0, 0, 0, 0};
  SetXYZ(x, y, z);
}

TznGLNormalDef::TznGLNormalDef(float x, float y, float z, float) : TznGLNormalDef(x, y, z) {}

void TznGLNormalDef::SetW(float) {}

void TznGLNormalDef::SetX(float value) {
  TznGLPositionDef::SetX(value);
  FNormalized = false;
}

void TznGLNormalDef::SetY(float value) {
  TznGLPositionDef::SetY(value);
  FNormalized = false;
}

void TznGLNormalDef::SetZ(float value) {
  TznGLPositionDef::SetZ(value);
  FNormalized = false;
}

void TznGLNormalDef::Assign(const TznGLPositionDef& source) {
  TznGLPositionDef::Assign(source);
  const auto* normal = dynamic_cast<const TznGLNormalDef*>(&source);
  FNormalized = normal != nullptr && normal->Normalized();
  // The setters leave W alone, so a normalised source hands over its W as
  // well: otherwise a valid direction would read as invalid.
  if (FNormalized)
    FVector[3] = normal->GetW();
  else
    Normalize();
}

void TznGLNormalDef::SetVector(const float* v) {
  TznGLPositionDef::SetVector(v);
  FNormalized = false;
  Normalize();
}

void TznGLNormalDef::GetVector(float* v) {
  Normalize();
  TznGLPositionDef::GetVector(v);
}

void TznGLNormalDef::SetXYZ(float x, float y, float z) {
  TznGLPositionDef::SetXYZ(x, y, z);
  FNormalized = false;
  Normalize();
}

void TznGLNormalDef::SetXYZW(float x, float y, float z, float w) {
  TznGLPositionDef::SetXYZW(x, y, z, w);
  FNormalized = false;
  Normalize();
}

float TznGLNormalDef::Normalize() {
  if (!FNormalized) {
    const float length = std::sqrt(FVector[0] * FVector[0] + FVector[1] * FVector[1] + FVector[2] * FVector[2]);
    if (length != 0) {
      for (int i = 0; i < 3; ++i) FVector[i] /= length;
    }
    FVector[3] = length != 0 ? 1.0f : 0.0f;
    FNormalized = true;
  }
  return FVector[3];
}
