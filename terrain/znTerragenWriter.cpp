#include "terrain/znTerragenWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXLeftovers.h"
#include "terrain/znTerra.h"

namespace {

// Stored heights whose raw value (stored x 10, kept within 16 bits) reads
// back to the same stored height: 3277 x 10 is kept as 32767, which the
// reader rounds back to 3277.
constexpr int kMaxWritableStored = 3277;

void PutInt16(std::string& out, int16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((uint16_t(value) >> 8) & 0xFF));
}

void PutInt32(std::string& out, int32_t value) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>((uint32_t(value) >> (8 * k)) & 0xFF));
}

void PutFloat32(std::string& out, float value) {
  int32_t bits;
  std::memcpy(&bits, &value, 4);
  PutInt32(out, bits);
}

void PutValue(std::string& out, int16_t value) { PutInt16(out, value); }
void PutValue(std::string& out, int32_t value) { PutInt32(out, value); }
void PutValue(std::string& out, float value) { PutFloat32(out, value); }

// A chunk: its four-letter tag, then its values in order.
template <typename... Values>
void PutChunk(std::string& out, const char* tag, Values... values) {
  out.append(tag);
  (PutValue(out, values), ...);
}

void CheckWritable(const TznTerra& terra) {
  if (terra.FXPoints < 2 || terra.FYPoints < 2 || terra.FHeights.empty()) throw EznError("No terrain loaded");
}

int MostStoredHeight(const TznTerra& terra) {
  if (terra.FHeights.empty()) return 0;
  const auto [low, high] = std::minmax_element(terra.FHeights.begin(), terra.FHeights.end());
  return std::max(-int{*low}, int{*high});
}

// The whole number of stored units one unit of the file takes: 1 while
// every height reads back as it is, more for finer heights (a raster's),
// which the file then holds at that coarser step.
int HeightCoarsening(int most) { return std::max(1, (most + kMaxWritableStored - 1) / kMaxWritableStored); }

// The SCAL z under which both readers take a raw height to the same metres.
float MatchingScaleZ(int16_t height_scale, float scale_y) {
  return static_cast<float>(height_scale * double{scale_y} * 1000.0 / 65536.0);
}

// Whether some height scale within 16 bits matches a SCAL z near scale_z.
bool MatchableScales(float scale_y, float scale_z) {
  return std::isfinite(scale_y) && scale_y > 0 && std::fabs(65.536 * double{scale_z} / scale_y) < 32767;
}

int16_t OneFurther(int16_t height_scale) { return static_cast<int16_t>(height_scale + (height_scale < 0 ? -1 : 1)); }

// The bytes of the terrain's file with its heights at the given scales.
std::string FileBytes(const TznTerra& terra, const TznTerragenHeights& heights) {
  TznTerragenChunks chunks;
  chunks.XPoints = terra.FXPoints;
  chunks.YPoints = terra.FYPoints;
  chunks.ScaleX = terra.FScaleX;
  chunks.ScaleY = terra.FScaleY;
  chunks.ScaleZ = heights.ScaleZ;
  chunks.WriteCurve = true;
  chunks.CurveRadius = terra.FCurveRadius;
  chunks.CurveMode = terra.FCurveMode;
  chunks.HeightScale = heights.HeightScale;
  const double per_unit = heights.StoredPerUnit;
  return TerragenBytes(chunks, [&terra, per_unit](int32_t i, int32_t j) {
    const double units = zn_detail::RoundHalfEven(terra.GetHeight(i, j) / per_unit);
    return static_cast<int16_t>(std::clamp(units * 10, -32768.0, 32767.0));
  });
}

}  // namespace

