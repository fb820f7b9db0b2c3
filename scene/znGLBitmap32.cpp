#include "scene/znGLBitmap32.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <filesystem>

#include "base/znError.h"
#include "base/znFormat.h"
#include "scene/znBmpReader.h"
#include "scene/znJpegReader.h"

namespace {

constexpr TColor kGrey = 0x808080;

// Draws any picture into a 24-bit bitmap of the given width (the same
// height), stretching columns by nearest pixel.
TznGLRaster DrawInto24(const TznGLRaster& source, int width) {
  TznGLRaster target;
  target.Kind = TznGLRaster::rkBitmap;
  target.Width = width;
  target.Height = source.Height;
  target.BitsPerPixel = 24;
  target.Pixels.resize(size_t(width) * 3 * size_t(source.Height));
  const int sourceBytes = source.BytesPerPixel();
  for (int y = 0; y < source.Height; ++y) {
    const uint8_t* from = source.Pixels.data() + size_t(y) * source.Width * sourceBytes;
    uint8_t* to = target.Pixels.data() + size_t(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(int64_t(x) * source.Width / width);
      std::memcpy(to + size_t(x) * 3, from + size_t(sx) * sourceBytes, 3);
    }
  }
  return target;
}

int NextPowerOfTwo(int value) {
  int result = 1;
  while (result < value) result *= 2;
  return result;
}

}  // namespace

void TznGLBitmap32::SetSize(int width, int height) {
  FWidth = width;
  FHeight = height;
  FDataSize = width * height * 4;
  FData.assign(size_t(FDataSize), 0);
  ++FVersion;
}

void TznGLBitmap32::Assign(const TznGLBitmap32* source) {
  if (!source) {
    SetSize(0, 0);
    FData.clear();
    FData.shrink_to_fit();
    return;
  }
  if (source == this) return;
  FWidth = source->FWidth;
  FHeight = source->FHeight;
  FDataSize = source->FDataSize;
  FData = source->FData;
  ++FVersion;
}

void TznGLBitmap32::Assign(const TznGLRaster& source) {
  const bool direct = source.Kind == TznGLRaster::rkBitmap && source.Width % 4 == 0 &&
                      (source.BitsPerPixel == 24 || source.BitsPerPixel == 32);
  if (direct) {
    AssignBitmap(source);
    return;
  }
  int width = source.Width;
  if (width % 4 != 0) width = ((width & 0xFFFF) & 0xFFF8) | 4;
  AssignBitmap(DrawInto24(source, width));
}

void TznGLBitmap32::AssignBitmap(const TznGLRaster& bitmap) {
  SetSize(bitmap.Width, bitmap.Height);
  const int bytes = bitmap.BytesPerPixel();
  const bool hasAlpha = bitmap.BitsPerPixel == 32;
  for (int r = 0; r < FHeight; ++r) {
    const uint8_t* from = bitmap.Pixels.data() + size_t(r) * FWidth * bytes;
    uint8_t* to = FData.data() + size_t(FHeight - 1 - r) * FWidth * 4;
    for (int x = 0; x < FWidth; ++x, from += bytes, to += 4) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
      to[3] = hasAlpha ? from[3] : 0;
    }
  }
}

bool TznGLBitmap32::LoadFromFile(const std::string& fileName) {
  try {
    if (!fileName.empty() && std::filesystem::is_regular_file(fileName)) {
      const std::string extension = LowerCase(std::filesystem::path(fileName).extension().string());
      if (extension == ".bmp") {
        Assign(ReadBmpFile(fileName));
        return true;
      }
      if (extension == ".jpg" || extension == ".jpeg") {
        Assign(ReadJpegFile(fileName));
        return true;
      }
    }
  } catch (const std::exception&) {
    // Any failure gives the grey picture below.
  }
  Fill(kGrey);
  return false;
}

void TznGLBitmap32::Fill(TColor color) {
  TznGLRaster square;
  square.Kind = TznGLRaster::rkBitmap;
  square.Width = 128;
  square.Height = 128;
  square.BitsPerPixel = 32;
  square.Pixels.resize(128 * 128 * 4);
  for (size_t i = 0; i < square.Pixels.size(); i += 4) {
    square.Pixels[i] = static_cast<uint8_t>(ColorBlue(color));
    square.Pixels[i + 1] = static_cast<uint8_t>(ColorGreen(color));
    square.Pixels[i + 2] = static_cast<uint8_t>(ColorRed(color));
    square.Pixels[i + 3] = 0;
  }
  Assign(square);
}

void TznGLBitmap32::Upload(uint8_t minFilter, int components) const {
  if (FDataSize == 0) return;
  const int width2 = NextPowerOfTwo(FWidth);
  const int height2 = NextPowerOfTwo(FHeight);
  std::vector<uint8_t> scaled;
  const uint8_t* pixels = FData.data();
  if (width2 != FWidth || height2 != FHeight) {
    scaled.resize(size_t(width2) * height2 * 4);
    gluScaleImage(GL_RGBA, FWidth, FHeight, GL_UNSIGNED_BYTE, FData.data(), width2, height2, GL_UNSIGNED_BYTE,
                  scaled.data());
    pixels = scaled.data();
  }
  if (minFilter < 2)
    glTexImage2D(GL_TEXTURE_2D, 0, components, width2, height2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  else
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, width2, height2, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}
