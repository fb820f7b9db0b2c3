// A texture: a picture with its OpenGL texture parameters. Apply enables
// texturing, sets the environment, wrap and filters, and makes the picture
// the current 2D texture image.
//
// By default the image is kept in a texture object of the bound context and
// sent again only when the picture, the filter kind or the component count
// changed; SetImageCache(false) sends it on every Apply instead. Both draw
// the same pixels and report the same errors: an image larger than the
// context allows is sent again on every Apply either way.
#pragma once

#include <cstdint>

#include "base/znGLColorDef.h"
#include "scene/znGLPicture.h"

class TznGLTexture : public TznGLPicture {
 public:
  // Modulate, repeat, nearest filters, 4 components, enabled, grey picture.
  TznGLTexture();
  ~TznGLTexture() override;

  void Apply();

  // 0 modulate, 1 decal, 2 blend; other values send no environment.
  void SetMode(uint8_t value) { FMode = value; }
  // 0 repeat, 1 clamp.
  void SetWrap(uint8_t value) { FWrap = value; }
  // 0 nearest, 1 linear.
  void SetMagFilter(uint8_t value) { FMagFilter = value; }
  // 0 nearest, 1 linear, 2..5 the four mipmap filters.
  void SetMinFilter(uint8_t value) { FMinFilter = value; }
  // 1 or 3, anything else 4.
  void SetComponents(int value) { FComponents = value; }
  void SetEnabled(bool value) { FEnabled = value; }
  void SetImageCache(bool value) { FImageCache = value; }

  uint8_t GetMode() const { return FMode; }
  uint8_t GetWrap() const { return FWrap; }
  uint8_t GetMagFilter() const { return FMagFilter; }
  uint8_t GetMinFilter() const { return FMinFilter; }
  int GetComponents() const;
  bool GetEnabled() const { return FEnabled; }
  bool GetImageCache() const { return FImageCache; }
  TznGLColorDef& EnvColor() { return FEnvColor; }

 private:
  void ApplyEnvironment();
  void ApplyParameters();
  void SendImage();
  bool ImageIsCurrent() const;
  void ForgetTextureObject();

  uint8_t FMode = 0;
  uint8_t FWrap = 0;
  uint8_t FMagFilter = 0;
  uint8_t FMinFilter = 0;
  int FComponents = 4;
  bool FEnabled = true;
  TznGLColorDef FEnvColor;
  bool FImageCache = true;
  // The texture object and what it holds.
  unsigned FName = 0;
  unsigned FContextSerial = 0;
  unsigned FSentVersion = 0;
  bool FSentMipmaps = false;
  int FSentComponents = 0;
};