TznTerragenHeights TerragenHeights(const TznTerra& terra) {
  const int most = MostStoredHeight(terra);
  const int coarsening = HeightCoarsening(most);
  TznTerragenHeights coarsened;
  coarsened.ScaleZ = terra.FScaleZ * static_cast<float>(coarsening);
  coarsened.HeightScale = TerragenHeightScale(terra.FScaleY, coarsened.ScaleZ);
  coarsened.StoredPerUnit = coarsening;
  if (!MatchableScales(terra.FScaleY, coarsened.ScaleZ)) return coarsened;
  for (int16_t scale = coarsened.HeightScale;; scale = OneFurther(scale)) {
    TznTerragenHeights matched;
    matched.HeightScale = scale;
    matched.ScaleZ = MatchingScaleZ(scale, terra.FScaleY);
    // Where the nearest height scale is exact, the heights keep their units.
    matched.StoredPerUnit =
        matched.ScaleZ == coarsened.ScaleZ ? coarsening : double{matched.ScaleZ} / double{terra.FScaleZ};
    if (zn_detail::RoundHalfEven(most / matched.StoredPerUnit) <= kMaxWritableStored) return matched;
    if (std::abs(scale) == 32767) return coarsened;
  }
}

bool IsTerrainsOwnFile(const TznTerra& terra, const std::string& file_name) {
  if (file_name.empty()) return false;
  for (const std::string& read : terra.ReadFiles()) {
    std::error_code error;
    if (!read.empty() && std::filesystem::equivalent(file_name, read, error) && !error) return true;
  }
  return false;
}

int16_t TerragenHeightScale(float scale_y, float scale_z) {
  const double ideal = std::nearbyint(65.536 * double{scale_z} / double{scale_y});
  if (!std::isfinite(ideal)) return 1;
  // A height factor below zero turns the terrain upside down; the height
  // scale follows it. It is never 0, which would flatten the terrain.
  if (ideal == 0) return scale_z < 0 ? -1 : 1;
  return static_cast<int16_t>(std::clamp(ideal, -32768.0, 32767.0));
}

std::string TerragenBytes(const TznTerragenChunks& chunks, const std::function<int16_t(int32_t, int32_t)>& raw) {
  std::string out;
  out.reserve(100 + size_t(std::max(chunks.XPoints, 0)) * size_t(std::max(chunks.YPoints, 0)) * 2);
  out.append("TERRAGENTERRAIN ");
  PutChunk(out, "SIZE", std::min(chunks.XPoints, chunks.YPoints) - 1);
  PutChunk(out, "XPTS", chunks.XPoints);
  PutChunk(out, "YPTS", chunks.YPoints);
  PutChunk(out, "SCAL", chunks.ScaleX, chunks.ScaleY, chunks.ScaleZ);
  if (chunks.WriteCurve) {
    PutChunk(out, "CRAD", chunks.CurveRadius);
    PutChunk(out, "CRVM", chunks.CurveMode);
  }
  PutChunk(out, "ALTW", chunks.HeightScale, chunks.BaseHeight);
  for (int32_t j = 0; j < chunks.YPoints; ++j)
    for (int32_t i = 0; i < chunks.XPoints; ++i) PutInt16(out, raw(i, j));
  out.append("EOF ");
  return out;
}

std::string TerragenFileBytes(const TznTerra& terra) {
  CheckWritable(terra);
  return FileBytes(terra, TerragenHeights(terra));
}

double SaveTerragenFile(const TznTerra& terra, const std::string& file_name) {
  if (IsTerrainsOwnFile(terra, file_name))
    throw EznFileError("\"" + file_name + "\" is the file the terrain was loaded from; save it under another name");
  CheckWritable(terra);
  const TznTerragenHeights heights = TerragenHeights(terra);
  // A run killed during an earlier save left its temporary file (the size
  // of the whole terrain) beside the target.
  RemoveOwnerlessTemporaries(file_name);
  SaveFileAtomically(file_name, FileBytes(terra, heights));
  return heights.Step();
}

std::string TerragenWrittenNote(const std::string& name, const TznTerra& terra, double step) {
  return "Wrote " + name + ": " + FormatInt(terra.FXPoints) + " x " + FormatInt(terra.FYPoints) +
         " points, height step " + FormatGeneral(step) + " m";
}
