// Drawing the RWX object grid in the preview: render mode 1 shows every
// object in two fixed colours (the selected one in two others), render
// mode 2 gives each face its material's colour or texture through the
// composer's selection rule. Every drawn object carries the selection name
// of its index + 1. Both draw nothing while the grid is empty or busy.
#pragma once

#include <cstdint>

#include "draw/znRWXPreviewMaterials.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXComposer.h"
#include "scene/znGLReality.h"

// The viewer is given in centimetres east and north.
void Draw(TznRWXChunkCentral& grid, TznGLReality& reality, int32_t east, const TznGLSphere& sphere, int32_t north,
          TznRWXPreviewMaterials& materials);

// Without a composer, or with one without pairs, the same as Draw.
void DrawComposed(TznRWXChunkCentral& grid, TznGLReality& reality, int32_t east, const TznRWXComposer* composer,
                  const TznGLSphere& sphere, int32_t north, TznRWXPreviewMaterials& materials);
