// Writes JPEG pictures row by row, for tests and benchmarks of the texture
// loading.
#pragma once

#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace test {

// Fills row (width x 3 bytes of red, green, blue) with the pixels of line y
// from the top.
using JpegRowAt = std::function<void(int y, std::vector<uint8_t>& row)>;

// A baseline or progressive JPEG at the given quality (75 is the library's
// own default).
inline void WriteJpegRows(const std::string& path, int width, int height, const JpegRowAt& fill_row, int quality = 75,
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
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(size_t(width) * 3);
  while (info.next_scanline < info.image_height) {
    fill_row(static_cast<int>(info.next_scanline), row);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

}  // namespace test
