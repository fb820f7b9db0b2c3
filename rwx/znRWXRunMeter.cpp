#include "rwx/znRWXRunMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/znFormat.h"

std::string DurationText(double seconds) {
  const int64_t whole = std::llround(std::max(0.0, seconds));
  char text[48];
  if (whole < 60)
    std::snprintf(text, sizeof(text), "%lld s", static_cast<long long>(whole));
  else if (whole < 3600)
    std::snprintf(text, sizeof(text), "%lld min %02lld s", static_cast<long long>(whole / 60),
                  static_cast<long long>(whole % 60));
  else
    std::snprintf(text, sizeof(text), "%lld h %02lld min", static_cast<long long>(whole / 3600),
                  static_cast<long long>(whole / 60 % 60));
  return text;
}

std::string RunFlowText(const TznRunFigures& figures) {
  std::string text = FormatFixed(static_cast<double>(figures.Bytes) / 1e6, 1) + " MB";
  if (figures.DoneHere <= 0 || figures.Seconds < 0.5) return text;
  const double rate = figures.DoneHere / figures.Seconds;
  return text + ", " + FormatInt(std::llround(rate)) + " objects/s, " +
         DurationText((figures.Count - figures.Done) / rate) + " left";
}

std::string RunFiguresText(const TznRunFigures& figures) {
  return FormatInt(figures.Done) + " of " + FormatInt(figures.Count) + " objects, " + RunFlowText(figures);
}
