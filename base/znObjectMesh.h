// The mesh of one object of the object grid, as the terrain's mesh builders
// make it: what the model writers turn into files and the preview draws.
// It knows no output format.
#pragma once

#include <cstdint>
#include <vector>

#include "base/znVectors.h"

struct TznObjectMesh {
  // Positions (metres east, metres up, minus metres north), absolute
  // terrain metres.
  TznVertex3fArray Vertices;
  // One unit normal per face.
  TznVertex3fArray Normals;
  // One (U, W, V) triple per vertex; a texture repeats every 2 m.
  TznVertex3fArray TexCoords;
  // Triangles as three 0-based vertex indices, counter-clockwise seen from
  // their front.
  TznVertex3wArray Faces;
  // For each face the composer's filter/material pair that claims it, -1
  // while none does; empty until a composer has been applied.
  std::vector<int> FacePairs;
  // The first face of the skirts along the terrain's outer edge; -1 when
  // there is none.
  int32_t SkirtStart = -1;

  size_t FaceCount() const { return Faces.size(); }
  // The faces before the skirts (all of them without skirts).
  size_t SurfaceFaceCount() const { return SkirtStart < 0 ? Faces.size() : static_cast<size_t>(SkirtStart); }
  // Empties the mesh and gives its memory back.
  void Release() { *this = TznObjectMesh(); }
};
