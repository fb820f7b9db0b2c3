#include "tools/znTerGenerator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/znSafeFile.h"
#include "terrain/znTerragenWriter.h"

namespace {

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

std::string GenerateTerragen(const TznTerGeneratorOptions& options) {
  const int32_t points = std::max(options.points, 2);
  TznTerragenChunks chunks;
  chunks.XPoints = chunks.YPoints = points;
  chunks.ScaleX = chunks.ScaleY = options.scale;
  // Other readers (GDAL's Terragen driver) take metres as SCAL y x raw x
  // ALTW / 65536, this program as raw / 10 x SCAL z / 100: the height
  // factor is the one nearest the asked one at which both agree.
  chunks.HeightScale = TerragenHeightScale(options.scale, options.height_scale);
  chunks.ScaleZ = static_cast<float>(chunks.HeightScale * double{options.scale} * 1000 / 65536);
  // Raw elevation = metres * 100 / height factor * 10, so that the program
  // reads the metres back.
  const double raw_per_metre = 1000.0 / double{chunks.ScaleZ};
  return TerragenBytes(chunks, [points, raw_per_metre](int32_t i, int32_t j) {
    const double metres = Landscape(double(i) / (points - 1), double(j) / (points - 1));
    return static_cast<int16_t>(std::clamp(std::lround(metres * raw_per_metre), -32768L, 32767L));
  });
}

void WriteTerragen(const std::string& path, const TznTerGeneratorOptions& options) {
  SaveFileAtomically(path, GenerateTerragen(options));
}
