// Number formatting and parsing that never depends on the process locale:
// the decimal separator is always ".".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "%.1d": a plain decimal integer, with a minus sign when negative.
std::string FormatInt(int64_t value);

// "%.Nf": fixed point with the given number of decimals, exactly rounded.
std::string FormatFixed(double value, int decimals);

// Appends "%.Nf" to a string without allocating a temporary; the hot path of
// the RWX writer.
void AppendFixed(std::string& out, double value, int decimals);
void AppendInt(std::string& out, int64_t value);

// "%.6f" of a single value, exactly as the C library writes it but several
// times faster: the value times 10^6 is exact in double precision, so one
// rounding to an integer gives the six decimals.
void AppendFixed6(std::string& out, float value);

// The same two writers into a character buffer, returning the end: the
// buffer must hold 352 characters for "%.6f" and 21 for an integer.
char* WriteFixed6(char* out, float value);
char* WriteInt(char* out, int64_t value);

// "%g": general format with six significant digits, trailing zeros removed.
std::string FormatGeneral(double value);

// General format with up to 15 significant digits ("%.15g"); the way reals
// are stored in the INI files. A single value is widened first, so 0.6f
// writes 0.600000023841858.
std::string FormatReal(double value);

// Parses a decimal real ("1.5", "-.25", "1e5", surrounding blanks allowed).
// Returns nothing when the text is not a number.
std::optional<double> ParseReal(std::string_view text);

// Parses a decimal integer (surrounding blanks, a sign, or "$"/"0x" hex).
// Returns nothing when the text is not an integer or does not fit.
std::optional<int64_t> ParseInt(std::string_view text);

// Blank-trimmed copy of a text (spaces, tabs, CR and LF).
std::string_view Trim(std::string_view text);

// A text made fit for one line of a line-based file: every run of control
// characters (CR, LF, tab and the others below a blank, and DEL) becomes a
// single blank.
std::string OneLine(std::string_view text);

// Upper-case copy (ASCII letters only).
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Compares two texts without regard to ASCII case.
bool SameText(std::string_view a, std::string_view b);
