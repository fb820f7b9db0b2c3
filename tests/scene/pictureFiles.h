// Writes small BMP and JPEG pictures for the texture tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/jpegFiles.h"
#include "support/testFiles.h"

namespace test {

// (blue, green, red, fourth byte) of the pixel in column x, row y from the top.
using PixelAt = std::function<std::array<uint8_t, 4>(int x, int y)>;

// A bottom-up Windows bitmap with 24 or 32 bits per pixel.
inline void WriteBmp(const std::string& path, int width, int height, int bits, const PixelAt& pixel) {
  const int bytes = bits / 8;
  const int stride = (width * bytes + 3) & ~3;
  Bytes b;
  b.Text("BM").I32(54 + stride * height).I32(0).I32(54);
  b.I32(40).I32(width).I32(height).I16(1).I16(static_cast<int16_t>(bits)).I32(0).I32(stride * height);
  b.I32(2835).I32(2835).I32(0).I32(0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const auto p = pixel(x, y);
      for (int k = 0; k < bytes; ++k) b.Byte(p[k]);
    }
    for (int pad = width * bytes; pad < stride; ++pad) b.Byte(0);
  }
  b.Save(path);
}

// A JPEG of one colour at best quality, baseline or progressive.
inline void WriteJpeg(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b,
                      bool progressive = false) {
  const auto one_colour = [&](int, std::vector<uint8_t>& row) {
    for (size_t x = 0; x < row.size(); x += 3) {
      row[x] = r;
      row[x + 1] = g;
      row[x + 2] = b;
    }
  };
  WriteJpegRows(path, width, height, one_colour, 100, progressive);
}

}  // namespace test
