// The surface colours of one face side and its shininess.
#pragma once

#include "base/znGLColorDef.h"

class TznGLMaterial {
 public:
  // Clamped to [0, 128].
  void SetShininess(int value);
  int GetShininess() const { return FShininess; }

  TznGLColorDef& Ambient() { return FAmbient; }
  TznGLColorDef& Diffuse() { return FDiffuse; }
  TznGLColorDef& Specular() { return FSpecular; }
  TznGLColorDef& Emission() { return FEmission; }
  const TznGLColorDef& Ambient() const { return FAmbient; }
  const TznGLColorDef& Diffuse() const { return FDiffuse; }
  const TznGLColorDef& Specular() const { return FSpecular; }
  const TznGLColorDef& Emission() const { return FEmission; }

 private:
  int FShininess = 0;
  TznGLColorDef FAmbient;
  TznGLColorDef FDiffuse;
  TznGLColorDef FSpecular;
  TznGLColorDef FEmission;
};
