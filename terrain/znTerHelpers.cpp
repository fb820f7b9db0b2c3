#include "terrain/znTerHelpers.h"

#include <cmath>
#include <optional>
#include <string>

#include "base/znFormat.h"
#include "base/znRound.h"

namespace {

bool IsNumberLead(char c) { return c == '.' || c == '+' || c == '-'; }

struct LeadingNumber {
  double value = 0;
  std::string_view suffix;
};

// The longest prefix of the token that reads as a number, never reaching
// into an "e" or "E" (a letter E means east here, not an exponent).
std::optional<LeadingNumber> ReadLeadingNumber(std::string_view token) {
  size_t start = 0;
  while (start < token.size() && IsNumberLead(token[start])) ++start;
  std::optional<LeadingNumber> found;
  for (size_t length = start + 1; length <= token.size(); ++length) {
    char last = token[length - 1];
    if (last == 'e' || last == 'E') break;
    std::optional<double> value = ParseReal(token.substr(0, length));
    if (!value) break;
    found = LeadingNumber{*value, token.substr(length)};
  }
  return found;
}

bool IsDegreeSign(std::string_view suffix) {
  return suffix == "\xC2\xB0" || suffix == "\xB0";  // UTF-8 or Latin-1
}

}  // namespace

bool ParseCoordinates(std::string_view text, int& north, int& west, int& altitude, int& heading) {
  bool have_north = false, have_west = false, have_altitude = false, have_heading = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view token = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (token.empty()) continue;
    std::optional<LeadingNumber> number = ReadLeadingNumber(token);
    if (!number) continue;
    const double v = number->value;
    const std::string suffix = UpperCase(number->suffix);
    try {
      if ((suffix == "N" || suffix == "S") && !have_north) {
        north = Round32(std::fabs(v * 1000));
        if (suffix == "S") north = -north;
        have_north = true;
      } else if ((suffix == "W" || suffix == "E") && !have_west) {
        west = Round32(std::fabs(v * 1000));
        if (suffix == "E") west = -west;
        have_west = true;
      } else if (suffix == "A" && !have_altitude) {
        altitude = Round32(v * 100);
        have_altitude = true;
      } else if ((suffix.empty() || IsDegreeSign(suffix)) && !have_heading) {
        heading = Round32(v * 10);
        have_heading = true;
      }
    } catch (const EznRoundError&) {
      // A number too large for a position is no position.
    }
  }
  return have_north || have_west || have_altitude || have_heading;
}
