#include "views/znScaleValues.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

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

constexpr double kMaxMetres = TznTerra::kMaxMetres;

// "Heights out of range!" naming where the highest (lowest) point would lie
// and the height it can reach at most (least).
std::string HighestRefused(double high, double limit) {
  return "Heights out of range! The highest point would lie at " + Metres(high) + " m; it can lie no higher than " +
         Metres(limit) + " m.";
}
std::string LowestRefused(double low, double limit) {
  return "Heights out of range! The lowest point would lie at " + Metres(low) + " m; it can lie no lower than " +
         Metres(limit) + " m.";
}

// The refusal of extreme heights beyond kMaxMetres; empty when they lie
// within it.
std::string HeightsProblem(double high, double low) {
  if (!(high <= kMaxMetres)) return HighestRefused(high, kMaxMetres);
  if (!(low >= -kMaxMetres)) return LowestRefused(low, -kMaxMetres);
  return "";
}

// Stored height of the lowest point at the new height scale. The whole
// height range above it must fit the 16-bit stored heights (or the shift
// would flatten the peaks or the valleys), and every height must lie
// within kMaxMetres. The refusal names the height that would still fit.
int32_t StoredLow(const TznTerra& terra, double low, float scale_z) {
  const double unit = double{scale_z} / 100;  // metres per stored unit
  const double range = terra.FHighest - terra.FLowest;
  const double lowest = std::max<double>(std::numeric_limits<int16_t>::min(), std::ceil(-kMaxMetres / unit));
  const double highest = std::min<double>(std::numeric_limits<int16_t>::max(), std::floor(kMaxMetres / unit));
  const double u = zn_detail::RoundHalfEven(low / unit);
  if (!(u >= lowest)) throw EznError(LowestRefused(u * unit, lowest * unit));
  if (!(u + range <= highest)) throw EznError(HighestRefused((u + range) * unit, highest * unit));
  return static_cast<int32_t>(u);
}

void ReadEdges(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts& texts, TznScaleValues& values) {
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
}

// The heights follow the horizontal scales.
float RatioScaleZ(const TznTerra& terra, const TznScaleValues& values) {
  return static_cast<float>((double{values.NewScaleX} + values.NewScaleY) / (double{terra.FScaleX} + terra.FScaleY) *
                            terra.FScaleZ);
}

