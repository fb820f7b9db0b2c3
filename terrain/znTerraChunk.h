// One block of the terrain block grid of render mode 0: a square of grid
// steps whose triangle mesh is made by the terrain's block builder while the
// viewer is near, and released when the viewer walks away.
#pragma once

#include <cstdint>
#include <functional>

#include "base/znVectors.h"

// The terrain's block builder: (vertices, faces, normals, X0, Y0, NX, NY,
// kind) -> true when a triangle was made.
using TznBlockMeshBuilder = std::function<bool(TznVertex3fArray&, TznVertex3wArray&, TznVertex3fArray&, int32_t,
                                               int32_t, int32_t, int32_t, uint8_t)>;

class TznTerraChunk {
 public:
  enum : uint8_t { kNoMesh = 0, kReleased = 1, kBuilt = 2 };

  TznTerraChunk(int32_t x0, int32_t y0, int32_t nx, int32_t ny, uint8_t kind, TznBlockMeshBuilder on_build);
  TznTerraChunk(const TznTerraChunk&) = delete;
  TznTerraChunk& operator=(const TznTerraChunk&) = delete;

  int FaceCount() const { return static_cast<int>(FFaceList.size()); }
  bool HasFaces() const { return FaceCount() > 0; }
  // X from FX0 + 1 to FX0 + FNX, Y from FY0 to FY0 + FNY - 1: the X range
  // lies one step east of the Y range's pattern.
  bool Contains(int32_t x, int32_t y) const { return FX0 + 1 <= x && x <= FX0 + FNX && FY0 <= y && y <= FY0 + FNY - 1; }
  void Build();
  // 0 or 1 also frees the mesh.
  void SetState(uint8_t value);

  int32_t FX0, FY0, FNX, FNY;
  TznVertex3fArray FVertexList;
  TznVertex3wArray FFaceList;
  TznVertex3fArray FNormalList;
  TznBlockMeshBuilder FOnBuild;
  uint8_t FState = kNoMesh;
  uint8_t FKind;
  bool FVisible = false;
};
