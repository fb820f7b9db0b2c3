#include "scene/znGLLightSource.h"

#include <GL/gl.h>

TznGLLightSource::TznGLLightSource(unsigned lightId) : FLightId(lightId) {}

void TznGLLightSource::ReadFromGL() {
  float v[4] = {0, 0, 0, 0};
  glGetLightfv(FLightId, GL_AMBIENT, v);
  FAmbient.SetVector(v);
  glGetLightfv(FLightId, GL_DIFFUSE, v);
  FDiffuse.SetVector(v);
  glGetLightfv(FLightId, GL_SPECULAR, v);
  FSpecular.SetVector(v);
  glGetLightfv(FLightId, GL_POSITION, v);
  FPosition.SetVector(v);
  float direction[4] = {0, 0, 0, 0};
  glGetLightfv(FLightId, GL_SPOT_DIRECTION, direction);
  FSpotDirection.SetVector(direction);
  glGetLightfv(FLightId, GL_SPOT_CUTOFF, &FSpotCutoff);
  glGetLightfv(FLightId, GL_SPOT_EXPONENT, &FSpotExponent);
  glGetLightfv(FLightId, GL_CONSTANT_ATTENUATION, &FConstantAttenuation);
  glGetLightfv(FLightId, GL_LINEAR_ATTENUATION, &FLinearAttenuation);
  glGetLightfv(FLightId, GL_QUADRATIC_ATTENUATION, &FQuadraticAttenuation);
}

void TznGLLightSource::SendParameters() {
  glLightfv(FLightId, GL_AMBIENT, FAmbient.Vector());
  glLightfv(FLightId, GL_DIFFUSE, FDiffuse.Vector());
  glLightfv(FLightId, GL_SPECULAR, FSpecular.Vector());
  glLightfv(FLightId, GL_SPOT_DIRECTION, FSpotDirection.Vector());
  glLightf(FLightId, GL_SPOT_EXPONENT, FSpotExponent);
  glLightf(FLightId, GL_SPOT_CUTOFF, FSpotCutoff);
  glLightf(FLightId, GL_CONSTANT_ATTENUATION, FConstantAttenuation);
  glLightf(FLightId, GL_LINEAR_ATTENUATION, FLinearAttenuation);
  glLightf(FLightId, GL_QUADRATIC_ATTENUATION, FQuadraticAttenuation);
}

void TznGLLightSource::SendPosition() {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLightfv(FLightId, GL_POSITION, FPosition.Vector());
  glPopMatrix();
}

void TznGLLightSource::Apply() {
  if (!FEnabled) {
    glDisable(FLightId);
    return;
  }
  SendParameters();
  glEnable(FLightId);
  SendPosition();
}

void TznGLLightSource::ApplyEnabled() {
  if (!FEnabled) return;
  SendParameters();
  SendPosition();
}
