// Raster values as stored heights: metres from the values times the band's
// scale plus its offset (in feet where the band says so), no-data cells at
// the lowest valid height, by default the lowest valid height at 0 m, and
// the height factor under which the largest absolute stored height is
// 16000: half the 16-bit range, the other half left for height shifts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The largest absolute stored height of a raster terrain.
constexpr int kRasterStoredLimit = 16000;

struct TznHeightRule {
  std::optional<double> NoData;  // the band's no-data value; NaN cells never count as heights
  double Scale = 1, Offset = 0;  // the band's own
  double MetresPerUnit = 1;      // of the band's unit type
  bool KeepElevation = false;
};

struct TznRasterHeights {
  float ScaleZ = 1;  // metres = stored x ScaleZ / 100
  int64_t NoDataCells = 0;
  double Lowest = 0;  // metres of the lowest valid cell, before any shift
  // Sea level in stored units, for heights that reach below it.
  std::optional<int16_t> WaterLevel;
  std::vector<int16_t> Stored;  // row by row from south to north
};

// Metres per unit of a band's unit type: feet and US survey feet by their
// usual names, metres for anything else (also no unit).
double MetresPerHeightUnit(const std::string& unit_type);

// The extremes of the valid values and their count, gathered part by part.
template <typename T>
struct TznValueRange {
  T Low, High;
  int64_t Heights = 0;
  TznValueRange();
  // Takes in count values; no_data: the band's no-data value, or NaN.
  void Add(const T* values, size_t count, T no_data);
};

// The value that stands for no-data under a rule: its own, or NaN, which
// no value equals.
template <typename T>
T NoDataValue(const TznHeightRule& rule);

// The conversion of values into stored heights that the extremes of all
// the values fix; it stores row after row, in any order.
template <typename T>
struct TznHeightConversion {
  T NoData;
  double Gain = 1, Shift = 0;  // stored = Round(value x Gain + Shift)
  int16_t LowestStored = 0;    // what no-data cells take
  // Stores count values; reversed: the first value is the row's eastern end.
  void StoreRow(const T* values, int64_t count, int16_t* stored, bool reversed) const;
};

// The conversion for cells values whose range is range; fills in ScaleZ,
// NoDataCells, Lowest and WaterLevel of heights (not Stored). Throws EznError when no
// cell holds a height, or the heights span more than any terrain does.
template <typename T>
TznHeightConversion<T> HeightConversion(const TznValueRange<T>& range, int64_t cells, const TznHeightRule& rule,
                                        TznRasterHeights& heights);
