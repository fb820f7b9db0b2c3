#include "views/znScaleValues.h"

#include <cmath>
#include <limits>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace {

std::string Metres(double value) { return FormatFixed(value, 2); }

// A value as the edit keeps it: trimmed, with two decimals.
double ReadTwoDecimals(std::string& text) {
  const std::string trimmed(Trim(text));
  const std::optional<double> value = ParseReal(trimmed);
  if (!value) throw EznError("'" + trimmed + "' is not a valid floating point value");
  text = Metres(*value);
  return *ParseReal(text);
}

bool IsUsableScale(float scale) { return std::isfinite(scale) && scale > 0; }

// Stored height of the lowest point at the new height scale; the whole
// height range above it must still fit the 16-bit stored heights, or the
// shift would flatten the peaks or the valleys. The refusal names the
// height in metres that would still fit.
int32_t StoredLow(const TznTerra& terra, double low, float scale_z) {
  constexpr int64_t kLowest = std::numeric_limits<int16_t>::min();
  constexpr int64_t kHighest = std::numeric_limits<int16_t>::max();
  const double stored = low / scale_z * 100;
  const int64_t range = terra.FHighest - terra.FLowest;
  const auto metres = [scale_z](double units) { return Metres(units * scale_z / 100); };
  if (!std::isfinite(stored) || std::fabs(stored) > 1e9) throw EznError("Heights out of range!");
  const int64_t u = Round(stored);
  if (u < kLowest)
    throw EznError("Heights out of range! The lowest point would lie at " + metres(double(u)) +
                   " m; it can lie no lower than " + metres(double(kLowest)) + " m.");
  if (u + range > kHighest)
    throw EznError("Heights out of range! The highest point would lie at " + metres(double(u + range)) +
                   " m; it can lie no higher than " + metres(double(kHighest)) + " m.");
  return static_cast<int32_t>(u);
}

void CheckEdges(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts& texts, TznScaleValues& values) {
  const double x = ReadTwoDecimals(texts.EdgeX);
  const double y = ReadTwoDecimals(texts.EdgeY);
  const double steps_x = terra.FXPoints - 1.0, steps_y = terra.FYPoints - 1.0;
  values.NewScaleX = static_cast<float>(x / steps_x);
  values.NewScaleY = static_cast<float>(y / steps_y);
  if (options.KeepAspect && !options.DriveY) {
    values.NewScaleY = static_cast<float>(double{terra.FScaleY} * values.NewScaleX / terra.FScaleX);
    texts.EdgeY = Metres(steps_y * values.NewScaleY);
  } else if (options.KeepAspect) {
    values.NewScaleX = static_cast<float>(double{values.NewScaleY} / terra.FScaleY * terra.FScaleX);
    texts.EdgeX = Metres(steps_x * values.NewScaleX);
  }
  // A zero or negative edge would fold the terrain onto itself, and every
  // later rescale would divide by its zero scale.
  if (!(values.NewScaleX > 0 && values.NewScaleY > 0)) throw EznError("The edges of the map must be longer than 0 m");
  if (!IsUsableScale(values.NewScaleX) || !IsUsableScale(values.NewScaleY)) throw EznError("Scale out of range!");
}

