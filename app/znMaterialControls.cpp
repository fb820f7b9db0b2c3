#include "app/znMaterialControls.h"

#include <algorithm>
#include <limits>

#include "base/znFormat.h"
#include "base/znSafeFile.h"

int ColorLabelValue(std::string_view text) {
  const std::optional<int64_t> value = ParseInt(Trim(text));
  if (!value) return 255;
  return static_cast<int>(std::clamp<int64_t>(*value, 0, 255));
}

TColor ColorFromLabels(std::string_view red, std::string_view green, std::string_view blue) {
  return static_cast<TColor>(ColorLabelValue(red)) | static_cast<TColor>(ColorLabelValue(green)) << 8 |
         static_cast<TColor>(ColorLabelValue(blue)) << 16;
}

std::string FormatCoefficient(float value) { return FormatFixed(value, 6); }

std::optional<double> ParseCoefficient(std::string_view text) { return ParseReal(Trim(text)); }

std::optional<int32_t> ParseTag(std::string_view text) {
  const std::optional<int64_t> value = ParseInt(Trim(text));
  if (!value || *value < std::numeric_limits<int32_t>::min() || *value > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(*value);
}

std::string TexturePicturePath(const std::string& textures_dir, const std::string& name) {
  const std::string base = textures_dir + name;
  for (const char* extension : {".jpg", ".bmp"})
    if (FileExists(base + extension)) return base + extension;
  return {};
}
