#include "rwx/znRWXFaceFilter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "base/znAngles.h"
#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znIniFile.h"

namespace {

constexpr std::string_view kSection = "Filter";

// The file's words for the apply-to choice, by value.
constexpr const char* kApplyToWords[] = {"Lowest", "2Lowest", "Highest", "2Highest", "All3", "Any", "FaceCentre"};
constexpr int kApplyToCount = sizeof kApplyToWords / sizeof kApplyToWords[0];

// A missing or empty key gives 0; a text that is not a number keeps the value.
// A number beyond the range of a single is held as the largest single of
// its sign: it means as much as a limit, and unlike an infinity it can be
// saved and read again.
void ReadBound(const TznIniFile& ini, std::string_view key, float& field) {
  const std::string text = ini.ReadString(kSection, key, "");
  if (text.empty()) {
    field = 0;
    return;
  }
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (std::optional<double> value = ParseReal(text))
    field = static_cast<float>(std::clamp(*value, -kLargest, kLargest));
}

TznApplyToVerts ReadApplyTo(const TznIniFile& ini) {
  const std::string text = ini.ReadString(kSection, "ApplyToVerts", "");
  for (int value = 0; value < kApplyToCount; ++value)
    if (SameText(text, kApplyToWords[value])) return static_cast<TznApplyToVerts>(value);
  return avLowest;
}

// Vertices whose height is at or below (above) that of both others.
bool IsLowest(const TVec3 (&p)[3], int i) { return p[i].y <= p[(i + 1) % 3].y && p[i].y <= p[(i + 2) % 3].y; }
bool IsHighest(const TVec3 (&p)[3], int i) { return p[i].y >= p[(i + 1) % 3].y && p[i].y >= p[(i + 2) % 3].y; }

TVec3 CentrePoint(const TVec3 (&p)[3]) {
  return MakeVector3f((p[0].x + p[1].x + p[2].x) / 3.0f, (p[0].y + p[1].y + p[2].y) / 3.0f,
                      (p[0].z + p[1].z + p[2].z) / 3.0f);
}

}  // namespace

TznRWXFaceFilter::TznRWXFaceFilter() {
  Clear();
  FUseHigh = true;
}

void TznRWXFaceFilter::Clear() {
  FUseWest = FUseHigh = FUseEast = FUseLow = FUseSouth = FUseNorth = false;
  FUseHighGradient = FUseLowGradient = false;
  FApplyToVerts = avLowest;
  FHighGradient = 90;
  FLowGradient = 0;
}

void TznRWXFaceFilter::Assign(const TznRWXFaceFilter* source) {
  if (source && source != this) *this = *source;
}

struct TznRWXFaceFilter::TznConditionKeys {
  std::string_view use_key;
  std::string_view value_key;
  bool TznRWXFaceFilter::*use;
  float TznRWXFaceFilter::*value;
};

const TznRWXFaceFilter::TznConditionKeys TznRWXFaceFilter::kConditionKeys[8] = {
    {"UseWest", "West", &TznRWXFaceFilter::FUseWest, &TznRWXFaceFilter::FWest},
    {"UseEast", "East", &TznRWXFaceFilter::FUseEast, &TznRWXFaceFilter::FEast},
    {"UseNorth", "North", &TznRWXFaceFilter::FUseNorth, &TznRWXFaceFilter::FNorth},
    {"UseSouth", "South", &TznRWXFaceFilter::FUseSouth, &TznRWXFaceFilter::FSouth},
    {"UseHigh", "High", &TznRWXFaceFilter::FUseHigh, &TznRWXFaceFilter::FHigh},
    {"UseLow", "Low", &TznRWXFaceFilter::FUseLow, &TznRWXFaceFilter::FLow},
    {"UseHighGradient", "HighGradient", &TznRWXFaceFilter::FUseHighGradient, &TznRWXFaceFilter::FHighGradient},
    {"UseLowGradient", "LowGradient", &TznRWXFaceFilter::FUseLowGradient, &TznRWXFaceFilter::FLowGradient},
};

void TznRWXFaceFilter::LoadFromFile(const std::string& file_name) {
  const TznIniFile ini(file_name);
  for (const TznConditionKeys& keys : kConditionKeys) {
    this->*keys.use = ini.ReadBool(kSection, keys.use_key, false);
    ReadBound(ini, keys.value_key, this->*keys.value);
  }
  FApplyToVerts = ReadApplyTo(ini);
}

