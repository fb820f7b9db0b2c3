#include "app/znVertexChoices.h"

#include <algorithm>
#include <cmath>

#include "base/znFormat.h"
#include "base/znRound.h"

namespace {

// The spacing as shown, with "~" when rounding changed it. Halves round up,
// as the list has always shown 62.5 cm as "~63cm".
std::string SpacingText(int vertices) {
  const int steps = vertices - 1;
  const bool in_metres = vertices <= 11;
  // Both forms show whole centimetres: 10 m are 1000 of them.
  const double exact = 1000.0 / steps;
  const bool is_exact = 1000 % steps == 0;
  const std::string prefix = is_exact ? "" : "~";
  if (in_metres) return prefix + FormatFixed(exact / 100.0, 2) + "m";
  return prefix + FormatInt(static_cast<int64_t>(std::floor(exact + 0.5))) + "cm";
}

}  // namespace

std::string VertexEntryText(int vertices) {
  const std::string side = FormatInt(vertices);
  return side + " x " + side + " = " + FormatInt(int64_t{vertices} * vertices) + "  (" + SpacingText(vertices) + ")";
}

int VerticesPerObject(int vertices, float object_size) {
  if (vertices < 2) return 0;
  const int64_t tens = Round(object_size / 10.0);  // 10 m steps along a side
  return static_cast<int>(int64_t{vertices} * vertices * tens * tens);
}

std::string TotalPerObjectText(int total) { return "Total per object: " + FormatInt(total); }

int64_t GridTrianglesPerObject(int vertices, float object_size) {
  if (vertices < 2) return 0;
  const int64_t cells = (vertices - 1) * Round(object_size / 10.0);
  return 2 * cells * cells;
}

std::string TrianglesPerObjectText(int64_t grid, bool adaptive, std::optional<double> adaptive_mean) {
  const std::string text = "Triangles per object: ";
  if (!adaptive) return text + FormatInt(grid);
  if (!adaptive_mean) return text + "at most " + FormatInt(grid);
  return text + "about " + FormatInt(Round(*adaptive_mean)) + " (grid: " + FormatInt(grid) + ")";
}

std::optional<double> ParseMaxErrorCm(std::string_view text) {
  const std::optional<double> value = ParseReal(Trim(text));
  if (!value) return std::nullopt;
  return std::clamp(*value, kMinMaxErrorCm, kMaxMaxErrorCm);
}

std::string MaxErrorText(double centimetres) { return FormatFixed(centimetres, 2); }

std::vector<std::string> WorldSizeEntries() {
  struct TSize {
    int metres;
    const char* editions;
  };
  static const TSize kSizes[] = {
      {200, "Basic, Standard, Large, Unlimited"},
      {400, "Basic, Standard, Large, Unlimited"},
      {500, "Standard, Large, Unlimited"},
      {600, "Standard, Large, Unlimited"},
      {800, "Standard, Large, Unlimited"},
      {1000, "Standard, Large, Unlimited"},
      {1200, "Large, Unlimited"},
      {1400, "Large, Unlimited"},
      {1600, "Large, Unlimited"},
      {1800, "Unlimited"},
      {2000, "Unlimited"},
  };
  std::vector<std::string> entries{"I don't care :)"};
  for (const TSize& size : kSizes) {
    const std::string side = FormatInt(size.metres);
    entries.push_back(side + "x" + side + " = " + size.editions);
  }
  return entries;
}
