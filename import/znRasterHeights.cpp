#include "import/znRasterHeights.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "base/znError.h"
#include "base/znFormat.h"

namespace {

// A height range this wide is no terrain on Earth: most likely a no-data
// value the raster does not declare.
constexpr double kMaxHeightSpan = 1e5;

constexpr double kStoredLimit = kRasterStoredLimit;

// The smallest height factor under which top metres are stored as at most
// kRasterStoredLimit: top x 100 / factor may not exceed the limit.
float HeightFactor(double top) {
  if (!(top > 0)) return 1;
  float factor = static_cast<float>(top * 100 / kRasterStoredLimit);
  while (top * 100 / factor > kRasterStoredLimit) factor = std::nextafter(factor, std::numeric_limits<float>::max());
  return factor;
}

// Finite and not the no-data value. The loops below stay vector code: no
// branches (the magnitude test is false for NaN and infinities).
template <typename T>
inline bool IsHeight(T value, T no_data) {
  return (std::fabs(value) <= std::numeric_limits<T>::max()) & (value != no_data);
}

// Rounds half to even a value well within +-2^31: after adding 1.5 x 2^52
// under the processor's rounding to nearest, the low bits of the sum are
// the rounded value in two's complement. No conversion instruction, so the
// loop stays vector code.
inline int16_t RoundToStored(double value) {
  constexpr double kShifter = 6755399441055744.0;
  return static_cast<int16_t>(std::bit_cast<int64_t>(value + kShifter));
}

inline int16_t StoredUnits(double units) {
  return RoundToStored(std::min(std::max(units, -kStoredLimit), kStoredLimit));
}

}  // namespace

template <typename T>
TznValueRange<T>::TznValueRange() : Low(std::numeric_limits<T>::max()), High(std::numeric_limits<T>::lowest()) {}

// The masked values are never NaN, so the minimum and maximum may be taken
// in any order: vector code.
template <typename T>
void TznValueRange<T>::Add(const T* values, size_t count, T no_data) {
  constexpr T kMax = std::numeric_limits<T>::max(), kLowest = std::numeric_limits<T>::lowest();
  T low = Low, high = High;
  int64_t heights = 0;
#pragma omp simd reduction(min : low) reduction(max : high) reduction(+ : heights)
  for (size_t i = 0; i < count; ++i) {
    const T v = values[i];
    const bool ok = IsHeight(v, no_data);
    heights += ok;
    const T for_low = ok ? v : kMax, for_high = ok ? v : kLowest;
    low = for_low < low ? for_low : low;
    high = for_high > high ? for_high : high;
  }
  Low = low;
  High = high;
  Heights += heights;
}

template <typename T>
T NoDataValue(const TznHeightRule& rule) {
  return rule.NoData ? static_cast<T>(*rule.NoData) : std::numeric_limits<T>::quiet_NaN();
}

double MetresPerHeightUnit(const std::string& unit_type) {
  const std::string unit = LowerCase(Trim(unit_type));
  if (unit == "ft" || unit == "foot" || unit == "feet" || unit == "international foot") return 0.3048;
  if (unit == "us survey foot" || unit == "us-ft" || unit == "ftus" || unit == "sft") return 1200.0 / 3937.0;
  return 1;
}

template <typename T>
TznHeightConversion<T> HeightConversion(const TznValueRange<T>& range, int64_t cells, const TznHeightRule& rule,
                                        TznRasterHeights& out) {
  TznHeightConversion<T> conversion;
  conversion.NoData = NoDataValue<T>(rule);

  // Metres follow the extremes of the values linearly.
  out.NoDataCells = cells - range.Heights;
  if (range.Heights == 0) throw EznError("every cell is no-data");
  const T low = range.Low, high = range.High;

  const double k = rule.Scale * rule.MetresPerUnit, c = rule.Offset * rule.MetresPerUnit;
  const double a = low * k + c, b = high * k + c;
  out.Lowest = std::min(a, b);
  const double highest = std::max(a, b);
  if (!(highest - out.Lowest <= kMaxHeightSpan) || !std::isfinite(out.Lowest))
    throw EznError("the heights span " + FormatGeneral(highest - out.Lowest) +
                   " m, more than any terrain; is a no-data value missing?");

  const double base = rule.KeepElevation ? 0 : out.Lowest;
  out.ScaleZ = HeightFactor(std::max(std::fabs(out.Lowest - base), std::fabs(highest - base)));
  // stored = Round((value x k + c - base) x 100 / ScaleZ), kept within the
  // limit against the last bit of rounding.
  const double per_stored = 100.0 / out.ScaleZ;
  conversion.Gain = k * per_stored;
  conversion.Shift = (c - base) * per_stored;
  conversion.LowestStored = StoredUnits((out.Lowest - base) * per_stored);
  // The sea follows the shift of the heights, so the same shore stays wet.
  if (out.Lowest < 0) out.WaterLevel = StoredUnits(-base * per_stored);
  return conversion;
}

template <typename T>
void TznHeightConversion<T>::StoreRow(const T* values, int64_t count, int16_t* stored, bool reversed) const {
  const T no_data = NoData;
  const double gain = Gain, shift = Shift;
  const int16_t lowest = LowestStored;
  for (int64_t i = 0; i < count; ++i) {
    const T v = values[i];
    const bool ok = IsHeight(v, no_data);
    const double units = v * gain + shift;
    // No-data cells, NaN among them, take the lowest height.
    stored[i] = ok ? StoredUnits(units) : lowest;
  }
  if (reversed) std::reverse(stored, stored + count);
}

template struct TznValueRange<float>;
template struct TznValueRange<double>;
template float NoDataValue<float>(const TznHeightRule&);
template double NoDataValue<double>(const TznHeightRule&);
template struct TznHeightConversion<float>;
template struct TznHeightConversion<double>;
template TznHeightConversion<float> HeightConversion<float>(const TznValueRange<float>&, int64_t, const TznHeightRule&,
                                                            TznRasterHeights&);
template TznHeightConversion<double> HeightConversion<double>(const TznValueRange<double>&, int64_t,
                                                              const TznHeightRule&, TznRasterHeights&);
