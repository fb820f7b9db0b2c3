#include "rwx/znRWXLineWriter.h"

#include <cmath>

TznFixed6Memo::TznFixed6Memo(size_t values) {
  // Eight slots per value keep collisions rare.
  int bits = 0;
  while (bits < 16 && (size_t{1} << bits) < 8 * values) ++bits;
  entries_.resize(size_t{1} << bits);
  shift_ = 32 - bits;
}

const TznVertexNumberTexts& TznVertexNumberTexts::Get() {
  static const TznVertexNumberTexts texts;
  return texts;
}

TznVertexNumberTexts::TznVertexNumberTexts() : texts_(65536) {
  for (size_t n = 0; n < texts_.size(); ++n)
    texts_[n][7] = static_cast<char>(WriteInt(texts_[n].data(), static_cast<int64_t>(n)) - texts_[n].data());
}

TznRWXLineWriter::TznRWXLineWriter(size_t vertex_count)
    : east(static_cast<size_t>(std::sqrt(static_cast<double>(vertex_count))) + 1),
      u(static_cast<size_t>(std::sqrt(static_cast<double>(vertex_count))) + 1),
      north(1),
      v(1),
      numbers(TznVertexNumberTexts::Get()) {}
