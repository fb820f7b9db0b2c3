// The viewport and the perspective projection. Zero fields mean defaults:
// a 45 degree field of view, a near plane at 1 m and a far plane 100 m
// beyond the near one.
#pragma once

class TznGLViewPort {
 public:
  // Stores the area (a height below 1 as 1), sets the viewport and loads the
  // perspective into the projection matrix, which stays the current matrix.
  void Apply(int left, int top, int width, int height);
  // The perspective call alone, onto the current matrix.
  void ApplyProjection();

  void SetZFar(double value) { FZFar = value; }
  void SetZNear(double value) { FZNear = value; }
  void SetFieldOfView(double value) { FFieldOfView = value; }
  double GetZFar() const { return FZFar; }
  double GetZNear() const { return FZNear; }
  double GetFieldOfView() const { return FFieldOfView; }
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }

  // Width / Height; a height below 1 is first set to 1.
  double Aspect();
  double EffectiveFieldOfView() const;
  double EffectiveZNear() const;
  double EffectiveZFar() const;

 private:
  int FWidth = 0;
  int FHeight = 0;
  int FTop = 0;
  double FZFar = 0;
  double FZNear = 0;
  int FLeft = 0;
  double FFieldOfView = 0;
};
