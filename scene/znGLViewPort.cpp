#include "scene/znGLViewPort.h"

#include <GL/gl.h>
#include <GL/glu.h>

void TznGLViewPort::Apply(int left, int top, int width, int height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height < 1 ? 1 : height;
  glViewport(FLeft, FTop, FWidth, FHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  ApplyProjection();
}

void TznGLViewPort::ApplyProjection() {
  gluPerspective(EffectiveFieldOfView(), Aspect(), EffectiveZNear(), EffectiveZFar());
}

double TznGLViewPort::Aspect() {
  if (FHeight < 1) FHeight = 1;
  return static_cast<double>(FWidth) / FHeight;
}

double TznGLViewPort::EffectiveFieldOfView() const { return FFieldOfView >= 1 ? FFieldOfView : 45; }

double TznGLViewPort::EffectiveZNear() const { return FZNear > 0 ? FZNear : 1; }

double TznGLViewPort::EffectiveZFar() const {
  const double zNear = EffectiveZNear();
  return zNear >= FZFar ? zNear + 100 : FZFar;
}
