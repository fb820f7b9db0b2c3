// A sequential source of bytes: the readers of binary formats take bytes
// from it without knowing whether they come from a file or from memory.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

class TznByteReader {
 public:
  virtual ~TznByteReader() = default;
  // Copies up to count bytes into out; returns how many there were before
  // the end.
  virtual size_t Read(void* out, size_t count) = 0;
};

// Bytes held by the caller, who keeps them alive while they are read.
class TznMemoryReader : public TznByteReader {
 public:
  TznMemoryReader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}

  size_t Read(void* out, size_t count) override {
    const size_t take = std::min(count, size_ - pos_);
    if (take > 0) std::memcpy(out, data_ + pos_, take);
    pos_ += take;
    return take;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};
