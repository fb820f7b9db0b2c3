// The background of the scene: the clear colour and mask, and linear fog.
#pragma once

#include <cstdint>

#include "base/znGLColorDef.h"

class TznGLBackground {
 public:
  // Clears colour and depth to grey 128/256; fog off from 20 to 50 m.
  TznGLBackground();

  // Clears the buffers, then enables and sets the fog or disables it.
  void Apply();

  void SetFog(bool value) { FFog = value; }
  void SetFogStart(float value) { FFogStart = value; }
  void SetFogEnd(float value) { FFogEnd = value; }
  void SetClearMask(uint32_t value) { FClearMask = value; }
  bool GetFog() const { return FFog; }
  float GetFogStart() const { return FFogStart; }
  float GetFogEnd() const { return FFogEnd; }
  uint32_t GetClearMask() const { return FClearMask; }
  // FogEnd, or FogStart when the end lies before the start.
  float EffectiveFogEnd() const;

  TznGLColorDef& ClearColor() { return FClearColor; }
  TznGLColorDef& FogColor() { return FFogColor; }

 private:
  uint32_t FClearMask;
  float FFogStart = 20;
  float FFogEnd = 50;
  bool FFog = false;
  TznGLColorDef FClearColor;
  TznGLColorDef FFogColor;
};
