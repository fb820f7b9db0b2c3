// Keeping a terrain as a Terragen .ter file: the points, the three scales
// and the stored heights as they stand, so that the reader of this program
// reads the file back to the same terrain.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TznTerra;

// The header chunks of a .ter file as they are written.
struct TznTerragenChunks {
  int32_t XPoints = 0, YPoints = 0;          // XPTS, YPTS
  float ScaleX = 1, ScaleY = 1, ScaleZ = 1;  // SCAL
  bool WriteCurve = false;                   // CRAD and CRVM are written
  float CurveRadius = 0;                     // CRAD
  int32_t CurveMode = 0;                     // CRVM
  int16_t HeightScale = 1, BaseHeight = 0;   // ALTW
};

// The bytes of a .ter file: the magic, SIZE (the shorter side - 1), XPTS,
// YPTS, SCAL, CRAD and CRVM when asked for, ALTW, the raw height raw(i, j)
// of every point row by row from south to north, and "EOF ".
std::string TerragenBytes(const TznTerragenChunks& chunks, const std::function<int16_t(int32_t, int32_t)>& raw);

// The ALTW height scale under which readers that take a height as
// raw x SCAL y x scale / 65536 metres (GDAL's Terragen driver) come
// closest to this program's raw x FScaleZ / 1000: 65.536 x FScaleZ /
// FScaleY, rounded, never 0 and kept within 16 bits. The base height stays
// 0: this program's heights have no offset.
int16_t TerragenHeightScale(float scale_y, float scale_z);

// The terrain's file: SCAL holds FScaleX, FScaleY, FScaleZ, CRAD and CRVM
// are written, and the raw heights are the stored ones x 10. Throws EznError
// when no terrain is loaded or a stored height lies beyond -3277 .. 3277,
// which no raw 16-bit height reads back to.
std::string TerragenFileBytes(const TznTerra& terra);

// Whether file_name names a file the terrain was loaded from (the file
// itself or, for a raster, one of its sidecar or source files).
bool IsTerrainsOwnFile(const TznTerra& terra, const std::string& file_name);

// Writes the file through a temporary file and a rename. Refuses the file
// the terrain was loaded from: it is the terrain the program shows.
void SaveTerragenFile(const TznTerra& terra, const std::string& file_name);
