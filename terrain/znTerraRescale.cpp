#include "terrain/znTerraRescale.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/znFormat.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"

namespace {

std::string MetresText(double value) { return FormatFixed(value, 2); }

bool IsUsableScale(float scale) { return std::isfinite(scale) && scale > 0; }

constexpr double kMaxMetres = TznTerra::kMaxMetres;

// "Heights out of range!" naming where the highest (lowest) point would lie
// and the height it can reach at most (least).
std::string HighestRefused(double high, double limit) {
  return "Heights out of range! The highest point would lie at " + MetresText(high) + " m; it can lie no higher than " +
         MetresText(limit) + " m.";
}
std::string LowestRefused(double low, double limit) {
  return "Heights out of range! The lowest point would lie at " + MetresText(low) + " m; it can lie no lower than " +
         MetresText(limit) + " m.";
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
  if (!(u >= lowest)) throw EznScaleRefused(LowestRefused(u * unit, lowest * unit));
  if (!(u + range <= highest)) throw EznScaleRefused(HighestRefused((u + range) * unit, highest * unit));
  return static_cast<int32_t>(u);
}

void CheckEdges(const TznTerra& terra, const TznScaleOptions& options, TznScaleMetres& metres, TznScaleValues& values) {
  const double steps_x = terra.FXPoints - 1.0, steps_y = terra.FYPoints - 1.0;
  values.NewScaleX = static_cast<float>(metres.EdgeX / steps_x);
  values.NewScaleY = static_cast<float>(metres.EdgeY / steps_y);
  if (options.KeepAspect && !options.DriveY) {
    values.NewScaleY = static_cast<float>(double{terra.FScaleY} * values.NewScaleX / terra.FScaleX);
    metres.EdgeY = steps_y * values.NewScaleY;
  } else if (options.KeepAspect) {
    values.NewScaleX = static_cast<float>(double{values.NewScaleY} / terra.FScaleY * terra.FScaleX);
    metres.EdgeX = steps_x * values.NewScaleX;
  }
  // A zero or negative edge would fold the terrain onto itself, and every
  // later rescale would divide by its zero scale.
  if (!(values.NewScaleX > 0 && values.NewScaleY > 0))
    throw EznScaleRefused("The edges of the map must be longer than 0 m");
}

// The heights follow the horizontal scales, times the relief.
float RatioScaleZ(const TznTerra& terra, const TznScaleOptions& options, const TznScaleValues& values) {
  return static_cast<float>((double{values.NewScaleX} + values.NewScaleY) / (double{terra.FScaleX} + terra.FScaleY) *
                            terra.FScaleZ * options.Relief);
}

void CheckHeights(const TznTerra& terra, const TznScaleOptions& options, TznScaleMetres& metres,
                  TznScaleValues& values) {
  values.Shift = 0;
  values.NewScaleZ = terra.FScaleZ;
  switch (options.Altitude) {
    case TznAltitudeRule::KeepRatio:
      // Edges that make the heights too large are refused with the edges.
      values.NewScaleZ = RatioScaleZ(terra, options, values);
      metres.High = terra.FHighest * double{values.NewScaleZ} / 100;
      metres.Low = terra.FLowest * double{values.NewScaleZ} / 100;
      break;
    case TznAltitudeRule::EditHighLow: {
      if (metres.High < metres.Low) std::swap(metres.High, metres.Low);
      if (const std::string problem = HeightsProblem(metres.High, metres.Low); !problem.empty())
        throw EznScaleRefused(problem);
      const int32_t range = terra.FHighest - terra.FLowest;
      if (range > 0) {
        if (metres.High == metres.Low) throw EznScaleRefused("Highest and lowest point must differ");
        values.NewScaleZ = static_cast<float>(double{terra.FScaleZ} * std::fabs(metres.High - metres.Low) /
                                              (range * double{terra.FScaleZ} / 100));
        if (!IsUsableScale(values.NewScaleZ)) throw EznScaleRefused("Scale out of range!");
        values.Shift = StoredLow(terra, metres.Low, values.NewScaleZ) - terra.FLowest;
      }
      break;
    }
    case TznAltitudeRule::EditLow: {
      const int32_t u = StoredLow(terra, metres.Low, values.NewScaleZ);
      metres.High = (terra.FHighest - terra.FLowest + u) * double{values.NewScaleZ} / 100;
      values.Shift = u - terra.FLowest;
      break;
    }
  }
  if (!IsUsableScale(values.NewScaleZ)) throw EznScaleRefused("Scale out of range!");
}

// What new scales cannot hold, as the first part of the refusal; empty when
// they can. The object grid must stay within its bound, and the origin,
// the selection, the viewer and the heights (which all rescale with the
// terrain) within kMaxMetres.
std::string ScaleProblem(const TznTerra& terra, const TznScaleValues& values) {
  const double fx = double{values.NewScaleX} / terra.FScaleX;
  const double fy = double{values.NewScaleY} / terra.FScaleY;
  const double fz = double{values.NewScaleZ} / terra.FScaleZ;
  const TVec3 origin =
      MakeVector3f(static_cast<float>(terra.FOrigin.x * fx), static_cast<float>(terra.FOrigin.y * fy), 0);
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
      return "Scale out of range! The origin, the selection or the viewer would lie more than " +
             MetresText(kMaxMetres) + " m away.";
  const double high = (terra.FHighest + values.Shift) * double{values.NewScaleZ} / 100;
  const double low = (terra.FLowest + values.Shift) * double{values.NewScaleZ} / 100;
  return HeightsProblem(high, low);
}

// The values with another driving edge, or nothing when that edge is
// refused itself.
std::optional<TznScaleValues> WithEdge(const TznTerra& terra, const TznScaleOptions& options, TznScaleMetres metres,
                                       bool edge_y, double edge, const TznScaleValues& checked) {
  (edge_y ? metres.EdgeY : metres.EdgeX) = edge;
  TznScaleValues values = checked;
  try {
    CheckEdges(terra, options, metres, values);
  } catch (const EznScaleRefused&) {
    return std::nullopt;
  }
  if (options.Altitude == TznAltitudeRule::KeepRatio) values.NewScaleZ = RatioScaleZ(terra, options, values);
  return values;
}

// The longest edge, in hundredths of a metre, that the scales can hold, by
// halving the interval between the shortest edge and the refused one
// (every bound grows with the edge); nothing when not even 0.01 m fits.
std::optional<double> LongestEdge(const TznTerra& terra, const TznScaleOptions& options, const TznScaleMetres& given,
                                  bool edge_y, const TznScaleValues& checked) {
  const auto fits = [&](double cents) {
    const std::optional<TznScaleValues> values = WithEdge(terra, options, given, edge_y, cents / 100, checked);
    return values && ScaleProblem(terra, *values).empty();
  };
  double good = 1, bad = std::floor((edge_y ? given.EdgeY : given.EdgeX) * 100);
  if (!(bad > good) || !fits(good)) return std::nullopt;
  while (bad - good > 1) {
    const double middle = std::floor(good + (bad - good) / 2);
    (fits(middle) ? good : bad) = middle;
  }
  return good / 100;
}

// The refusal of scales that cannot be held, naming the longest edge that
// can when there is one.
[[noreturn]] void RefuseScales(const TznTerra& terra, const TznScaleOptions& options, const TznScaleMetres& given,
                               const TznScaleValues& checked, const std::string& problem) {
  // The edge that drives; without the aspect kept, the first that can fit.
  const bool drive_y = options.KeepAspect && options.DriveY;
  for (bool edge_y : {drive_y, !drive_y}) {
    if (const std::optional<double> longest = LongestEdge(terra, options, given, edge_y, checked))
      throw EznScaleRefused(problem + (edge_y ? " The vertical edge" : " The horizontal edge") + " can be at most " +
                            MetresText(*longest) + " m.");
    if (options.KeepAspect) break;
  }
  throw EznScaleRefused(problem);
}

}  // namespace

