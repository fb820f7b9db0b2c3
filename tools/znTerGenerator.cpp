#include "tools/znTerGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

#include "base/znSafeFile.h"

namespace {

void PutText(std::vector<uint8_t>& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

void PutI16(std::vector<uint8_t>& out, int v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutI32(std::vector<uint8_t>& out, int32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>((uint32_t(v) >> (8 * k)) & 0xFF));
}

void PutF32(std::vector<uint8_t>& out, float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  PutI32(out, static_cast<int32_t>(bits));
}

// Height in metres at (u, v) in [0, 1]^2: rolling hills, a valley winding
// from south to north, and a lake basin in the valley that dips below 0 m.
double Landscape(double u, double v) {
  constexpr double pi = std::numbers::pi;
  const double hills = 30 + 22 * std::sin(2 * pi * 1.3 * u + 0.4) * std::cos(2 * pi * 1.1 * v - 0.3) +
                       9 * std::sin(2 * pi * 3.1 * u * v + 1.0) + 5 * std::cos(2 * pi * 4.7 * (u - 0.6 * v));
  const double centre = 0.5 + 0.16 * std::sin(2 * pi * 0.9 * v);
  const double across = (u - centre) / 0.09;
  const double valley = 38 * std::exp(-across * across);
  const double du = (u - centre) / 0.12, dv = (v - 0.38) / 0.10;
  const double lake = 22 * std::exp(-(du * du + dv * dv));
  return hills - valley - lake;
}

}  // namespace

std::vector<uint8_t> GenerateTerragen(const TznTerGeneratorOptions& options) {
  const int32_t n = std::max(options.points, 2);
  std::vector<uint8_t> out;
  out.reserve(64 + static_cast<size_t>(n) * n * 2);
  PutText(out, "TERRAGENTERRAIN ");
  PutText(out, "SIZE");
  PutI16(out, n - 1);
  PutI16(out, 0);
  PutText(out, "XPTS");
  PutI16(out, n);
  PutI16(out, 0);
  PutText(out, "YPTS");
  PutI16(out, n);
  PutI16(out, 0);
  PutText(out, "SCAL");
  PutF32(out, options.scale);
  PutF32(out, options.scale);
  PutF32(out, options.height_scale);
  PutText(out, "ALTW");
  PutI16(out, 100);
  PutI16(out, 0);
  // Raw elevation = metres * 100 / height factor * 10, so that the program
  // reads the metres back.
  const double raw_per_metre = 1000.0 / options.height_scale;
  for (int32_t j = 0; j < n; ++j)
    for (int32_t i = 0; i < n; ++i) {
      const double metres = Landscape(double(i) / (n - 1), double(j) / (n - 1));
      PutI16(out, static_cast<int>(std::clamp(std::lround(metres * raw_per_metre), -32768L, 32767L)));
    }
  PutText(out, "EOF ");
  return out;
}

void WriteTerragen(const std::string& path, const TznTerGeneratorOptions& options) {
  const std::vector<uint8_t> bytes = GenerateTerragen(options);
  SaveFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
