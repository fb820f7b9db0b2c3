// A picture as 32-bit RGBA pixels in OpenGL row order (row 0 is the bottom
// row), ready to be sent as a texture image without conversion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/znVectors.h"
#include "scene/znGLRaster.h"

class TznGLBitmap32 {
 public:
  TznGLBitmap32() = default;
  virtual ~TznGLBitmap32() = default;
  TznGLBitmap32(const TznGLBitmap32&) = delete;
  TznGLBitmap32& operator=(const TznGLBitmap32&) = delete;

  // nullptr empties the bitmap; another bitmap is copied.
  void Assign(const TznGLBitmap32* source);
  // A decoded picture: a 24/32-bit bitmap whose width is a multiple of 4 is
  // taken as it is; any other picture goes through a 24-bit drawing, its
  // width stretched to (width AND $FFF8) OR 4 when not a multiple of 4.
  void Assign(const TznGLRaster& source);
  // ".bmp" and ".jpg"/".jpeg" pictures (any case). A missing, unreadable or
  // other picture gives the grey 128 x 128 picture and false.
  bool LoadFromFile(const std::string& fileName);
  // A 128 x 128 picture of one colour.
  void Fill(TColor color);
  // Sends the pixels as the current 2D texture image, scaled up to powers of
  // two; a mipmap filter (2 or more) builds every level.
  void Upload(uint8_t minFilter, int components) const;

  const uint8_t* Data() const { return FData.data(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int DataSize() const { return FDataSize; }
  // Counts up with every change of the pixels.
  unsigned Version() const { return FVersion; }

 private:
  void AssignBitmap(const TznGLRaster& bitmap);
  void SetSize(int width, int height);

  std::vector<uint8_t> FData;
  int FWidth = 0;
  int FHeight = 0;
  int FDataSize = 0;
  unsigned FVersion = 0;
};
