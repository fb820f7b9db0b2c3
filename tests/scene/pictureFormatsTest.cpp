#include <gtest/gtest.h>

#include "base/znError.h"
#include "pictureFiles.h"
#include "scene/znBmpReader.h"
#include "scene/znGLBitmap32.h"
#include "scene/znJpegReader.h"

namespace {

using test::Bytes;

enum { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

// A bitmap file built field by field: file header, info header (40 bytes,
// or the old 12-byte one), colour table or masks, pixel bytes.
std::vector<uint8_t> BmpFile(int width, int height, int bits, int compression, const Bytes& table, const Bytes& pixels,
                             int colours_used = 0, int header_size = 40) {
  const int offset = 14 + header_size + static_cast<int>(table.data.size());
  Bytes b;
  b.Text("BM").I32(offset + static_cast<int>(pixels.data.size())).I32(0).I32(offset);
  if (header_size == 12) {
    b.I32(12).I16(static_cast<int16_t>(width)).I16(static_cast<int16_t>(height)).I16(1).I16(static_cast<int16_t>(bits));
  } else {
    b.I32(40).I32(width).I32(height).I16(1).I16(static_cast<int16_t>(bits)).I32(compression);
    b.I32(static_cast<int32_t>(pixels.data.size())).I32(2835).I32(2835).I32(colours_used).I32(0);
  }
  b.data.insert(b.data.end(), table.data.begin(), table.data.end());
  b.data.insert(b.data.end(), pixels.data.begin(), pixels.data.end());
  return b.data;
}

// The test picture: 7 x 3 pixels over a table of 16 colours. The first
// three pixels of a row differ, the other four share one index.
constexpr int kWidth = 7, kHeight = 3;
int IndexAt(int x, int y) { return x < 3 ? x + 3 * y : 15 - y; }
std::array<uint8_t, 4> ColourOf(int index) {  // blue, green, red, 0
  return {static_cast<uint8_t>(16 * index), static_cast<uint8_t>(255 - 16 * index), static_cast<uint8_t>(100 + index),
          0};
}

Bytes Table(int entries, int entry_bytes) {
  Bytes t;
  for (int k = 0; k < entries; ++k)
    for (int c = 0; c < entry_bytes; ++c) t.Byte(ColourOf(k)[c]);
  return t;
}

void Pad(Bytes& b, size_t row_start) {
  while ((b.data.size() - row_start) % 4 != 0) b.Byte(0);
}

// Rows from the bottom unless top_down.
Bytes EightBitRows(bool top_down = false) {
  Bytes p;
  for (int r = 0; r < kHeight; ++r) {
    const int y = top_down ? r : kHeight - 1 - r;
    const size_t start = p.data.size();
    for (int x = 0; x < kWidth; ++x) p.Byte(static_cast<uint8_t>(IndexAt(x, y)));
    Pad(p, start);
  }
  return p;
}

Bytes FourBitRows() {
  Bytes p;
  for (int y = kHeight - 1; y >= 0; --y) {
    const size_t start = p.data.size();
    for (int x = 0; x < kWidth; x += 2)
      p.Byte(static_cast<uint8_t>(IndexAt(x, y) << 4 | (x + 1 < kWidth ? IndexAt(x + 1, y) : 0)));
    Pad(p, start);
  }
  return p;
}

// Each row: the first three indices literally (padded to a 16-bit word),
// then a run of four, then end of line; end of picture at last.
Bytes Rle8Rows() {
  Bytes p;
  for (int y = kHeight - 1; y >= 0; --y) {
    p.Byte(0).Byte(3).Byte(IndexAt(0, y)).Byte(IndexAt(1, y)).Byte(IndexAt(2, y)).Byte(0);
    p.Byte(4).Byte(IndexAt(3, y)).Byte(0).Byte(0);
  }
  p.Byte(0).Byte(1);
  return p;
}

Bytes Rle4Rows() {
  Bytes p;
  for (int y = kHeight - 1; y >= 0; --y) {
    p.Byte(0).Byte(3).Byte(IndexAt(0, y) << 4 | IndexAt(1, y)).Byte(IndexAt(2, y) << 4);
    p.Byte(4).Byte(IndexAt(3, y) << 4 | IndexAt(3, y)).Byte(0).Byte(0);
  }
  p.Byte(0).Byte(1);
  return p;
}

void ExpectSameRaster(const TznGLRaster& a, const TznGLRaster& b) {
  EXPECT_EQ(a.Kind, b.Kind);
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Height, b.Height);
  EXPECT_EQ(a.BitsPerPixel, b.BitsPerPixel);
  EXPECT_EQ(a.Pixels, b.Pixels);
}

std::vector<uint8_t> Pixels(const TznGLBitmap32& b) { return {b.Data(), b.Data() + b.DataSize()}; }

void ExpectGreyPicture(const TznGLBitmap32& b) {
  ASSERT_EQ(b.Width(), 128);
  ASSERT_EQ(b.Height(), 128);
  EXPECT_EQ(b.Data()[0], 128);
  EXPECT_EQ(b.Data()[3], 0);
}

// read throws an error that says message, and a bitmap loaded from path is
// the grey fallback.
template <typename Read>
void ExpectRefusedAndGrey(Read read, const std::string& message, const std::string& path) {
  try {
    read();
    ADD_FAILURE() << "read";
  } catch (const EznError& e) {
    EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
  }
  TznGLBitmap32 bitmap;
  EXPECT_FALSE(bitmap.LoadFromFile(path));
  ExpectGreyPicture(bitmap);
}

}  // namespace

