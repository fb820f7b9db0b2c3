#include "scene/znGLBackground.h"

#include <GL/gl.h>

TznGLBackground::TznGLBackground() : FClearMask(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT) {
  FClearColor.SetRGBBytes(128, 128, 128);
  FFogColor.SetRGBBytes(128, 128, 128);
}

float TznGLBackground::EffectiveFogEnd() const { return FFogEnd >= FFogStart ? FFogEnd : FFogStart; }

void TznGLBackground::Apply() {
  glClearColor(FClearColor.GetRed(), FClearColor.GetGreen(), FClearColor.GetBlue(), FClearColor.GetAlpha());
  glClear(FClearMask);
  if (FFog) {
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, FFogColor.Vector());
    glFogf(GL_FOG_START, FFogStart);
    glFogf(GL_FOG_END, EffectiveFogEnd());
  } else {
    glDisable(GL_FOG);
  }
}
