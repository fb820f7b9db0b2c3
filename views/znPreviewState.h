// What a frame of the 3D preview shows, taken from the terrain and the
// window's switches: the viewer, the render mode, the terrain and its grids,
// origin, water, light and the switches. The preview draws a frame on its
// timer only when this differs from what its last frame showed (or a key,
// a resize, an exposure or a click asks for one), so an idle preview costs
// next to nothing.
#pragma once

#include <cstdint>

#include "terrain/znTerra.h"

struct TznPreviewState {
  // Floating-point values are kept as their bits: a value that is not a
  // number then equals itself and asks for no endless frames.
  uint32_t ViewerX = 0, ViewerY = 0, ViewerZ = 0, Yaw = 0, Pitch = 0;
  uint32_t OriginX = 0, OriginY = 0, OriginZ = 0;
  uint32_t ScaleX = 0, ScaleY = 0, ScaleZ = 0;
  uint32_t ObjectSize = 0, ViewDistance = 0, LightAzimuth = 0, LightElevation = 0;
  uint64_t Revision = 0;
  int32_t XPoints = 0, YPoints = 0, Vertices = 0, SelectedChunk = -1;
  uint32_t Color = 0;
  int16_t WaterLevel = 0, Highest = 0, Lowest = 0;
  TznRenderMode RenderMode = TznRenderMode::Terragen;
  bool Relative = false;
  // A composer handed over waits for the next textured frame.
  bool ComposerWaiting = false;
  bool Fog = false;
  bool AltitudeCheck = false;

  bool operator==(const TznPreviewState&) const = default;
};

TznPreviewState PreviewStateOf(const TznTerra& terra, bool fog, bool altitude_check);