TEST(BmpReader, PaletteAndRunLengthPicturesEqualTheirTwentyFourBitTwin) {
  test::WriteBmp("true.bmp", kWidth, kHeight, 24, [](int x, int y) { return ColourOf(IndexAt(x, y)); });
  const TznGLRaster expected = ReadBmpFile("true.bmp");
  TznGLBitmap32 expected_bitmap;
  ASSERT_TRUE(expected_bitmap.LoadFromFile("true.bmp"));

  const struct {
    const char* name;
    std::vector<uint8_t> file;
  } cases[] = {
      {"8-bit", BmpFile(kWidth, kHeight, 8, kRgb, Table(256, 4), EightBitRows())},
      {"8-bit, 16 colours used", BmpFile(kWidth, kHeight, 8, kRgb, Table(16, 4), EightBitRows(), 16)},
      {"8-bit top-down", BmpFile(kWidth, -kHeight, 8, kRgb, Table(16, 4), EightBitRows(true), 16)},
      {"8-bit, old header", BmpFile(kWidth, kHeight, 8, kRgb, Table(256, 3), EightBitRows(), 0, 12)},
      {"4-bit", BmpFile(kWidth, kHeight, 4, kRgb, Table(16, 4), FourBitRows())},
      {"RLE8", BmpFile(kWidth, kHeight, 8, kRle8, Table(16, 4), Rle8Rows(), 16)},
      {"RLE4", BmpFile(kWidth, kHeight, 4, kRle4, Table(16, 4), Rle4Rows())},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectSameRaster(ReadBmp(c.file), expected);
    Bytes file;
    file.data = c.file;
    file.Save("palette.bmp");
    TznGLBitmap32 bitmap;
    ASSERT_TRUE(bitmap.LoadFromFile("palette.bmp"));
    EXPECT_EQ(bitmap.Width(), expected_bitmap.Width());
    EXPECT_EQ(Pixels(bitmap), Pixels(expected_bitmap));
  }
}

TEST(BmpReader, OneBitPixelsRunAcrossBytesFromTheHighBit) {
  // 10 x 2 chequer board: (x + y) odd is the second colour.
  Bytes table, rows;
  table.Byte(1).Byte(2).Byte(3).Byte(0).Byte(200).Byte(150).Byte(100).Byte(0);
  rows.Byte(0b10101010).Byte(0b10000000).I16(0);  // bottom row, y = 1
  rows.Byte(0b01010101).Byte(0b01000000).I16(0);  // top row, y = 0
  test::WriteBmp("true.bmp", 10, 2, 24, [](int x, int y) {
    return (x + y) % 2 ? std::array<uint8_t, 4>{200, 150, 100, 0} : std::array<uint8_t, 4>{1, 2, 3, 0};
  });
  ExpectSameRaster(ReadBmp(BmpFile(10, 2, 1, kRgb, table, rows)), ReadBmpFile("true.bmp"));
}

TEST(BmpReader, SixteenBitChannelsAreScaledToWholeBytes) {
  // 5 bits: 31 -> 255, 16 -> 131.6 -> 132, 1 -> 8.2 -> 8; 6 bits: 32 -> 129.5 -> 130.
  Bytes rows;
  rows.I16(0x7C00).I16(0x03E0).I16(16 << 10 | 1 << 5).I16(16);  // 5-5-5: red, green, (16, 1, 0), blue 16
  TznGLRaster r = ReadBmp(BmpFile(4, 1, 16, kRgb, Bytes(), rows));
  EXPECT_EQ(r.BitsPerPixel, 24);
  EXPECT_EQ(r.Pixels, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 0, 8, 132, 132, 0, 0}));

  Bytes masks;
  masks.I32(0xF800).I32(0x07E0).I32(0x001F);  // 5-6-5
  rows.data.clear();
  rows.I16(static_cast<int16_t>(0xF800)).I16(0x07E0).I16(32 << 5).I16(1);
  r = ReadBmp(BmpFile(4, 1, 16, kBitfields, masks, rows));
  EXPECT_EQ(r.Pixels, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 0, 130, 0, 8, 0, 0}));

  // 32 bits with the red and blue masks swapped: drawn into 24 bits.
  masks.data.clear();
  masks.I32(0x000000FF).I32(0x0000FF00).I32(0x00FF0000);
  rows.data.clear();
  rows.Byte(10).Byte(20).Byte(30).Byte(40);
  r = ReadBmp(BmpFile(1, 1, 32, kBitfields, masks, rows));
  EXPECT_EQ(r.BitsPerPixel, 24);
  EXPECT_EQ(r.Pixels, (std::vector<uint8_t>{30, 20, 10}));
}

