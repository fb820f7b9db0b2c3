// Positions of the 3D scene: a homogeneous vector (X, Y, Z, W) with the view
// angles yaw and pitch, plus its two kinds for light positions and for
// directions. Pure data, no OpenGL here: the terrain keeps its viewer in one.
#pragma once

#include <array>

// A point with view angles. W is kept above 0 (a zero stays 0); yaw is kept
// in [0, 360) and pitch in (-180, 180], in degrees.
class TznGLPositionDef {
 public:
  // (0, 0, 0, 1), yaw and pitch 0.
  TznGLPositionDef();
  TznGLPositionDef(float x, float y, float z);
  TznGLPositionDef(float x, float y, float z, float w);
  virtual ~TznGLPositionDef() = default;
  TznGLPositionDef(const TznGLPositionDef&) = delete;
  TznGLPositionDef& operator=(const TznGLPositionDef&) = delete;

  // W := max(|value|, 1e-50) stored as a 32-bit float, so a zero stores 0.
  virtual void SetW(float value);
  virtual void SetX(float value);
  virtual void SetY(float value);
  virtual void SetZ(float value);
  // Copies through the setters of this object, then yaw and pitch.
  virtual void Assign(const TznGLPositionDef& source);
  virtual void SetVector(const float* v);
  virtual void GetVector(float* v);
  // The three setters, then SetW(1).
  virtual void SetXYZ(float x, float y, float z);
  virtual void SetXYZW(float x, float y, float z, float w);

  float GetX() const { return FVector[0]; }
  float GetY() const { return FVector[1]; }
  float GetZ() const { return FVector[2]; }
  float GetW() const { return FVector[3]; }
  float GetYaw() const { return FYaw; }
  float GetPitch() const { return FPitch; }
  // Address of the four floats X, Y, Z, W.
  const float* Vector() const { return FVector.data(); }

  // Brought into [0, 360) by whole turns.
  void SetYaw(float value);
  // Brought into (-180, 180] by whole turns; looking past straight up wraps.
  void SetPitch(float value);

 protected:
  std::array<float, 4> FVector{0, 0, 0, 0};
  float FYaw = 0;
  float FPitch = 0;
};

// A light position: W is |value| with no lower bound, so a directional light
// (W = 0) stays exactly 0.
class TznGLLightPositionDef : public TznGLPositionDef {
 public:
  TznGLLightPositionDef();
  TznGLLightPositionDef(float x, float y, float z);
  TznGLLightPositionDef(float x, float y, float z, float w);

  void SetW(float value) override;
};

// A direction kept at unit length. W tells whether it is a valid direction:
// 1 after normalising a non-zero vector, 0 for the zero vector.
class TznGLNormalDef : public TznGLPositionDef {
 public:
  // (0, 0, 0, 0), already normalised.
  TznGLNormalDef();
  TznGLNormalDef(float x, float y, float z);
  // W is ignored.
  TznGLNormalDef(float x, float y, float z, float w);

  void SetW(float value) override;
  void SetX(float value) override;
  void SetY(float value) override;
  void SetZ(float value) override;
  void Assign(const TznGLPositionDef& source) override;
  void SetVector(const float* v) override;
  void GetVector(float* v) override;
  void SetXYZ(float x, float y, float z) override;
  void SetXYZW(float x, float y, float z, float w) override;

  bool Normalized() const { return FNormalized; }
  // Divides (X, Y, Z) by its length once; returns W.
  float Normalize();

 private:
  bool FNormalized = true;
};
