// The five material sets of the RWX preview: the objects' main and edge
// (skirt) faces, the same two for the selected object, and the material set
// anew for each untextured filter/material pair of the textured preview.
#pragma once

#include "scene/znGLMaterials.h"

class TznRWXPreviewMaterials {
 public:
  TznRWXPreviewMaterials();

  TznGLMaterials MainMaterial;
  TznGLMaterials SkirtMaterial;
  TznGLMaterials SelectedMainMaterial;
  TznGLMaterials SelectedSkirtMaterial;
  TznGLMaterials FilterMaterial;
};
