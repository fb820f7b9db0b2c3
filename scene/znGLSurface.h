// A drawing surface that OpenGL can be bound to: a window or an offscreen
// buffer. The scene object talks to the platform only through this.
#pragma once

#include <cstdint>

// Flags of TznGLSurface::CreateContext, bit 0 to 2.
enum TznGLOption : unsigned {
  glDoubleBuffer = 1,
  glGDISupport = 2,
  glStereo = 4,
};

// An opaque rendering-context handle; 0 is "no context".
using TznGLContextHandle = uintptr_t;

class TznGLSurface {
 public:
  virtual ~TznGLSurface() = default;

  // Creates a context for RGBA pixels with colorBits colour bits, a 32-bit
  // depth buffer (24 where the driver offers no 32), no stencil, accumulation
  // or auxiliary buffers. Throws EznGLError when OpenGL or a matching
  // format is missing.
  virtual TznGLContextHandle CreateContext(unsigned options, int colorBits) = 0;
  // Binds the context to this surface on the calling thread; false on failure.
  virtual bool MakeCurrent(TznGLContextHandle context) = 0;
  // Unbinds whatever context is current; false on failure.
  virtual bool DoneCurrent() = 0;
  // Deletes a context made by CreateContext; false on failure.
  virtual bool DeleteContext(TznGLContextHandle context) = 0;
  // Presents the back buffer (a no-op for single-buffered surfaces).
  virtual void SwapBuffers() = 0;
  // Entry point of an optional extension function; nullptr when unknown.
  virtual void* GetProcAddress(const char* name) = 0;
  // Identifies the pixel format in use, so that the binding layer can tell
  // when it changes.
  virtual int PixelFormatId() const = 0;
};
