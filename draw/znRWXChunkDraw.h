// Drawing one RWX object's mesh in the preview: its main faces and its skirt in
// the current material, or the faces one filter/material pair claims.
#pragma once

#include "rwx/znRWXChunk.h"
#include "rwx/znRWXFaceFilter.h"
#include "rwx/znRWXMaterial.h"
#include "scene/znGLTexture.h"

// The faces before SkirtStart (all of them without a skirt).
void DrawFaces(const TznRWXChunk& object);
// The faces from SkirtStart on; nothing without a skirt.
void DrawSkirt(const TznRWXChunk& object);

// One step of the selection rule for the pair (0-based): the faces no pair
// claimed yet that the filter applies to (all of them with no filter) are
// given to the pair in the mesh's FacePairs and drawn, with the texture
// coordinates when a texture is given. The done flag tells whether
// every face is now claimed; a done object is no longer visible in this
// frame. With the pair's material m or the basic material b missing
// nothing is drawn.
void DrawFiltered(TznRWXChunk& object, const TznRWXFaceFilter* filter, const TznRWXMaterial* m,
                  const TznGLTexture* texture, const TznRWXMaterial* b, int pair);
