// Drawing the block grid of render mode 0.
#pragma once

#include <cstdint>

#include "scene/znGLMaterials.h"
#include "scene/znGLReality.h"
#include "terrain/znTerraChunkCentral.h"

// The grid's material set: grey front faces with a white shine.
void MakeBlockMaterials(TznGLMaterials& materials);

// Draws one block's triangles with their face normals, then clears its
// visible flag.
void Render(TznTerraChunk& block);

// One frame around grid point (x, y): builds the blocks near it, releases
// the others, and draws the near blocks that have triangles, each under the
// selection name of its index + 1. The sphere is not used.
void Draw(TznTerraChunkCentral& grid, TznGLReality& reality, int32_t x, int32_t y, const TznGLSphere& sphere,
          TznGLMaterials& materials);
