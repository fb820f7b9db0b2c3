#include "draw/znTerraChunkDraw.h"

#include <GL/gl.h>

#include <algorithm>

void MakeBlockMaterials(TznGLMaterials& materials) {
  TznGLMaterial& front = materials.Front();
  front.Ambient().SetColor(0x808080);
  front.Diffuse().SetColor(0x808080);
  front.Specular().SetColor(0xFFFFFF);
  front.Emission().SetColor(0);
  front.SetShininess(57);
}

void Render(TznTerraChunk& block) {
  const TznVertex3fArray& vertices = block.FVertexList;
  const TznVertex3wArray& faces = block.FFaceList;
  const TznVertex3fArray& normals = block.FNormalList;
  if (!vertices.empty() && !faces.empty() && !normals.empty()) {
    const size_t count = std::min(faces.size(), normals.size());
    const size_t n = vertices.size();
    // GL calls report errors through the error flag, polled between the
    // named steps of the frame: a triangle never stops half-way.
    glBegin(GL_TRIANGLES);
    for (size_t t = 0; t < count; ++t) {
      const TznFace3w& face = faces[t];
      if (face[0] >= n || face[1] >= n || face[2] >= n) continue;
      glNormal3fv(&normals[t].x);
      glVertex3fv(&vertices[face[0]].x);
      glVertex3fv(&vertices[face[1]].x);
      glVertex3fv(&vertices[face[2]].x);
    }
    glEnd();
  }
  block.FVisible = false;
}

void Draw(TznTerraChunkCentral& grid, TznGLReality& /*reality*/, int32_t x, int32_t y, const TznGLSphere& /*sphere*/,
          TznGLMaterials& materials) {
  if (grid.Count() == 0) return;
  grid.ChooseNear(x, y);
  if (glIsEnabled(GL_TEXTURE_2D)) glDisable(GL_TEXTURE_2D);
  materials.Apply(glFaceFront);
  grid.FDrawnCount = 0;
  for (int k = 0; k < grid.Count(); ++k) {
    TznTerraChunk& block = grid.Block(k);
    if (!block.FVisible) continue;
    ++grid.FDrawnCount;
    glLoadName(static_cast<GLuint>(k + 1));
    Render(block);
  }
}
