// Writes small BMP and JPEG pictures for the texture tests.
#pragma once

#include <jpeglib.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

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
  FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[size_t(x) * 3] = r;
    row[size_t(x) * 3 + 1] = g;
    row[size_t(x) * 3 + 2] = b;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

}  // namespace test
