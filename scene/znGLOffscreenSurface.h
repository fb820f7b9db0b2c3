// An offscreen drawing surface of a fixed size, on Mesa's surfaceless EGL
// platform: no window system and no GPU needed. Tests and headless tools draw
// through it exactly as a window does.
#pragma once

#include "scene/znGLSurface.h"

class TznGLOffscreenSurface : public TznGLSurface {
 public:
  TznGLOffscreenSurface(int width, int height);
  ~TznGLOffscreenSurface() override;
  TznGLOffscreenSurface(const TznGLOffscreenSurface&) = delete;
  TznGLOffscreenSurface& operator=(const TznGLOffscreenSurface&) = delete;

  // One context per surface; its pixel buffer is made together with it.
  TznGLContextHandle CreateContext(unsigned options, int colorBits) override;
  bool MakeCurrent(TznGLContextHandle context) override;
  bool DoneCurrent() override;
  bool DeleteContext(TznGLContextHandle context) override;
  // The pixel buffer has one colour buffer: presenting only finishes drawing.
  void SwapBuffers() override;
  void* GetProcAddress(const char* name) override;
  int PixelFormatId() const override { return FConfigId; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Depth bits of the chosen format (32, or 24 where 32 is not offered).
  int DepthBits() const { return FDepthBits; }

 private:
  int FWidth;
  int FHeight;
  void* FConfig = nullptr;
  void* FPixelBuffer = nullptr;
  int FConfigId = 0;
  int FDepthBits = 0;
};
