#include "base/znFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "base/znRound.h"

namespace {

// Room for the longest fixed-point value a double can give with up to
// 20 decimals (about 309 digits before the point).
constexpr int kFixedBuffer = 352;

void AppendChars(std::string& out, double value, std::chars_format format, int precision) {
  char buffer[kFixedBuffer];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  if (result.ec == std::errc()) out.append(buffer, result.ptr);
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Removes a leading "+" or "-" from text; true for "-".
bool TakeSign(std::string_view& text) {
  if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
  const bool negative = text.front() == '-';
  text.remove_prefix(1);
  return negative;
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

}  // namespace

namespace {

// "00" .. "99": two digits per table look-up.
constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the decimal digits of v ending just before end; returns the start.
char* WriteDigits(char* end, uint64_t v) {
  while (v >= 100) {
    const unsigned pair = static_cast<unsigned>(v % 100) * 2;
    v /= 100;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
  }
  if (v >= 10) {
    *--end = kDigitPairs[v * 2 + 1];
    *--end = kDigitPairs[v * 2];
  } else {
    *--end = static_cast<char>('0' + v);
  }
  return end;
}

}  // namespace

std::string FormatInt(int64_t value) {
  std::string out;
  AppendInt(out, value);
  return out;
}

void AppendInt(std::string& out, int64_t value) {
  char buffer[24];
  char* end = buffer + sizeof buffer;
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char* begin = WriteDigits(end, magnitude);
  if (value < 0) *--begin = '-';
  out.append(begin, end);
}

void AppendFixed(std::string& out, double value, int decimals) {
  if (!std::isfinite(value)) {
    out += NonFinite(value);
    return;
  }
  AppendChars(out, value, std::chars_format::fixed, decimals);
}

namespace {

// The decimal digits of v written from out on, without a copy: the digit
// count first, then the digits backwards into place.
char* WriteUnsigned(char* out, uint64_t v) {
  int digits = v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : 4;
  for (uint64_t bound = 10000; digits < 20 && v >= bound; bound *= 10) ++digits;
  WriteDigits(out + digits, v);
  return out + digits;
}

}  // namespace

char* WriteFixed6(char* out, float value) {
  // Beyond 2^53 / 10^6 the integer would not be exact; such values take the
  // general path (no mesh coordinate comes near).
  if (!std::isfinite(value) || std::fabs(value) >= 9.0e9f) {
    const std::string text = FormatFixed(value, 6);
    return std::copy(text.begin(), text.end(), out);
  }
  // value * 10^6 is exact: 24 significant bits times 15625 * 2^6. Rounding
  // to the nearest integer, ties to even, then gives the six decimals.
  const double rounded = zn_detail::RoundHalfEven(static_cast<double>(value) * 1e6);
  const uint64_t magnitude = static_cast<uint64_t>(std::fabs(rounded));
  if (std::signbit(value)) *out++ = '-';
  out = WriteUnsigned(out, magnitude / 1000000);
  *out++ = '.';
  uint32_t fraction = static_cast<uint32_t>(magnitude % 1000000);
  for (int k = 4; k >= 0; k -= 2) {
    const unsigned pair = (fraction % 100) * 2;
    fraction /= 100;
    out[k] = kDigitPairs[pair];
    out[k + 1] = kDigitPairs[pair + 1];
  }
  return out + 6;
}

char* WriteInt(char* out, int64_t value) {
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (value < 0) *out++ = '-';
  return WriteUnsigned(out, magnitude);
}

void AppendFixed6(std::string& out, float value) {
  char buffer[kFixedBuffer];
  out.append(buffer, WriteFixed6(buffer, value));
}

std::string FormatFixed(double value, int decimals) {
  std::string out;
  AppendFixed(out, value, decimals);
  return out;
}

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) return NonFinite(value);
  std::string out;
  AppendChars(out, value, std::chars_format::general, 6);
  return out;
}

std::string FormatReal(double value) {
  if (!std::isfinite(value)) return NonFinite(value);
  std::string out;
  AppendChars(out, value, std::chars_format::general, 15);
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool in_run = false;
  for (char c : text) {
    const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    if (control && !in_run) out += ' ';
    if (!control) out += c;
    in_run = control;
  }
  return out;
}

std::optional<double> ParseReal(std::string_view text) {
  text = Trim(text);
  const bool negative = TakeSign(text);
  // Only digits, a point and an exponent make a number here: no "inf", "nan"
  // or hexadecimal floats, and no second sign.
  if (text.empty() || !(IsDigit(text.front()) || text.front() == '.')) return std::nullopt;
  double value = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<int64_t> ParseInt(std::string_view text) {
  text = Trim(text);
  const bool negative = TakeSign(text);
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  uint64_t magnitude = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  if (negative) {
    if (magnitude > 9223372036854775808ULL) return std::nullopt;
    return static_cast<int64_t>(0 - magnitude);
  }
  if (magnitude > 9223372036854775807ULL) return std::nullopt;
  return static_cast<int64_t>(magnitude);
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}
