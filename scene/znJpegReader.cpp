#include "scene/znJpegReader.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
#include <sys/stat.h>

#include "base/znError.h"
#include "base/znFormat.h"

namespace {

// Larger pictures are refused as soon as the header declares them.
constexpr int64_t kMaxPixels = int64_t(1) << 26;
// Every 8 x 8 block codes at least its DC difference, a bit or more: a file
// far smaller than its declared pixels need is damaged or hostile.
constexpr int64_t kMaxPixelsPerByte = 4096;
// libjpeg's own working memory (a progressive picture keeps all its
// coefficients); beyond it the library fails instead of growing.
constexpr long kMaxDecoderMemory = 256L << 20;

// libjpeg ends the process on an error unless the handler jumps out.
struct TJpegError {
  jpeg_error_mgr manager;
  jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

void JumpOut(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  info->err->format_message(info, error->message);
  longjmp(error->escape, 1);
}

void QuietWarning(j_common_ptr, int) {}

struct TFileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

// The reason a declared size cannot be decoded, or nullptr when it can.
const char* RefusedSize(int64_t width, int64_t height, int64_t file_bytes) {
  const int64_t pixels = width * height;
  if (pixels > kMaxPixels) return "JPEG image too large";
  if (pixels / kMaxPixelsPerByte > file_bytes) return "JPEG image larger than its data";
  return nullptr;
}

// Decodes into raster; false with the library's message on failure. No C++
// object with a destructor is created between setjmp and the end.
bool Decode(FILE* file, int64_t file_bytes, TznGLRaster& raster, std::string& message) {
  jpeg_decompress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOut;
  error.manager.emit_message = QuietWarning;
  if (setjmp(error.escape)) {
    jpeg_destroy_decompress(&info);
    message = error.message;
    return false;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  if (const char* refused = RefusedSize(info.image_width, info.image_height, file_bytes)) {
    message = std::string(refused) + ": " + FormatInt(info.image_width) + " x " + FormatInt(info.image_height);
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || int64_t(info.output_width) * info.output_height > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    message = "Unsupported JPEG image";
    return false;
  }
  raster.Width = static_cast<int>(info.output_width);
  raster.Height = static_cast<int>(info.output_height);
  const size_t rowBytes = size_t(raster.Width) * 3;
  raster.Pixels.resize(rowBytes * size_t(raster.Height));
  while (info.output_scanline < info.output_height) {
    uint8_t* row = raster.Pixels.data() + size_t(info.output_scanline) * rowBytes;
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&info, rows, 1);
    for (size_t x = 0; x < rowBytes; x += 3) std::swap(row[x], row[x + 2]);  // RGB to BGR
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

TznGLRaster ReadJpegFile(const std::string& fileName) {
  std::unique_ptr<FILE, TFileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) throw EznFileError(FileErrorText("Cannot open file", fileName, errno));
  TznGLRaster raster;
  raster.Kind = TznGLRaster::rkPicture;
  raster.BitsPerPixel = 24;
  struct stat file_stat;
  const int64_t file_bytes = ::fstat(::fileno(file.get()), &file_stat) == 0 ? file_stat.st_size : 0;
  std::string message;
  if (!Decode(file.get(), file_bytes, raster, message)) throw EznError("JPEG error: " + message);
  return raster;
}
