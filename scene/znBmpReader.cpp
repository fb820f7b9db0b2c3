#include "scene/znBmpReader.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/znError.h"

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes, 3-byte palette entries
// Larger pictures are refused rather than allocated.
constexpr int64_t kMaxPixels = int64_t(1) << 26;
// A run codes at most 255 pixels in 2 bytes; a compressed picture declaring
// far more pixels than its bytes can code is refused before allocating.
constexpr int64_t kMaxRlePixelsPerByte = 256;

using TBytes = std::vector<uint8_t>;
using TBgr = std::array<uint8_t, 3>;

[[noreturn]] void Invalid() { throw EznError("Invalid bitmap"); }
[[noreturn]] void Unsupported() { throw EznError("Unsupported bitmap format"); }
[[noreturn]] void Truncated() { throw EznError("Bitmap data is truncated"); }

uint32_t U32(const TBytes& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const TBytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

struct TBmpHeader {
  uint32_t offset = 0;       // of the pixel data
  uint32_t header_size = 0;  // of the info header
  int64_t width = 0, height = 0;
  bool top_down = false;
  uint16_t bits = 0;
  uint32_t compression = kBiRgb;
  uint32_t colours_used = 0;
  std::array<uint32_t, 3> masks{};  // red, green, blue
};

TBmpHeader ReadHeader(const TBytes& bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') Invalid();
  TBmpHeader h;
  h.offset = U32(bytes, 10);
  h.header_size = U32(bytes, 14);
  if (h.header_size == kCoreHeaderSize) {
    if (bytes.size() < kFileHeaderSize + kCoreHeaderSize) Invalid();
    h.width = U16(bytes, 18);
    h.height = U16(bytes, 20);
    h.bits = U16(bytes, 24);
  } else {
    if (h.header_size < 40 || bytes.size() < kFileHeaderSize + 40) Unsupported();
    h.width = static_cast<int32_t>(U32(bytes, 18));
    const int32_t raw_height = static_cast<int32_t>(U32(bytes, 22));
    h.top_down = raw_height < 0;
    h.height = h.top_down ? -int64_t(raw_height) : raw_height;
    h.bits = U16(bytes, 28);
    h.compression = U32(bytes, 30);
    h.colours_used = U32(bytes, 46);
  }
  if (h.width <= 0 || h.height <= 0 || h.width * h.height > kMaxPixels) throw EznError("Invalid bitmap size");
  return h;
}

// The masks of a bit-field picture follow a 40-byte header, or sit inside a
// larger one: at the same place either way.
void ReadMasks(const TBytes& bytes, TBmpHeader& h) {
  if (h.compression == kBiBitfields) {
    const size_t at = kFileHeaderSize + 40;
    if (bytes.size() < at + 12) Invalid();
    h.masks = {U32(bytes, at), U32(bytes, at + 4), U32(bytes, at + 8)};
  } else if (h.bits == 16) {
    h.masks = {0x7C00, 0x03E0, 0x001F};
  } else {
    h.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  }
  for (uint32_t mask : h.masks) {
    // Each channel is one run of bits.
    if (mask != 0 && !std::has_single_bit((mask >> std::countr_zero(mask)) + 1)) Unsupported();
  }
}

// The colour table of a picture with 8 bits or fewer per pixel, as
// blue-green-red; entries missing from the file are left out.
std::vector<TBgr> ReadPalette(const TBytes& bytes, const TBmpHeader& h) {
  const bool core = h.header_size == kCoreHeaderSize;
  const size_t entry_bytes = core ? 3 : 4;
  size_t at = kFileHeaderSize + h.header_size;
  if (h.compression == kBiBitfields && h.header_size == 40) at += 12;
  size_t entries = size_t(1) << h.bits;
  if (!core && h.colours_used != 0 && h.colours_used < entries) entries = h.colours_used;
  // The table ends where the pixels start.
  if (h.offset <= at || at >= bytes.size()) Invalid();
  entries = std::min(entries, (std::min<size_t>(bytes.size(), h.offset) - at) / entry_bytes);
  if (entries == 0) Invalid();
  std::vector<TBgr> palette(entries);
  for (size_t k = 0; k < entries; ++k) std::memcpy(palette[k].data(), bytes.data() + at + k * entry_bytes, 3);
  return palette;
}

size_t Stride(const TBmpHeader& h) { return ((size_t(h.width) * h.bits + 31) / 32) * 4; }

// Uncompressed pixel rows must all be there; checked before allocating.
void CheckRows(const TBytes& bytes, const TBmpHeader& h) {
  if (h.offset > bytes.size() || (bytes.size() - h.offset) / Stride(h) < size_t(h.height)) Truncated();
}

const uint8_t* FileRow(const TBytes& bytes, const TBmpHeader& h, int64_t row) {
  const int64_t file_row = h.top_down ? row : h.height - 1 - row;
  return bytes.data() + h.offset + size_t(file_row) * Stride(h);
}

// Palette indices of an uncompressed picture, rows from the top.
std::vector<uint8_t> UnpackIndices(const TBytes& bytes, const TBmpHeader& h) {
  CheckRows(bytes, h);
  std::vector<uint8_t> indices(size_t(h.width) * size_t(h.height));
  const int per_byte = 8 / h.bits;
  const uint8_t low_mask = static_cast<uint8_t>((1 << h.bits) - 1);
  for (int64_t row = 0; row < h.height; ++row) {
    const uint8_t* from = FileRow(bytes, h, row);
    uint8_t* to = indices.data() + size_t(row) * size_t(h.width);
    for (int64_t x = 0; x < h.width; ++x) {
      // The leftmost pixel sits in the highest bits of its byte.
      const int shift = h.bits * (per_byte - 1 - int(x % per_byte));
      to[x] = static_cast<uint8_t>((from[x / per_byte] >> shift) & low_mask);
    }
  }
  return indices;
}

// Palette indices of a run-length coded picture (bottom-up only), rows from
// the top. Pixels the runs skip keep index 0.
std::vector<uint8_t> DecodeRle(const TBytes& bytes, const TBmpHeader& h) {
  if (h.top_down) Invalid();
  if (h.offset > bytes.size() || int64_t(bytes.size() - h.offset) * kMaxRlePixelsPerByte < h.width * h.height)
    Truncated();
  const bool four_bits = h.compression == kBiRle4;
  std::vector<uint8_t> indices(size_t(h.width) * size_t(h.height));
  int64_t x = 0, y = 0;  // y counts from the bottom row
  auto put = [&](uint8_t index) {
    if (x < h.width && y < h.height) indices[size_t(h.height - 1 - y) * size_t(h.width) + size_t(x)] = index;
    ++x;
  };
  size_t at = h.offset;
  while (y < h.height) {
    if (at + 2 > bytes.size()) Truncated();
    const uint8_t count = bytes[at], value = bytes[at + 1];
    at += 2;
    if (count > 0) {
      // A run: one index, or two alternating ones.
      for (int k = 0; k < count; ++k) put(four_bits ? ((k % 2 == 0) ? value >> 4 : value & 0x0F) : value);
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (at + 2 > bytes.size()) Truncated();
      x += bytes[at];
      y += bytes[at + 1];
      at += 2;
    } else {  // literal indices, padded to a whole 16-bit word
      const size_t data_bytes = four_bits ? (value + 1) / 2 : value;
      if (at + data_bytes > bytes.size()) Truncated();
      for (int k = 0; k < value; ++k)
        put(four_bits ? ((k % 2 == 0) ? bytes[at + k / 2] >> 4 : bytes[at + k / 2] & 0x0F) : bytes[at + k]);
      at += (data_bytes + 1) & ~size_t(1);
    }
  }
  return indices;
}

TznGLRaster NewRaster24(const TBmpHeader& h) {
  TznGLRaster raster;
  raster.Kind = TznGLRaster::rkBitmap;
  raster.Width = static_cast<int>(h.width);
  raster.Height = static_cast<int>(h.height);
  raster.BitsPerPixel = 24;
  raster.Pixels.resize(size_t(h.width) * 3 * size_t(h.height));
  return raster;
}

// A palette picture drawn into 24 bits; an index beyond the table is black.
TznGLRaster PaletteTo24(const TBytes& bytes, const TBmpHeader& h) {
  const std::vector<TBgr> palette = ReadPalette(bytes, h);
  const std::vector<uint8_t> indices = h.compression == kBiRgb ? UnpackIndices(bytes, h) : DecodeRle(bytes, h);
  TznGLRaster raster = NewRaster24(h);
  for (size_t k = 0; k < indices.size(); ++k) {
    const TBgr colour = indices[k] < palette.size() ? palette[indices[k]] : TBgr{0, 0, 0};
    std::memcpy(raster.Pixels.data() + k * 3, colour.data(), 3);
  }
  return raster;
}

// One channel of a masked pixel, scaled to 0..255.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint64_t top = mask >> shift;
  const uint64_t value = (pixel & mask) >> shift;
  return static_cast<uint8_t>((value * 255 + top / 2) / top);
}

