#include "views/znScaleValues.h"

#include <optional>

#include "base/znError.h"
#include "base/znFormat.h"

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

TznScaleTexts TextsOf(const TznScaleMetres& metres) {
  return {Metres(metres.EdgeX), Metres(metres.EdgeY), Metres(metres.High), Metres(metres.Low)};
}

}  // namespace

TznScaleTexts ScaleTextsOf(const TznTerra& terra) { return TextsOf(ScaleMetresOf(terra)); }

TznScaleValues CheckScaleTexts(const TznTerra& terra, const TznScaleOptions& options, TznScaleTexts& texts) {
  TznScaleMetres metres;
  metres.EdgeX = ReadTwoDecimals(texts.EdgeX);
  metres.EdgeY = ReadTwoDecimals(texts.EdgeY);
  if (options.Altitude == TznAltitudeRule::EditHighLow) metres.High = ReadTwoDecimals(texts.High);
  if (options.Altitude != TznAltitudeRule::KeepRatio) metres.Low = ReadTwoDecimals(texts.Low);
  const TznScaleValues values = CheckScaleMetres(terra, options, metres);
  texts = TextsOf(metres);
  return values;
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
