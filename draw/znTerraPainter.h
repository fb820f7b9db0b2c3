// Draws the terrain in the 3D preview by its render mode: the block grid in
// mode 0, the RWX objects in plain colours in mode 1 and with the composer
// in mode 2. It owns the material sets of that drawing.
#pragma once

#include "draw/znRWXPreviewMaterials.h"
#include "scene/znGLMaterials.h"
#include "scene/znGLReality.h"
#include "terrain/znTerra.h"

class TznTerraPainter {
 public:
  TznTerraPainter();

  // px and py are the viewer's position in grid units (east metres /
  // FScaleX, north metres / FScaleY); the sphere is the scene's view sphere.
  // In mode 2 a waiting composer first takes the place of the one in use.
  void Draw(TznTerra& terra, TznGLReality& reality, const TznGLSphere& sphere, double px, double py);

  TznGLMaterials& BlockMaterials() { return FBlockMaterials; }
  TznRWXPreviewMaterials& PreviewMaterials() { return FPreviewMaterials; }

 private:
  TznGLMaterials FBlockMaterials;
  TznRWXPreviewMaterials FPreviewMaterials;
};
