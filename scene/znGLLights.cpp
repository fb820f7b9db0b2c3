#include "scene/znGLLights.h"

#include <GL/gl.h>

void TznGLLights::CreateLights() {
  FSources.clear();
  for (int i = 0; i < 8; ++i)
    FSources.emplace_back("GL_LIGHT" + std::to_string(i), std::make_unique<TznGLLightSource>(GL_LIGHT0 + i));
  FAmbient = TznGLColorDef();
  FAmbient.SetRGBABytes(50, 50, 50, 1);
  FLocalViewer = true;
  FTwoSide = false;
  Enable();
  for (auto& entry : FSources) entry.second->ReadFromGL();
}

template <typename SourceStep>
void TznGLLights::ApplyWith(SourceStep step) {
  if (!FEnabled) {
    glDisable(GL_LIGHTING);
    return;
  }
  glEnable(GL_LIGHTING);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, FAmbient.Vector());
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, FLocalViewer ? 1 : 0);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, FTwoSide ? 1 : 0);
  for (auto& entry : FSources) step(*entry.second);
}

void TznGLLights::Apply() {
  ApplyWith([](TznGLLightSource& source) { source.Apply(); });
}

void TznGLLights::ApplyEnabled() {
  ApplyWith([](TznGLLightSource& source) { source.ApplyEnabled(); });
}

TznGLLightSource* TznGLLights::GetLight(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return FSources[index].second.get();
}
