#include "terrain/znTerraChunk.h"

#include <utility>

TznTerraChunk::TznTerraChunk(int32_t x0, int32_t y0, int32_t nx, int32_t ny, uint8_t kind, TznBlockMeshBuilder on_build)
    : FX0(x0), FY0(y0), FNX(nx), FNY(ny), FOnBuild(std::move(on_build)), FKind(kind) {}

void TznTerraChunk::Build() {
  if (FOnBuild) FOnBuild(FVertexList, FFaceList, FNormalList, FX0, FY0, FNX, FNY, FKind);
  FState = kBuilt;
}

void TznTerraChunk::SetState(uint8_t value) {
  FState = value;
  if (value == kNoMesh || value == kReleased) {
    TznVertex3fArray().swap(FVertexList);
    TznVertex3wArray().swap(FFaceList);
    TznVertex3fArray().swap(FNormalList);
  }
}
