#include "scene/znGLOffscreenSurface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <string>

#include "scene/znGLErrors.h"

namespace {

// The one display of the process, opened on first use and kept: closing it
// would end every context made on it.
EGLDisplay SurfacelessDisplay() {
  static EGLDisplay display = [] {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) return EGL_NO_DISPLAY;
    return d;
  }();
  if (display == EGL_NO_DISPLAY) throw EznGLError("No OpenGL display: surfaceless EGL is not available");
  return display;
}

EGLConfig ChooseConfig(EGLDisplay display, int colorBits, int depthBits) {
  const EGLint channel = colorBits >= 24 ? 8 : 5;
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                               EGL_RED_SIZE,     channel,         EGL_GREEN_SIZE,      channel,
                               EGL_BLUE_SIZE,    channel,         EGL_ALPHA_SIZE,      colorBits >= 32 ? 8 : 0,
                               EGL_DEPTH_SIZE,   depthBits,       EGL_STENCIL_SIZE,    0,
                               EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1) return nullptr;
  return config;
}

}  // namespace

TznGLOffscreenSurface::TznGLOffscreenSurface(int width, int height)
    : FWidth(width < 1 ? 1 : width), FHeight(height < 1 ? 1 : height) {}

TznGLOffscreenSurface::~TznGLOffscreenSurface() {
  if (FPixelBuffer) eglDestroySurface(SurfacelessDisplay(), FPixelBuffer);
}

TznGLContextHandle TznGLOffscreenSurface::CreateContext(unsigned, int colorBits) {
  EGLDisplay display = SurfacelessDisplay();
  if (!eglBindAPI(EGL_OPENGL_API)) throw EznGLError("No desktop OpenGL on this display");
  FDepthBits = 32;
  EGLConfig config = ChooseConfig(display, colorBits, 32);
  if (!config) {
    FDepthBits = 24;
    config = ChooseConfig(display, colorBits, 24);
  }
  if (!config) throw EznGLError("No matching pixel format");
  eglGetConfigAttrib(display, config, EGL_CONFIG_ID, &FConfigId);
  EGLint depth = 0;
  if (eglGetConfigAttrib(display, config, EGL_DEPTH_SIZE, &depth)) FDepthBits = depth;
  if (!FPixelBuffer) {
    const EGLint size[] = {EGL_WIDTH, FWidth, EGL_HEIGHT, FHeight, EGL_NONE};
    FPixelBuffer = eglCreatePbufferSurface(display, config, size);
    if (FPixelBuffer == EGL_NO_SURFACE) {
      FPixelBuffer = nullptr;
      throw EznGLError("Pixel format could not be set");
    }
  }
  FConfig = config;
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT) throw EznGLError("Rendering context could not be created");
  return reinterpret_cast<TznGLContextHandle>(context);
}

bool TznGLOffscreenSurface::MakeCurrent(TznGLContextHandle context) {
  return eglMakeCurrent(SurfacelessDisplay(), FPixelBuffer, FPixelBuffer, reinterpret_cast<EGLContext>(context)) ==
         EGL_TRUE;
}

bool TznGLOffscreenSurface::DoneCurrent() {
  return eglMakeCurrent(SurfacelessDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT) == EGL_TRUE;
}

bool TznGLOffscreenSurface::DeleteContext(TznGLContextHandle context) {
  return eglDestroyContext(SurfacelessDisplay(), reinterpret_cast<EGLContext>(context)) == EGL_TRUE;
}

void TznGLOffscreenSurface::SwapBuffers() {
  if (FPixelBuffer) eglSwapBuffers(SurfacelessDisplay(), FPixelBuffer);
}

void* TznGLOffscreenSurface::GetProcAddress(const char* name) {
  return reinterpret_cast<void*>(eglGetProcAddress(name));
}
