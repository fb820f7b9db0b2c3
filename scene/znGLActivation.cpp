#include "scene/znGLActivation.h"

#include <GL/gl.h>

#include "scene/znGLErrors.h"

namespace {

int vActivationCount = 0;
TznGLSurface* vBoundSurface = nullptr;
TznGLContextHandle vBoundContext = 0;
int vLastPixelFormat = -1;
std::string vGLVersion;
unsigned vActivationSerial = 0;

void ReadBindingFlags(const TznGLSurface& surface) {
  if (surface.PixelFormatId() == vLastPixelFormat) return;
  vLastPixelFormat = surface.PixelFormatId();
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  vGLVersion = version ? version : "";
}

}  // namespace

void ActivateRenderingContext(TznGLSurface& surface, TznGLContextHandle context) {
  if (vActivationCount > 0) {
    if (vBoundSurface != &surface || vBoundContext != context) throw EznGLAssertion("incoherent DC/RC");
    ++vActivationCount;
    return;
  }
  if (!surface.MakeCurrent(context)) throw EznGLError("wglMakeCurrent failed");
  vBoundSurface = &surface;
  vBoundContext = context;
  vActivationCount = 1;
  ++vActivationSerial;
  ReadBindingFlags(surface);
}

void DeactivateRenderingContext() {
  if (vActivationCount <= 0) throw EznGLAssertion("DeactivateRenderingContext : unbalanced activations");
  if (--vActivationCount > 0) return;
  TznGLSurface* surface = vBoundSurface;
  vBoundSurface = nullptr;
  vBoundContext = 0;
  if (!surface->DoneCurrent()) throw EznGLError("wglMakeCurrent failed");
}

void DestroyRenderingContext(TznGLSurface& surface, TznGLContextHandle context) {
  if (vActivationCount > 0 && vBoundContext == context)
    throw EznGLAssertion("DestroyRenderingContext : unbalanced activations");
  if (!surface.DeleteContext(context)) throw EznGLError("wglDeleteContext failed");
}

int ActivationCount() { return vActivationCount; }

unsigned ActivationSerial() { return vActivationSerial; }

const std::string& BoundGLVersion() { return vGLVersion; }
