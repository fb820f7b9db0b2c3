// A framebuffer object of the kind the preview window draws into: an RGB
// colour texture of 8 bits a channel and a 24-bit depth with 8-bit stencil
// buffer. Drawing offscreen into one gives the window's pixels exactly:
// Mesa rounds blended colours differently on a target with alpha.
#pragma once

#include <GL/gl.h>

class TznGLSurface;

class TznGLFramebuffer {
 public:
  // Creates the framebuffer and binds it for drawing and reading; the
  // surface's context must be current. Throws EznGLError when OpenGL
  // offers no framebuffer objects or the framebuffer is incomplete.
  TznGLFramebuffer(TznGLSurface& surface, int width, int height);
  // Deletes it; the same context must still be current.
  ~TznGLFramebuffer();
  TznGLFramebuffer(const TznGLFramebuffer&) = delete;
  TznGLFramebuffer& operator=(const TznGLFramebuffer&) = delete;

 private:
  void Release();

  struct TFunctions;
  TFunctions* FGL = nullptr;
  GLuint FFramebuffer = 0, FColor = 0, FDepth = 0;
};
