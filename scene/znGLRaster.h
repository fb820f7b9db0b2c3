// A decoded picture as the file readers hand it over: rows from the top,
// blue-green-red (and a fourth byte in 32-bit pixels), no row padding.
#pragma once

#include <cstdint>
#include <vector>

struct TznGLRaster {
  // A Windows bitmap, or another kind of picture (JPEG) whose pixels always
  // go through a 24-bit drawing.
  enum TKind { rkBitmap, rkPicture };

  TKind Kind = rkBitmap;
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 24;  // 24 or 32
  std::vector<uint8_t> Pixels;

  int BytesPerPixel() const { return BitsPerPixel / 8; }
};
