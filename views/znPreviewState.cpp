#include "views/znPreviewState.h"

#include <bit>

#include "rwx/znRWXChunkCentral.h"

namespace {

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

}  // namespace

TznPreviewState PreviewStateOf(const TznTerra& terra, bool fog, bool altitude_check) {
  TznPreviewState s;
  const TznGLPositionDef& viewer = terra.FViewer;
  s.ViewerX = Bits(viewer.GetX());
  s.ViewerY = Bits(viewer.GetY());
  s.ViewerZ = Bits(viewer.GetZ());
  s.Yaw = Bits(viewer.GetYaw());
  s.Pitch = Bits(viewer.GetPitch());
  s.OriginX = Bits(terra.FOrigin.x);
  s.OriginY = Bits(terra.FOrigin.y);
  s.OriginZ = Bits(terra.FOrigin.z);
  s.ScaleX = Bits(terra.FScaleX);
  s.ScaleY = Bits(terra.FScaleY);
  s.ScaleZ = Bits(terra.FScaleZ);
  s.ObjectSize = Bits(terra.FObjectSize);
  s.ViewDistance = Bits(terra.GetViewDistance());
  s.LightAzimuth = Bits(terra.GetLightAzimuth());
  s.LightElevation = Bits(terra.GetLightElevation());
  s.Revision = terra.Revision();
  s.XPoints = terra.FXPoints;
  s.YPoints = terra.FYPoints;
  s.Vertices = terra.FVertices;
  s.SelectedChunk = terra.RWXChunks().SelectedIndex;
  s.Color = terra.FColor;
  s.WaterLevel = terra.FWaterLevel;
  s.Highest = terra.GetHighest();
  s.Lowest = terra.GetLowest();
  s.RenderMode = terra.FRenderMode;
  s.Relative = terra.FRelative;
  s.ComposerWaiting = terra.FRenderMode == TznRenderMode::RWXTexture && terra.FNewComposer != nullptr;
  s.Fog = fog;
  s.AltitudeCheck = altitude_check;
  return s;
}
