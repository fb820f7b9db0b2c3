// Small helpers for tests that build files byte by byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace test {

// A growing byte buffer with little-endian writers.
struct Bytes {
  std::vector<uint8_t> data;

  Bytes& Text(const std::string& s) {
    data.insert(data.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& I16(int16_t v) {
    data.push_back(static_cast<uint8_t>(v & 0xFF));
    data.push_back(static_cast<uint8_t>((uint16_t(v) >> 8) & 0xFF));
    return *this;
  }
  Bytes& I32(int32_t v) {
    for (int k = 0; k < 4; ++k) data.push_back(static_cast<uint8_t>((uint32_t(v) >> (8 * k)) & 0xFF));
    return *this;
  }
  Bytes& F32(float f) {
    int32_t bits;
    std::memcpy(&bits, &f, 4);
    return I32(bits);
  }
  Bytes& Byte(uint8_t b) {
    data.push_back(b);
    return *this;
  }
  void Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  }
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

}  // namespace test