TznScaleMetres ScaleMetresOf(const TznTerra& terra) {
  return {(terra.FXPoints - 1) * double{terra.FScaleX}, (terra.FYPoints - 1) * double{terra.FScaleY},
          terra.Metres(terra.FHighest), terra.Metres(terra.FLowest)};
}

TznScaleValues CheckScaleMetres(const TznTerra& terra, const TznScaleOptions& options, TznScaleMetres& metres) {
  if (terra.FXPoints < 2 || terra.FYPoints < 2) throw EznScaleRefused("No terrain loaded");
  const TznScaleMetres given = metres;
  TznScaleValues values;
  CheckEdges(terra, options, metres, values);
  CheckHeights(terra, options, metres, values);
  const std::string problem = ScaleProblem(terra, values);
  if (!problem.empty()) RefuseScales(terra, options, given, values, problem);
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
  if (values.Shift != 0) {
    terra.ShiftHeights(values.Shift);
    // The water moves with the heights, so the same shore stays wet.
    terra.SetWaterLevel(static_cast<int16_t>(std::clamp<int32_t>(
        terra.FWaterLevel + values.Shift, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max())));
  }
  terra.RecalcExtremes();
  terra.RebuildChunks();
}

void RescaleTerrain(TznTerra& terra, std::optional<double> edge_x, double relief) {
  TznScaleOptions options;
  options.Relief = relief;
  TznScaleMetres metres = ScaleMetresOf(terra);
  if (edge_x) metres.EdgeX = *edge_x;
  ApplyScaleValues(terra, CheckScaleMetres(terra, options, metres));
}
