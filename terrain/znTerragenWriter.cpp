#include "terrain/znTerragenWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "terrain/znTerra.h"

namespace {

// Stored heights whose raw value (stored x 10, kept within 16 bits) reads
// back to the same stored height: 3277 x 10 is kept as 32767, which the
// reader rounds back to 3277.
constexpr int kMaxWritableStored = 3277;

class TerragenBytes {
 public:
  void Text(const char* text) { FBytes.append(text); }
  void Int16(int16_t value) {
    FBytes.push_back(static_cast<char>(value & 0xFF));
    FBytes.push_back(static_cast<char>((uint16_t(value) >> 8) & 0xFF));
  }
  void Int32(int32_t value) {
    for (int k = 0; k < 4; ++k) FBytes.push_back(static_cast<char>((uint32_t(value) >> (8 * k)) & 0xFF));
  }
  void Float32(float value) {
    int32_t bits;
    std::memcpy(&bits, &value, 4);
    Int32(bits);
  }
  std::string& Bytes() { return FBytes; }

 private:
  std::string FBytes;
};

void CheckWritable(const TznTerra& terra) {
  if (terra.FXPoints < 2 || terra.FYPoints < 2 || terra.FHeights.empty()) throw EznError("No terrain loaded");
  const auto [low, high] = std::minmax_element(terra.FHeights.begin(), terra.FHeights.end());
  if (*low >= -kMaxWritableStored && *high <= kMaxWritableStored) return;
  const auto metres = [&terra](int stored) { return FormatFixed(terra.Metres(stored), 2); };
  throw EznError("The heights run from " + metres(*low) + " m to " + metres(*high) + " m; a .ter file holds only " +
                 metres(-kMaxWritableStored) + " m to " + metres(kMaxWritableStored) +
                 " m at this height scale. Lower the terrain (Scale in the map's File menu) and save again.");
}

}  // namespace

bool IsTerrainsOwnFile(const TznTerra& terra, const std::string& file_name) {
  std::error_code error;
  return !file_name.empty() && !terra.FFileName.empty() &&
         std::filesystem::equivalent(file_name, terra.FFileName, error) && !error;
}

int16_t TerragenHeightScale(float scale_y, float scale_z) {
  const double ideal = std::nearbyint(65.536 * double{scale_z} / double{scale_y});
  if (!std::isfinite(ideal)) return 1;
  // A height factor below zero turns the terrain upside down; the height
  // scale follows it. It is never 0, which would flatten the terrain.
  if (ideal == 0) return scale_z < 0 ? -1 : 1;
  return static_cast<int16_t>(std::clamp(ideal, -32768.0, 32767.0));
}

std::string TerragenFileBytes(const TznTerra& terra) {
  CheckWritable(terra);
  TerragenBytes out;
  out.Bytes().reserve(100 + terra.FHeights.size() * 2);
  out.Text("TERRAGENTERRAIN ");
  out.Text("SIZE");
  out.Int32(std::min(terra.FXPoints, terra.FYPoints) - 1);
  out.Text("XPTS");
  out.Int32(terra.FXPoints);
  out.Text("YPTS");
  out.Int32(terra.FYPoints);
  out.Text("SCAL");
  out.Float32(terra.FScaleX);
  out.Float32(terra.FScaleY);
  out.Float32(terra.FScaleZ);
  out.Text("CRAD");
  out.Float32(terra.FCurveRadius);
  out.Text("CRVM");
  out.Int32(terra.FCurveMode);
  out.Text("ALTW");
  out.Int16(TerragenHeightScale(terra.FScaleY, terra.FScaleZ));
  out.Int16(0);
  for (const int16_t stored : terra.FHeights) out.Int16(static_cast<int16_t>(std::clamp(stored * 10, -32768, 32767)));
  out.Text("EOF ");
  return std::move(out.Bytes());
}

void SaveTerragenFile(const TznTerra& terra, const std::string& file_name) {
  if (IsTerrainsOwnFile(terra, file_name))
    throw EznFileError("\"" + file_name + "\" is the file the terrain was loaded from; save it under another name");
  SaveFileAtomically(file_name, TerragenFileBytes(terra));
}