void CheckHeights(const TznTerra& terra, TznAltitudeRule rule, TznScaleTexts& texts, TznScaleValues& values) {
  values.Shift = 0;
  values.NewScaleZ = terra.FScaleZ;
  switch (rule) {
    case TznAltitudeRule::KeepRatio:
      // Edges that make the heights too large are refused with the edges.
      values.NewScaleZ = RatioScaleZ(terra, values);
      texts.High = Metres(terra.FHighest * double{values.NewScaleZ} / 100);
      texts.Low = Metres(terra.FLowest * double{values.NewScaleZ} / 100);
      return;
    case TznAltitudeRule::EditHighLow: {
      double high = ReadTwoDecimals(texts.High);
      double low = ReadTwoDecimals(texts.Low);
      if (high < low) {
        std::swap(texts.High, texts.Low);
        high = ReadTwoDecimals(texts.High);
        low = ReadTwoDecimals(texts.Low);
      }
      if (const std::string problem = HeightsProblem(high, low); !problem.empty()) throw EznError(problem);
      const int32_t range = terra.FHighest - terra.FLowest;
      if (range > 0) {
        if (high == low) throw EznError("Highest and lowest point must differ");
        values.NewScaleZ =
            static_cast<float>(double{terra.FScaleZ} * std::fabs(high - low) / (range * double{terra.FScaleZ} / 100));
        if (!IsUsableScale(values.NewScaleZ)) throw EznError("Scale out of range!");
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

// What new scales cannot hold, as the first part of the refusal; empty when
// they can. The object grid must stay within its bound, and the origin,
// the selection, the viewer and the heights (which all rescale with the
// terrain) within kMaxMetres.
std::string ScaleProblem(const TznTerra& terra, const TznScaleValues& values) {
  const double fx = double{values.NewScaleX} / terra.FScaleX;
  const double fy = double{values.NewScaleY} / terra.FScaleY;
  const double fz = double{values.NewScaleZ} / terra.FScaleZ;
  const TVec3 origin = MakeVector3f(static_cast<float>(terra.FOrigin.x * fx), static_cast<float>(terra.FOrigin.y * fy), 0);
  const double objects = terra.MostRWXObjects(origin, values.NewScaleX, values.NewScaleY, terra.FObjectSize);
  if (objects > TznTerra::kMaxRWXObjects)
    return "Edges out of range! " + RWXObjectLimitText(objects, terra.FObjectSize);
  const TznGLPositionDef& viewer = terra.FViewer;
  const double places[] = {terra.FOrigin.x * fx,    terra.FOrigin.y * fy,    terra.FOrigin.z * fz,
                           terra.FSelCentre.x * fx, terra.FSelCentre.y * fy, terra.FSelCentre.z * fz,
                           terra.FSideX * fx,       terra.FSideY * fy,       viewer.GetX() * fx,
                           viewer.GetZ() * fy,      viewer.GetY() * fz};
  for (double place : places)
    if (!(std::fabs(place) <= kMaxMetres))
      return "Scale out of range! The origin, the selection or the viewer would lie more than " + Metres(kMaxMetres) +
             " m away.";
  const double high = (terra.FHighest + values.Shift) * double{values.NewScaleZ} / 100;
  const double low = (terra.FLowest + values.Shift) * double{values.NewScaleZ} / 100;
  return HeightsProblem(high, low);
}

// The values of the texts with another driving edge, or nothing when that
// edge is refused itself.
std::optional<TznScaleValues> WithEdge(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts texts,
                                       bool edge_y, double edge, const TznScaleValues& checked) {
  (edge_y ? texts.EdgeY : texts.EdgeX) = Metres(edge);
  TznScaleValues values = checked;
  try {
    ReadEdges(terra, options, texts, values);
  } catch (const EznError&) {
    return std::nullopt;
  }
  if (options.Altitude == TznAltitudeRule::KeepRatio) values.NewScaleZ = RatioScaleZ(terra, values);
  return values;
}

// The longest edge, in hundredths of a metre, that the scales can hold, by
// halving the interval between the shortest edge and the refused one
// (every bound grows with the edge); nothing when not even 0.01 m fits.
std::optional<double> LongestEdge(const TznTerra& terra, const TznScaleOptions& options, const TznScaleTexts& texts,
                                  bool edge_y, double refused, const TznScaleValues& checked) {
  const auto fits = [&](double cents) {
    const std::optional<TznScaleValues> values = WithEdge(terra, options, texts, edge_y, cents / 100, checked);
    return values && ScaleProblem(terra, *values).empty();
  };
  double good = 1, bad = std::floor(refused * 100);
  if (!(bad > good) || !fits(good)) return std::nullopt;
  while (bad - good > 1) {
    const double middle = std::floor(good + (bad - good) / 2);
    (fits(middle) ? good : bad) = middle;
  }
  return good / 100;
}

// The refusal of scales that cannot be held, naming the longest edge that
// can when there is one.
[[noreturn]] void RefuseScales(const TznTerra& terra, const TznScaleOptions& options, const TznScaleTexts& typed,
                               const TznScaleValues& checked, const std::string& problem) {
  // The edge that drives; without the aspect kept, the first that can fit.
  const bool drive_y = options.KeepAspect && options.DriveY;
  for (bool edge_y : {drive_y, !drive_y}) {
    const double refused = *ParseReal(Metres(*ParseReal(Trim(edge_y ? typed.EdgeY : typed.EdgeX))));
    if (const std::optional<double> longest = LongestEdge(terra, options, typed, edge_y, refused, checked))
      throw EznError(problem + (edge_y ? " The vertical edge" : " The horizontal edge") + " can be at most " +
                     Metres(*longest) + " m.");
    if (options.KeepAspect) break;
  }
  throw EznError(problem);
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
  const TznScaleTexts typed = texts;
  TznScaleValues values;
  ReadEdges(terra, options, texts, values);
  CheckHeights(terra, options.Altitude, texts, values);
  const std::string problem = ScaleProblem(terra, values);
  if (!problem.empty()) RefuseScales(terra, options, typed, values, problem);
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