// A 16-bit or 32-bit picture of any bit fields drawn into 24 bits.
TznGLRaster MaskedTo24(const TBytes& bytes, const TBmpHeader& h) {
  CheckRows(bytes, h);
  TznGLRaster raster = NewRaster24(h);
  const size_t pixel_bytes = h.bits / 8;
  for (int64_t row = 0; row < h.height; ++row) {
    const uint8_t* from = FileRow(bytes, h, row);
    uint8_t* to = raster.Pixels.data() + size_t(row) * size_t(h.width) * 3;
    for (int64_t x = 0; x < h.width; ++x, from += pixel_bytes, to += 3) {
      uint32_t pixel = from[0] | uint32_t(from[1]) << 8;
      if (pixel_bytes == 4) pixel |= uint32_t(from[2]) << 16 | uint32_t(from[3]) << 24;
      to[0] = Channel(pixel, h.masks[2]);
      to[1] = Channel(pixel, h.masks[1]);
      to[2] = Channel(pixel, h.masks[0]);
    }
  }
  return raster;
}

// 24-bit pixels, or 32-bit ones in the usual byte order, taken as they are
// (the fourth byte of a 32-bit pixel stays).
TznGLRaster CopyRows(const TBytes& bytes, const TBmpHeader& h) {
  CheckRows(bytes, h);
  TznGLRaster raster;
  raster.Kind = TznGLRaster::rkBitmap;
  raster.Width = static_cast<int>(h.width);
  raster.Height = static_cast<int>(h.height);
  raster.BitsPerPixel = h.bits;
  const size_t row_bytes = size_t(h.width) * (h.bits / 8);
  raster.Pixels.resize(row_bytes * size_t(h.height));
  for (int64_t row = 0; row < h.height; ++row)
    std::memcpy(raster.Pixels.data() + size_t(row) * row_bytes, FileRow(bytes, h, row), row_bytes);
  return raster;
}

bool UsualByteOrder(const TBmpHeader& h) {
  return h.masks == std::array<uint32_t, 3>{0x00FF0000, 0x0000FF00, 0x000000FF};
}

}  // namespace

TznGLRaster ReadBmp(const std::vector<uint8_t>& bytes) {
  TBmpHeader h = ReadHeader(bytes);
  switch (h.bits) {
    case 1:
    case 4:
    case 8: {
      const bool run_length = (h.compression == kBiRle8 && h.bits == 8) || (h.compression == kBiRle4 && h.bits == 4);
      if (h.compression != kBiRgb && !run_length) Unsupported();
      return PaletteTo24(bytes, h);
    }
    case 16:
    case 24:
    case 32:
      if (h.compression != kBiRgb && !(h.compression == kBiBitfields && h.bits != 24)) Unsupported();
      ReadMasks(bytes, h);
      if (h.bits == 24 || (h.bits == 32 && UsualByteOrder(h))) return CopyRows(bytes, h);
      return MaskedTo24(bytes, h);
    default:
      Unsupported();
  }
}

TznGLRaster ReadBmpFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EznFileError(FileErrorText("Cannot open file", fileName, errno));
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadBmp(bytes);
}
