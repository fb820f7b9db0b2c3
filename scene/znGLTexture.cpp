#include "scene/znGLTexture.h"

#include <GL/gl.h>

#include "scene/znGLActivation.h"

namespace {

int NextPowerOfTwo(int value) {
  int result = 1;
  while (result < value) result *= 2;
  return result;
}

}  // namespace

TznGLTexture::TznGLTexture() { Fill(0x808080); }

TznGLTexture::~TznGLTexture() {
  if (FName && ActivationCount() > 0 && FContextSerial == ActivationSerial()) glDeleteTextures(1, &FName);
}

int TznGLTexture::GetComponents() const { return FComponents == 1 || FComponents == 3 ? FComponents : 4; }

void TznGLTexture::Apply() {
  if (!FEnabled) {
    if (glIsEnabled(GL_TEXTURE_2D)) glDisable(GL_TEXTURE_2D);
    return;
  }
  if (!glIsEnabled(GL_TEXTURE_2D)) glEnable(GL_TEXTURE_2D);
  ApplyEnvironment();
  if (FImageCache) {
    if (FName && FContextSerial != ActivationSerial()) ForgetTextureObject();
    if (!FName) {
      glGenTextures(1, &FName);
      FContextSerial = ActivationSerial();
    }
    glBindTexture(GL_TEXTURE_2D, FName);
  } else {
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  ApplyParameters();
  if (!FImageCache || !ImageIsCurrent()) SendImage();
}

void TznGLTexture::ApplyEnvironment() {
  switch (FMode) {
    case 0:
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      break;
    case 1:
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
      break;
    case 2:
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
      glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, FEnvColor.Vector());
      break;
    default:
      break;
  }
}

void TznGLTexture::ApplyParameters() {
  if (FWrap <= 1) {
    const GLint wrap = FWrap == 0 ? GL_REPEAT : GL_CLAMP;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  }
  if (FMagFilter <= 1) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, FMagFilter == 0 ? GL_NEAREST : GL_LINEAR);
  static const GLint kMinFilters[6] = {GL_NEAREST,
                                       GL_LINEAR,
                                       GL_NEAREST_MIPMAP_NEAREST,
                                       GL_LINEAR_MIPMAP_NEAREST,
                                       GL_NEAREST_MIPMAP_LINEAR,
                                       GL_LINEAR_MIPMAP_LINEAR};
  if (FMinFilter <= 5) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinFilters[FMinFilter]);
}

bool TznGLTexture::ImageIsCurrent() const {
  return FSentVersion == Version() && FSentMipmaps == (FMinFilter >= 2) && FSentComponents == GetComponents();
}

void TznGLTexture::SendImage() {
  Upload(FMinFilter, GetComponents());
  if (!FImageCache) return;
  // An image the context cannot hold is sent again next time, so that its
  // error is reported on every Apply as without the cache.
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  const bool fits = NextPowerOfTwo(Width()) <= maxSize && NextPowerOfTwo(Height()) <= maxSize;
  FSentVersion = fits ? Version() : Version() - 1;
  FSentMipmaps = FMinFilter >= 2;
  FSentComponents = GetComponents();
}

void TznGLTexture::ForgetTextureObject() {
  // The object belongs to a context that is no longer bound; its name means
  // nothing in the current one.
  FName = 0;
  FSentVersion = Version() - 1;
}
