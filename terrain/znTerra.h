// The terrain of the run: the height field read from a Terragen .ter file,
// its scales, the user's selection, origin and water level, and the object
// size and vertex density by which it is cut into RWX objects.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/znVectors.h"

class TznRWXChunkCentral;
class TznRWXComposer;
struct TznRWXWriteStats;

// A position in whole centimetres east (x) and north (y) of grid point (0, 0).
struct TznCentimetres {
  int32_t x = 0, y = 0, z = 0;
  bool operator==(const TznCentimetres&) const = default;
};

class TznTerra {
 public:
  // Largest point count along one axis, and in all, that a file may hold.
  static constexpr int64_t kMaxPointsPerAxis = int64_t{1} << 24;
  static constexpr int64_t kMaxPoints = int64_t{1} << 29;

  TznTerra();
  ~TznTerra();
  TznTerra(const TznTerra&) = delete;
  TznTerra& operator=(const TznTerra&) = delete;

  // Releases the heights and resets the header values, the extremes and the
  // water level; selection, origin and cutting settings stay.
  void Clear();

  // Reads a .ter file. Throws EznFileError when the file cannot be opened and
  // EznError ("not a ter file", "unsupported terrain size X x Y") when it is
  // not a terrain this program can hold; the terrain is then left cleared.
  bool LoadFromFile(const std::string& file_name);

  // Stored height at grid point (x, y); no range check.
  int16_t GetHeight(int x, int y) const { return FHeights[static_cast<size_t>(y) * FXPoints + x]; }
  int16_t GetHighest() const { return FHighest; }
  int16_t GetLowest() const { return FLowest; }
  void RecalcExtremes();
  // Adds delta to every stored height, saturating at the 16-bit range.
  void ShiftHeights(int delta);
  // (x * FScaleX, y * FScaleY, metres); the height is 0 outside the grid.
  void GetGridPoint(int x, int y, TVec3& v) const;
  // Height interpolated between the grid points around (px, py) in grid units.
  void GetHeightAt(TVec3& v, float px, float py) const;

  void SetScaleX(float value) { FScaleX = value; }
  void SetScaleY(float value) { FScaleY = value; }
  void SetScaleZ(float value) { FScaleZ = value; }
  void SetSideX(float value) { FSideX = value; }
  void SetSideY(float value) { FSideY = value; }
  void SetSelectionCentre(const TVec3& v) { FSelCentre = v; }
  void SetOrigin(const TVec3& v) { FOrigin = v; }
  void ResetSelection();
  void ResetOrigin();
  void SetWaterLevel(int16_t value) { FWaterLevel = value; }
  void SetRelative(bool value) { FRelative = value; }

  void SetObjectSize(float value);
  void SetVertices(int value);
  // Where the object grid starts, in centimetres: at or just west (south) of
  // the terrain's edge, with object edges through the origin.
  TznCentimetres GetGridStart() const;

  // Resamples the terrain into the mesh of one RWX object: the object's
  // west and south edge and sides in centimetres, mesh cells per 10 m, and
  // the edges (1 west, 2 east, 4 north, 8 south) that get a skirt down to
  // the lowest level. Returns true when a triangle was made. Throws EznError
  // when the mesh would need more vertices than 16-bit indices can number.
  bool BuildRWXMesh(TznVertex3fArray& vertices, TznVertex3fArray& tex_coords, TznVertex3wArray& faces,
                    TznVertex3fArray& normals, int32_t x0, int32_t z0, int32_t size_x, int32_t size_z,
                    int32_t cells_per_10m_x, int32_t cells_per_10m_z, uint8_t edge_flags,
                    int32_t& skirt_start) const;

  // Render modes: 0 "Terragen" blocks, 1 "RWX Preview", 2 "RWX Texture".
  // Changing between the two RWX modes keeps the object grid.
  void SetRenderMode(uint8_t mode);
  // Lays out the live grid anew for the current mode, object size and
  // vertex density.
  void RebuildChunks();
  // Writes the whole terrain as RWX objects through render mode 1, then
  // returns to the mode it had. progress may be empty.
  TznRWXWriteStats SaveRWX(const std::string& base_file_name, const TznRWXComposer* composer,
                           const std::function<void(int, int, bool&)>& progress);
  TznRWXChunkCentral& RWXChunks() { return *FRWXChunks; }
  const TznRWXChunkCentral& RWXChunks() const { return *FRWXChunks; }

  // Height in metres of a stored value.
  double Metres(int stored) const { return stored * static_cast<double>(FScaleZ) / 100.0; }

  // Stored heights, row by row from south to north, west to east in a row.
  std::vector<int16_t> FHeights;
  int32_t FSize = 0;
  int32_t FXPoints = 0, FYPoints = 0;
  float FScaleX = 1, FScaleY = 1, FScaleZ = 1;
  float FFileScaleX = 1, FFileScaleY = 1, FFileScaleZ = 1;
  float FCurveRadius = 0;
  int32_t FCurveMode = 0;
  int16_t FHeightScale = 0, FBaseHeight = 0;
  std::string FFileName;
  int16_t FHighest = 0, FLowest = 0;
  int16_t FWaterLevel = -1000;
  float FSideX = 0, FSideY = 0;
  TVec3 FSelCentre;
  TVec3 FOrigin;
  bool FRelative = true;
  float FObjectSize = 10.0f;
  int32_t FVertices = 11;

  std::unique_ptr<TznRWXChunkCentral> FRWXChunks;
  uint8_t FRenderMode = 0;

 private:
  void ReadTerragen(const std::string& file_name);
};
