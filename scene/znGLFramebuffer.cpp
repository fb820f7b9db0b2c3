#include "scene/znGLFramebuffer.h"

#include <GL/glext.h>

#include "scene/znGLErrors.h"
#include "scene/znGLSurface.h"

struct TznGLFramebuffer::TFunctions {
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer;
  PFNGLFRAMEBUFFERTEXTURE2DPROC FramebufferTexture2D;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus;

  explicit TFunctions(TznGLSurface& surface) {
    Load(surface, GenFramebuffers, "glGenFramebuffers");
    Load(surface, DeleteFramebuffers, "glDeleteFramebuffers");
    Load(surface, BindFramebuffer, "glBindFramebuffer");
    Load(surface, FramebufferTexture2D, "glFramebufferTexture2D");
    Load(surface, GenRenderbuffers, "glGenRenderbuffers");
    Load(surface, DeleteRenderbuffers, "glDeleteRenderbuffers");
    Load(surface, BindRenderbuffer, "glBindRenderbuffer");
    Load(surface, RenderbufferStorage, "glRenderbufferStorage");
    Load(surface, FramebufferRenderbuffer, "glFramebufferRenderbuffer");
    Load(surface, CheckFramebufferStatus, "glCheckFramebufferStatus");
  }

  template <typename T>
  static void Load(TznGLSurface& surface, T& function, const char* name) {
    function = reinterpret_cast<T>(surface.GetProcAddress(name));
    if (!function) throw EznGLError("No framebuffer objects in this OpenGL");
  }
};

TznGLFramebuffer::TznGLFramebuffer(TznGLSurface& surface, int width, int height) : FGL(new TFunctions(surface)) {
  FGL->GenFramebuffers(1, &FFramebuffer);
  FGL->BindFramebuffer(GL_FRAMEBUFFER, FFramebuffer);
  glGenTextures(1, &FColor);
  glBindTexture(GL_TEXTURE_2D, FColor);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  FGL->FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, FColor, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  FGL->GenRenderbuffers(1, &FDepth);
  FGL->BindRenderbuffer(GL_RENDERBUFFER, FDepth);
  FGL->RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  FGL->FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, FDepth);
  if (FGL->CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    Release();
    throw EznGLError("The framebuffer is incomplete");
  }
}

TznGLFramebuffer::~TznGLFramebuffer() { Release(); }

void TznGLFramebuffer::Release() {
  if (!FGL) return;
  FGL->BindFramebuffer(GL_FRAMEBUFFER, 0);
  FGL->DeleteRenderbuffers(1, &FDepth);
  glDeleteTextures(1, &FColor);
  FGL->DeleteFramebuffers(1, &FFramebuffer);
  delete FGL;
  FGL = nullptr;
}