void CheckHeights(const TznTerra& terra, TznAltitudeRule rule, TznScaleTexts& texts, TznScaleValues& values) {
  values.Shift = 0;
  values.NewScaleZ = terra.FScaleZ;
  switch (rule) {
    case TznAltitudeRule::KeepRatio:
      values.NewScaleZ = static_cast<float>((double{values.NewScaleX} + values.NewScaleY) /
                                            (double{terra.FScaleX} + terra.FScaleY) * terra.FScaleZ);
      texts.High = Metres(terra.FHighest * double{values.NewScaleZ} / 100);
      texts.Low = Metres(terra.FLowest * double{values.NewScaleZ} / 100);
      break;
    case TznAltitudeRule::EditHighLow: {
      double high = ReadTwoDecimals(texts.High);
      double low = ReadTwoDecimals(texts.Low);
      if (high < low) {
        std::swap(texts.High, texts.Low);
        high = ReadTwoDecimals(texts.High);
        low = ReadTwoDecimals(texts.Low);
      }
      const int32_t range = terra.FHighest - terra.FLowest;
      if (range > 0) {
        if (high == low) throw EznError("Highest and lowest point must differ");
        values.NewScaleZ =
            static_cast<float>(double{terra.FScaleZ} * std::fabs(high - low) / (range * double{terra.FScaleZ} / 100));
        values.Shift = StoredLow(terra, low, values.NewScaleZ) - terra.FLowest;
      }
      break;
    }
    case TznAltitudeRule::EditLow: {
      const double low = ReadTwoDecimals(texts.Low);
      const int32_t u = StoredLow(terra, low, values.NewScaleZ);
      texts.High = Metres((terra.FHighest - terra.FLowest + u) * double{values.NewScaleZ} / 100);
      values.Shift = u - terra.FLowest;
      break;
    }
  }
  if (!IsUsableScale(values.NewScaleZ)) throw EznError("Scale out of range!");
}

}  // namespace

TznScaleTexts ScaleTextsOf(const TznTerra& terra) {
  TznScaleTexts texts;
  texts.EdgeX = Metres((terra.FXPoints - 1) * double{terra.FScaleX});
  texts.EdgeY = Metres((terra.FYPoints - 1) * double{terra.FScaleY});
  texts.High = Metres(terra.Metres(terra.FHighest));
  texts.Low = Metres(terra.Metres(terra.FLowest));
  return texts;
}

TznScaleValues CheckScaleTexts(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts& texts) {
  if (terra.FXPoints < 2 || terra.FYPoints < 2) throw EznError("No terrain loaded");
  TznScaleValues values;
  CheckEdges(terra, options, texts, values);
  CheckHeights(terra, options.Altitude, texts, values);
  return values;
}

void ApplyScaleValues(TznTerra& terra, const TznScaleValues& values) {
  const double fx = double{values.NewScaleX} / terra.FScaleX;
  const double fy = double{values.NewScaleY} / terra.FScaleY;
  const double fz = double{values.NewScaleZ} / terra.FScaleZ;
  const auto scaled = [&](const TVec3& v) {
    return MakeVector3f(static_cast<float>(v.x * fx), static_cast<float>(v.y * fy), static_cast<float>(v.z * fz));
  };
  terra.SetOrigin(scaled(terra.FOrigin));
  terra.SetSelectionCentre(scaled(terra.FSelCentre));
  terra.SetSideX(static_cast<float>(terra.FSideX * fx));
  terra.SetSideY(static_cast<float>(terra.FSideY * fy));

  TznGLPositionDef& viewer = terra.FViewer;
  viewer.SetX(static_cast<float>(viewer.GetX() * fx));
  viewer.SetZ(static_cast<float>(viewer.GetZ() * fy));
  viewer.SetY(static_cast<float>(viewer.GetY() * fz));

  terra.SetScaleX(values.NewScaleX);
  terra.SetScaleY(values.NewScaleY);
  terra.SetScaleZ(values.NewScaleZ);
  if (values.Shift != 0) terra.ShiftHeights(values.Shift);
  terra.RecalcExtremes();
  terra.RebuildChunks();
}

TznScaleEnabling ScaleEnabling(const TznScaleOptions& options, bool has_relief) {
  TznScaleEnabling enabling;
  enabling.ScaleXButton = enabling.ScaleYButton = options.KeepAspect;
  enabling.ScaleXEdit = !options.KeepAspect || !options.DriveY;
  enabling.ScaleYEdit = !options.KeepAspect || options.DriveY;
  switch (options.Altitude) {
    case TznAltitudeRule::KeepRatio:
      break;
    case TznAltitudeRule::EditHighLow:
      enabling.HighEdit = enabling.HighButton = has_relief;
      enabling.LowEdit = enabling.LowButton = true;
      break;
    case TznAltitudeRule::EditLow:
      enabling.LowEdit = enabling.LowButton = true;
      break;
  }
  return enabling;
}
