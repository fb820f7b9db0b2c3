// The INI dialect of the settings file and of every material, filter and
// composer file: "[Section]" lines open sections, "Key=Value" lines hold the
// values, and lines starting with ";" are comments.
//
// A file is read once into memory, read and written there, and written back
// by one explicit UpdateFile. Sections and keys are found without regard to
// case (the first of several equal names wins). Writing a key that exists
// replaces its value in place; a new key goes after the last key line of its
// section, a new section at the end of the file. Every other line keeps its
// bytes, including its CR LF or LF line break.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TznIniFile {
 public:
  // Lines of a new file end in CR LF on Windows, LF elsewhere.
#ifdef _WIN32
  static constexpr bool kNativeCrLf = true;
#else
  static constexpr bool kNativeCrLf = false;
#endif

  // Reads the file; a missing file gives an empty one. Throws EznFileError
  // when the file exists but cannot be read.
  explicit TznIniFile(std::string file_name);
  // Takes the content as if read from the file; nothing is read, and the
  // file is only written by UpdateFile.
  TznIniFile(std::string file_name, std::string_view content);

  const std::string& FileName() const { return FFileName; }

  // The value as written after "=", without surrounding blanks; the default
  // when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  // The default when the key is missing, empty, not a decimal (or "$"/"0x"
  // hexadecimal) integer, or outside 32 bits.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;
  // True for any non-zero integer; the default as for ReadInteger.
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;
  // Reads "." as the decimal separator whatever the locale; the default when
  // the key is missing, empty or not a number.
  double ReadReal(std::string_view section, std::string_view key, double default_value) const;

  // Line breaks inside a value become blanks, so that a value can never
  // add lines of its own to the file.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int64_t value);
  // Written as 1 or 0.
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // General format with up to 15 significant digits: a single value passed
  // here writes as it is stored (0.6f gives 0.600000023841858, 1 gives 1).
  void WriteReal(std::string_view section, std::string_view key, double value);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Section names in file order, each once.
  std::vector<std::string> ReadSections() const;
  // Key names of a section in file order.
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;

  // The file's content as UpdateFile writes it.
  std::string Text() const;
  // Writes the content through a temporary file that replaces the old one
  // only once complete. Throws EznFileError; the old file then stays.
  void UpdateFile() const;

 private:
  enum class TLineKind { Other, Section, Key };
  struct TLine {
    std::string text;    // the line's bytes without its line break
    std::string ending;  // "\r\n", "\n", or "" for a last line without one
    TLineKind kind = TLineKind::Other;
    std::string name;    // section name or key, trimmed
    std::string value;   // key lines: the trimmed value
  };
  struct TRange {
    size_t begin, end;  // lines of a section after its header
  };

  void Parse(std::string_view content);
  static TLine MakeLine(std::string text, std::string ending);
  bool FindSection(std::string_view section, TRange& range) const;
  const TLine* FindKey(std::string_view section, std::string_view key) const;
  void AppendSection(std::string_view section, std::string_view key, std::string_view value);
  void InsertLine(size_t position, std::string text);

  std::string FFileName;
  std::string FPrefix;  // a byte-order mark before the first line
  bool FCrLf = kNativeCrLf;  // new lines end like the file's first line
  std::vector<TLine> FLines;
};