TEST(BmpReader, RunLengthSkipsKeepTheFirstColourAndStrayIndicesAreBlack) {
  // 4 x 2: move 2 right and 1 up, a run of two index-1 pixels, end.
  Bytes table, rle;
  table.Byte(9).Byte(8).Byte(7).Byte(0).Byte(50).Byte(60).Byte(70).Byte(0);
  rle.Byte(0).Byte(2).Byte(2).Byte(1).Byte(2).Byte(1).Byte(0).Byte(1);
  TznGLRaster r = ReadBmp(BmpFile(4, 2, 8, kRle8, table, rle, 2));
  EXPECT_EQ(r.Pixels, (std::vector<uint8_t>{9, 8, 7, 9, 8, 7, 50, 60, 70, 50, 60, 70,  // top row
                                            9, 8, 7, 9, 8, 7, 9,  8,  7,  9,  8,  7}));

  // Index 5 in a table of two colours.
  Bytes rows;
  rows.Byte(1).Byte(5).I16(0);
  r = ReadBmp(BmpFile(2, 1, 8, kRgb, table, rows, 2));
  EXPECT_EQ(r.Pixels, (std::vector<uint8_t>{50, 60, 70, 0, 0, 0}));
}

TEST(BmpReader, DeclaredSizesAreCheckedAgainstTheBytesBeforeAllocating) {
  Bytes one_row;
  for (int k = 0; k < 8000; ++k) one_row.Byte(1);
  Bytes short_rle;
  short_rle.Byte(255).Byte(1).Byte(0).Byte(1);
  Bytes unended_rle;
  unended_rle.Byte(4).Byte(1).Byte(0).Byte(0).Byte(4).Byte(1);  // one line, then half of the next
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    const char* message;
  } cases[] = {
      {"8000 x 8000 with one row", BmpFile(8000, 8000, 8, kRgb, Table(2, 4), one_row, 2), "truncated"},
      {"8000 x 8000 in four RLE bytes", BmpFile(8000, 8000, 8, kRle8, Table(2, 4), short_rle, 2), "truncated"},
      {"RLE without its end", BmpFile(4, 3, 8, kRle8, Table(2, 4), unended_rle, 2), "truncated"},
      {"2 bits per pixel", BmpFile(4, 1, 2, kRgb, Table(4, 4), one_row), "Unsupported"},
      {"RLE4 on 8-bit pixels", BmpFile(4, 1, 8, kRle4, Table(2, 4), short_rle, 2), "Unsupported"},
      {"RLE top-down", BmpFile(4, -1, 8, kRle8, Table(2, 4), short_rle, 2), "Invalid"},
      {"no colour table", BmpFile(4, 1, 8, kRgb, Bytes(), one_row), "Invalid"},
      {"billions of pixels", BmpFile(60000, 60000, 24, kRgb, Bytes(), one_row), "size"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file;
    file.data = c.file;
    file.Save("bad.bmp");
    ExpectRefusedAndGrey([&] { ReadBmp(c.file); }, c.message, "bad.bmp");
  }
}

TEST(JpegReader, ASizeDeclaredBeyondReasonIsRefusedRightAfterTheHeader) {
  test::WriteJpeg("small.jpg", 16, 16, 10, 20, 30, true);
  const std::string good = test::ReadFile("small.jpg");
  const size_t frame = good.find("\xFF\xC2");  // progressive frame: length, precision, height, width
  ASSERT_NE(frame, std::string::npos);
  ASSERT_LT(good.size(), 1000u);
  auto declare = [&](const std::string& path, int width, int height) {
    std::string bytes = good;
    bytes[frame + 5] = static_cast<char>(height >> 8);
    bytes[frame + 6] = static_cast<char>(height & 0xFF);
    bytes[frame + 7] = static_cast<char>(width >> 8);
    bytes[frame + 8] = static_cast<char>(width & 0xFF);
    test::WriteFile(path, bytes);
  };
  declare("bomb.jpg", 60000, 60000);
  declare("thin.jpg", 8000, 8000);  // within the pixel limit, but not in these few bytes
  const struct {
    const char* path;
    const char* message;
  } cases[] = {{"bomb.jpg", "too large: 60000 x 60000"}, {"thin.jpg", "larger than its data: 8000 x 8000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    ExpectRefusedAndGrey([&] { ReadJpegFile(c.path); }, c.message, c.path);
  }
  TznGLRaster r = ReadJpegFile("small.jpg");
  EXPECT_EQ(r.Width, 16);
  EXPECT_EQ(r.Height, 16);
}
