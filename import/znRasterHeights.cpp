#include "import/znRasterHeights.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRound.h"

namespace {

// A height range this wide is no terrain on Earth: most likely a no-data
// value the raster does not declare.
constexpr double kMaxHeightSpan = 1e5;

// The smallest height factor under which top metres are stored as at most
// kRasterStoredLimit: top x 100 / factor may not exceed the limit.
float HeightFactor(double top) {
  if (!(top > 0)) return 1;
  float factor = static_cast<float>(top * 100 / kRasterStoredLimit);
  while (top * 100 / factor > kRasterStoredLimit) factor = std::nextafter(factor, std::numeric_limits<float>::max());
  return factor;
}

template <typename T>
bool IsHeight(T value, bool has_no_data, T no_data) {
  return std::isfinite(value) && !(has_no_data && value == no_data);
}

}  // namespace

double MetresPerHeightUnit(const std::string& unit_type) {
  const std::string unit = LowerCase(Trim(unit_type));
  if (unit == "ft" || unit == "foot" || unit == "feet" || unit == "international foot") return 0.3048;
  if (unit == "us survey foot" || unit == "us-ft" || unit == "ftus" || unit == "sft") return 1200.0 / 3937.0;
  return 1;
}

template <typename T>
TznRasterHeights StoredHeights(const std::vector<T>& values, int64_t columns, int64_t rows, bool flip_rows,
                               bool flip_columns, const TznHeightRule& rule) {
  const bool has_no_data = rule.NoData.has_value();
  const T no_data = has_no_data ? static_cast<T>(*rule.NoData) : T(0);
  TznRasterHeights out;

  // The extremes of the values; metres follow them linearly.
  T low = std::numeric_limits<T>::max(), high = std::numeric_limits<T>::lowest();
  for (const T v : values) {
    if (!IsHeight(v, has_no_data, no_data)) {
      ++out.NoDataCells;
      continue;
    }
    low = std::min(low, v);
    high = std::max(high, v);
  }
  if (out.NoDataCells == static_cast<int64_t>(values.size())) throw EznError("every cell is no-data");

  const double k = rule.Scale * rule.MetresPerUnit, c = rule.Offset * rule.MetresPerUnit;
  const double a = low * k + c, b = high * k + c;
  out.Lowest = std::min(a, b);
  const double highest = std::max(a, b);
  if (!(highest - out.Lowest <= kMaxHeightSpan) || !std::isfinite(out.Lowest))
    throw EznError("the heights span " + FormatGeneral(highest - out.Lowest) +
                   " m, more than any terrain; is a no-data value missing?");

  const double base = rule.KeepElevation ? 0 : out.Lowest;
  out.ScaleZ = HeightFactor(std::max(std::fabs(out.Lowest - base), std::fabs(highest - base)));
  // stored = Round((value x k + c - base) x 100 / ScaleZ)
  const double per_stored = 100.0 / out.ScaleZ;
  const double gain = k * per_stored, shift = (c - base) * per_stored;
  const auto stored = [](double units) {
    return static_cast<int16_t>(
        std::clamp(zn_detail::RoundHalfEven(units), double{-kRasterStoredLimit}, double{kRasterStoredLimit}));
  };
  const int16_t lowest_stored = stored((out.Lowest - base) * per_stored);

  out.Stored.resize(values.size());
  for (int64_t r = 0; r < rows; ++r) {
    const T* in = values.data() + r * columns;
    int16_t* row = out.Stored.data() + (flip_rows ? rows - 1 - r : r) * columns;
    for (int64_t i = 0; i < columns; ++i) {
      const T v = in[i];
      row[flip_columns ? columns - 1 - i : i] = IsHeight(v, has_no_data, no_data) ? stored(v * gain + shift) : lowest_stored;
    }
  }
  return out;
}

template TznRasterHeights StoredHeights<float>(const std::vector<float>&, int64_t, int64_t, bool, bool,
                                               const TznHeightRule&);
template TznRasterHeights StoredHeights<double>(const std::vector<double>&, int64_t, int64_t, bool, bool,
                                                const TznHeightRule&);