void TznRWXFaceFilter::SaveToFile(const std::string& file_name) const {
  TznIniFile ini(file_name);
  for (const TznConditionKeys& keys : kConditionKeys) {
    ini.WriteBool(kSection, keys.use_key, this->*keys.use);
    ini.WriteReal(kSection, keys.value_key, this->*keys.value);
  }
  if (FApplyToVerts < kApplyToCount) ini.WriteString(kSection, "ApplyToVerts", kApplyToWords[FApplyToVerts]);
  ini.UpdateFile();
}

bool TznRWXFaceFilter::IsPassThrough() const {
  return !(FUseWest || FUseHigh || FUseEast || FUseLow || FUseSouth || FUseNorth || FUseHighGradient ||
           FUseLowGradient);
}

TVec3 TznRWXFaceFilter::FilterPoint(const TVec3& vertex, double centre_x, double centre_z) {
  return MakeVector3f(static_cast<float>(centre_x / 100 - vertex.x), vertex.y,
                      static_cast<float>(-static_cast<double>(vertex.z) - centre_z / 100));
}

double TznRWXFaceFilter::FaceGradient(const TVec3& normal) {
  // The elevation angle that XYZToSpherical gives for (-nz, -nx, ny),
  // without the azimuth it would also compute and the filter never uses.
  const double nx = normal.x, ny = normal.y, nz = normal.z;
  const double horizontal = std::sqrt(nz * nz + nx * nx);
  double elevation, radius;
  XYToPolar(elevation, radius, horizontal, ny);
  double angle = AngleMod360(elevation * 180 / std::numbers::pi);
  if (angle > 90) angle = angle > 270 ? angle - 360 : 180 - angle;
  const double gradient = 90 - std::fabs(angle);
  return angle < 0 ? -gradient : gradient;
}

bool TznRWXFaceFilter::Applies(const TVec3& v0, const TVec3& v1, const TVec3& v2, const TVec3& normal, double centre_x,
                               double centre_z) const {
  if (IsPassThrough()) return true;
  return AppliesToBounds(v0, v1, v2, centre_x, centre_z) && AppliesToGradient(normal);
}

bool TznRWXFaceFilter::AppliesToBounds(const TVec3& v0, const TVec3& v1, const TVec3& v2, double centre_x,
                                       double centre_z) const {
  if (!UsesBounds()) return true;
  // The heights are the vertices' own; west and north are worked out only
  // when a bound asks for them.
  TVec3 points[3] = {v0, v1, v2};
  if (FUseWest || FUseEast || FUseNorth || FUseSouth)
    for (TVec3& p : points) p = FilterPoint(p, centre_x, centre_z);
  return (!FUseHigh || PassesBound(points, [this](const TVec3& p) { return p.y <= FHigh; })) &&
         (!FUseLow || PassesBound(points, [this](const TVec3& p) { return p.y >= FLow; })) &&
         (!FUseWest || PassesBound(points, [this](const TVec3& p) { return p.x >= FWest; })) &&
         (!FUseEast || PassesBound(points, [this](const TVec3& p) { return p.x <= FEast; })) &&
         (!FUseNorth || PassesBound(points, [this](const TVec3& p) { return p.z <= FNorth; })) &&
         (!FUseSouth || PassesBound(points, [this](const TVec3& p) { return p.z >= FSouth; }));
}

template <typename Condition>
bool TznRWXFaceFilter::PassesBound(const TVec3 (&points)[3], Condition meets) const {
  switch (FApplyToVerts) {
    case avLowest:
    case av2Lowest:
      for (int i = 0; i < 3; ++i)
        if (IsLowest(points, i) && meets(points[i])) return true;
      return false;
    case avHighest:
    case av2Highest:
      for (int i = 0; i < 3; ++i)
        if (IsHighest(points, i) && meets(points[i])) return true;
      return false;
    case avAll3:
      return meets(points[0]) && meets(points[1]) && meets(points[2]);
    case avAny:
      return meets(points[0]) || meets(points[1]) || meets(points[2]);
    case avFaceCentre:
      return meets(CentrePoint(points));
  }
  return true;  // a value outside the choices tests nothing
}

bool TznRWXFaceFilter::AppliesToGradient(const TVec3& normal) const {
  if (!FUseHighGradient && !FUseLowGradient) return true;
  const double gradient = FaceGradient(normal);
  if (FUseHighGradient && !(gradient <= FHighGradient)) return false;
  return !FUseLowGradient || gradient >= FLowGradient;
}
