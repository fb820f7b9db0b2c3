// The front and back materials. Colour material is off, so these define the
// colour of everything drawn after Apply.
#pragma once

#include "scene/znGLMaterial.h"

// Which side Apply sends.
enum TznGLFace : int {
  glFaceFront = 0,
  glFaceBack = 1,
  glFaceBoth = 2,          // front from Front, back from Back
  glFaceFrontAndBack = 3,  // both sides from Front
};

class TznGLMaterials {
 public:
  void Apply(int face);

  TznGLMaterial& Front() { return FFront; }
  TznGLMaterial& Back() { return FBack; }

 private:
  TznGLMaterial FFront;
  TznGLMaterial FBack;
};
