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

void CheckWritable(const TznTerra& terra) {
  if (terra.FXPoints < 2 || terra.FYPoints < 2 || terra.FHeights.empty()) throw EznError("No terrain loaded");
}

// The whole number of stored units one unit of the file takes: 1 while
// every height reads back as it is, more for finer heights (a raster's),
// which the file then holds at that coarser step.
int HeightCoarsening(const TznTerra& terra) {
  const auto [low, high] = std::minmax_element(terra.FHeights.begin(), terra.FHeights.end());
  const int most = std::max(-int{*low}, int{*high});
  return std::max(1, (most + kMaxWritableStored - 1) / kMaxWritableStored);
}

}  // namespace

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
  out.append("SIZE");
  PutInt32(out, std::min(chunks.XPoints, chunks.YPoints) - 1);
  out.append("XPTS");
  PutInt32(out, chunks.XPoints);
  out.append("YPTS");
  PutInt32(out, chunks.YPoints);
  out.append("SCAL");
  PutFloat32(out, chunks.ScaleX);
  PutFloat32(out, chunks.ScaleY);
  PutFloat32(out, chunks.ScaleZ);
  if (chunks.WriteCurve) {
    out.append("CRAD");
    PutFloat32(out, chunks.CurveRadius);
    out.append("CRVM");
    PutInt32(out, chunks.CurveMode);
  }
  out.append("ALTW");
  PutInt16(out, chunks.HeightScale);
  PutInt16(out, chunks.BaseHeight);
  for (int32_t j = 0; j < chunks.YPoints; ++j)
    for (int32_t i = 0; i < chunks.XPoints; ++i) PutInt16(out, raw(i, j));
  out.append("EOF ");
  return out;
}

std::string TerragenFileBytes(const TznTerra& terra) {
  CheckWritable(terra);
  TznTerragenChunks chunks;
  chunks.XPoints = terra.FXPoints;
  chunks.YPoints = terra.FYPoints;
  chunks.ScaleX = terra.FScaleX;
  chunks.ScaleY = terra.FScaleY;
  const int coarsening = HeightCoarsening(terra);
  chunks.ScaleZ = terra.FScaleZ * static_cast<float>(coarsening);
  chunks.WriteCurve = true;
  chunks.CurveRadius = terra.FCurveRadius;
  chunks.CurveMode = terra.FCurveMode;
  chunks.HeightScale = TerragenHeightScale(terra.FScaleY, chunks.ScaleZ);
  return TerragenBytes(chunks, [&terra, coarsening](int32_t i, int32_t j) {
    const double units = zn_detail::RoundHalfEven(terra.GetHeight(i, j) / double(coarsening));
    return static_cast<int16_t>(std::clamp(units * 10, -32768.0, 32767.0));
  });
}

void SaveTerragenFile(const TznTerra& terra, const std::string& file_name) {
  if (IsTerrainsOwnFile(terra, file_name))
    throw EznFileError("\"" + file_name + "\" is the file the terrain was loaded from; save it under another name");
  // A run killed during an earlier save left its temporary file (the size
  // of the whole terrain) beside the target.
  RemoveOwnerlessTemporaries(file_name);
  SaveFileAtomically(file_name, TerragenFileBytes(terra));
}
