#include "draw/znTerraPainter.h"

#include "base/znRound.h"
#include "draw/znRWXChunkCentralDraw.h"
#include "draw/znTerraChunkDraw.h"
#include "rwx/znRWXChunkCentral.h"
#include "terrain/znTerraChunkCentral.h"

TznTerraPainter::TznTerraPainter() { MakeBlockMaterials(FBlockMaterials); }

void TznTerraPainter::Draw(TznTerra& terra, TznGLReality& reality, const TznGLSphere& sphere, double px, double py) {
  if (!IsRWXMode(terra.FRenderMode)) {
    ::Draw(terra.TerraChunks(), reality, Round32(px), Round32(py), sphere, FBlockMaterials);
    return;
  }
  const int32_t east = Round32(px * terra.FScaleX * 100);
  const int32_t north = Round32(py * terra.FScaleY * 100);
  if (terra.FRenderMode == TznRenderMode::RWXPreview) {
    ::Draw(terra.RWXChunks(), reality, east, sphere, north, FPreviewMaterials);
  } else {
    const TznRWXComposer* composer = terra.SwapInWaitingComposer();
    DrawComposed(terra.RWXChunks(), reality, east, composer, sphere, north, FPreviewMaterials);
  }
}
