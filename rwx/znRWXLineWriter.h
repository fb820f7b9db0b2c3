// Writes the numbers of RWX vertex and triangle lines for one model. Along
// the rows and columns of a mesh the east, north and texture values repeat,
// and every vertex number comes back in about six triangles, so most of
// these texts are copied from what was written before instead of being
// formatted again. Each model being written has its own writer: nothing in
// it is shared between threads.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/znFormat.h"

// "%.6f" texts of recently written values, direct-mapped by the value's bits.
class TznFixed6Memo {
 public:
  // Room for about the given number of different values.
  explicit TznFixed6Memo(size_t values);

  // Writes "%.6f" of the value at out (which must have 32 characters of
  // room beyond the text) and returns the end.
  char* Write(char* out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Entry& e = entries_[shift_ >= 32 ? 0 : (bits * 2654435761u) >> shift_];
    if (e.length == 0 || e.bits != bits) {
      char text[400];
      const size_t length = static_cast<size_t>(WriteFixed6(text, value) - text);
      if (length > sizeof e.text) return static_cast<char*>(std::memcpy(out, text, length)) + length;
      std::memcpy(e.text, text, length);
      e.bits = bits;
      e.length = static_cast<uint8_t>(length);
    }
    std::memcpy(out, e.text, sizeof e.text);
    return out + e.length;
  }

 private:
  struct Entry {
    uint32_t bits = 0;
    uint8_t length = 0;  // 0: empty
    char text[27];
  };
  std::vector<Entry> entries_;
  int shift_;  // 32 - log2 of the slot count
};

// The decimal texts of 0 .. 65535, the range of RWX vertex numbers.
class TznVertexNumberTexts {
 public:
  static const TznVertexNumberTexts& Get();
  // Writes the number at out (8 characters of room) and returns the end.
  char* Write(char* out, uint16_t number) const {
    std::memcpy(out, texts_[number].data(), 8);
    return out + texts_[number][7];
  }

 private:
  TznVertexNumberTexts();
  std::vector<std::array<char, 8>> texts_;  // digits, their count in the last byte
};

// What one model's vertex and triangle lines are written with: the east
// and u values of a mesh repeat in every row, so they get room for all the
// columns; the north and v values change once per row.
struct TznRWXLineWriter {
  explicit TznRWXLineWriter(size_t vertex_count);
  TznFixed6Memo east, u, north, v;
  const TznVertexNumberTexts& numbers;
};
