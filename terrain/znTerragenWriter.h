// Keeping a terrain as a Terragen .ter file: the points, the horizontal
// scales and the heights, at a step that the reader of this program and
// GDAL's Terragen driver read back to the same metres.
#pragma once

#include <cmath>
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

// The ALTW height scale nearest to 65.536 x scale_z / scale_y: the one
// under which readers that take a height as raw x SCAL y x scale / 65536
// metres (GDAL's Terragen driver) come closest to this program's raw x
// SCAL z / 1000. Never 0 and kept within 16 bits.
int16_t TerragenHeightScale(float scale_y, float scale_z);

// How the terrain's heights go into its file. This program reads a raw
// height as Round(raw / 10) x SCAL z / 100 metres, GDAL's Terragen driver
// as raw x SCAL y x HeightScale / 65536: the two agree when SCAL z is
// HeightScale x SCAL y x 1000 / 65536. HeightScale is a whole number, so
// SCAL z follows it: the stored heights go in at that step, re-quantised
// by at most half of it. The base height stays 0: this program's heights
// have no offset.
struct TznTerragenHeights {
  float ScaleZ = 1;          // SCAL z
  int16_t HeightScale = 1;   // ALTW
  double StoredPerUnit = 1;  // stored heights of the terrain per unit of the file
  // Metres between two neighbouring heights of the file.
  double Step() const { return std::fabs(double{ScaleZ}) / 100.0; }
};

// The heights' scales for the terrain: SCAL z near FScaleZ x the whole
// number of stored units that keeps every height within -3277 .. 3277 (a
// raw 16-bit value / 10), and the height scale that makes both readers
// agree; the nearest height scale, one further where its step would leave
// a height beyond that range. A terrain whose scales no height scale fits
// (a vertical scale over 500 x the north-south one, or no positive
// north-south scale) keeps FScaleZ x that number with the nearest height
// scale.
TznTerragenHeights TerragenHeights(const TznTerra& terra);

// The terrain's file: SCAL holds FScaleX, FScaleY and the heights' SCAL z,
// CRAD and CRVM are written, ALTW holds the heights' height scale and 0,
// and the raw heights are Round(stored / StoredPerUnit) x 10. Throws
// EznError when no terrain is loaded.
std::string TerragenFileBytes(const TznTerra& terra);

// Whether file_name names a file the terrain was loaded from (the file
// itself or, for a raster, one of its sidecar or source files).
bool IsTerrainsOwnFile(const TznTerra& terra, const std::string& file_name);

// Writes the file through a temporary file and a rename and returns its
// height step in metres. Refuses the file the terrain was loaded from: it
// is the terrain the program shows.
double SaveTerragenFile(const TznTerra& terra, const std::string& file_name);

// The line that tells the user a terrain was written: "Wrote NAME: X x Y
// points, height step S m".
std::string TerragenWrittenNote(const std::string& name, const TznTerra& terra, double step);
