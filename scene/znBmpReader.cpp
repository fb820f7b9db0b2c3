#include "scene/znBmpReader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/znError.h"

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
// Larger pictures are refused rather than allocated.
constexpr int64_t kMaxPixels = int64_t(1) << 26;

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

void CheckBitfields(const std::vector<uint8_t>& bytes, uint32_t headerSize) {
  // The masks follow a 40-byte header, or sit inside a larger one.
  const size_t at = 14 + 40;
  if (headerSize < 40 || bytes.size() < at + 12) throw EznError("Invalid bitmap");
  if (U32(bytes, at) != 0x00FF0000 || U32(bytes, at + 4) != 0x0000FF00 || U32(bytes, at + 8) != 0x000000FF)
    throw EznError("Unsupported bitmap format");
}

}  // namespace

TznGLRaster ReadBmp(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') throw EznError("Invalid bitmap");
  const uint32_t offset = U32(bytes, 10);
  const uint32_t headerSize = U32(bytes, 14);
  if (headerSize < 40) throw EznError("Unsupported bitmap format");
  const int32_t width = static_cast<int32_t>(U32(bytes, 18));
  const int32_t rawHeight = static_cast<int32_t>(U32(bytes, 22));
  const uint16_t bits = U16(bytes, 28);
  const uint32_t compression = U32(bytes, 30);
  if (bits != 24 && bits != 32) throw EznError("Unsupported bitmap format");
  if (compression == kBiBitfields && bits == 32)
    CheckBitfields(bytes, headerSize);
  else if (compression != kBiRgb)
    throw EznError("Unsupported bitmap format");
  const bool topDown = rawHeight < 0;
  const int64_t height = topDown ? -int64_t(rawHeight) : rawHeight;
  if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxPixels) throw EznError("Invalid bitmap size");

  TznGLRaster raster;
  raster.Kind = TznGLRaster::rkBitmap;
  raster.Width = width;
  raster.Height = static_cast<int>(height);
  raster.BitsPerPixel = bits;
  const size_t rowBytes = size_t(width) * (bits / 8);
  const size_t stride = (rowBytes + 3) & ~size_t(3);
  if (offset > bytes.size() || (bytes.size() - offset) / stride < size_t(height))
    throw EznError("Bitmap data is truncated");
  raster.Pixels.resize(rowBytes * size_t(height));
  for (int64_t row = 0; row < height; ++row) {
    const int64_t fileRow = topDown ? row : height - 1 - row;
    std::memcpy(raster.Pixels.data() + size_t(row) * rowBytes, bytes.data() + offset + size_t(fileRow) * stride,
                rowBytes);
  }
  return raster;
}

TznGLRaster ReadBmpFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EznFileError(FileErrorText("Cannot open file", fileName, errno));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadBmp(bytes);
}
