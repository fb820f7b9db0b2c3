// Reads a file sequentially in large blocks, so that callers can take a few
// bytes at a time without a system call for each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/znByteReader.h"

class TznFileReader : public TznByteReader {
 public:
  // Opens the file read-only; throws EznInputFileError when it cannot.
  explicit TznFileReader(const std::string& path, size_t block_size = size_t{1} << 20);
  ~TznFileReader();
  TznFileReader(const TznFileReader&) = delete;
  TznFileReader& operator=(const TznFileReader&) = delete;

  // Copies up to count bytes into out; returns how many there were before
  // the end of the file. Throws EznInputFileError on a read error.
  size_t Read(void* out, size_t count) override;

 private:
  bool Refill();

  int fd_ = -1;
  std::string path_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
};
