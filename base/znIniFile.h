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
//
// Reading, looking up and writing take time in proportion to the file's
// size: sections and keys are found through hash tables made while reading,
// and lines written into the middle of a file are linked in, not moved.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TznIniFile {
 public:
  // Lines of a new file end in CR LF on Windows, LF elsewhere.
#ifdef _WIN32
  static constexpr bool kNativeCrLf = true;
#else
  static constexpr bool kNativeCrLf = false;
#endif

  // An object serves one thread at a time: its lookups fill its tables.
  //
  // Reads the file; a missing file gives an empty one. Throws EznFileError
  // when the file exists but cannot be read.
  explicit TznIniFile(std::string file_name);
  // Takes the content as if read from the file; nothing is read, and the
  // file is only written by UpdateFile.
  TznIniFile(std::string file_name, std::string_view content);
  TznIniFile(const TznIniFile&) = delete;
  TznIniFile& operator=(const TznIniFile&) = delete;
  TznIniFile(TznIniFile&&) = default;
  TznIniFile& operator=(TznIniFile&&) = default;

  const std::string& FileName() const { return FFileName; }

  // The value as written after "=", without surrounding blanks; the default
  // when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view default_value) const;
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
  enum class TLineKind : uint8_t { Other, Section, Key };
  static constexpr size_t kNoLine = static_cast<size_t>(-1);
  // One line. Its text lies in the content read or, once written, in a
  // string of its own; name and value point into that text.
  struct TLine {
    std::string_view text;   // the line's bytes without its line break
    std::string_view name;   // section name or key, trimmed
    std::string_view value;  // key lines: the trimmed value
    size_t next = kNoLine;   // the line that follows in the file
    uint8_t ending = 0;      // 0 none (a last line), 1 LF, 2 CR LF
    TLineKind kind = TLineKind::Other;
  };
  // Section or line numbers by name, names compared without regard to
  // ASCII case. The names point into the lines' texts, which never move.
  struct TNameHash {
    size_t operator()(std::string_view name) const;
  };
  struct TSameName {
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using TNameTable = std::unordered_map<std::string_view, size_t, TNameHash, TSameName>;
  // The first block of lines under a section name; later blocks of the
  // same name are kept as text only. Its keys are put into a table when
  // the section is first searched, so that a large section nobody asks
  // about costs nothing but its reading.
  struct TSection {
    size_t header = kNoLine;
    size_t last_key = kNoLine;  // a new key goes after it: the last key line, else the header
    mutable bool indexed = false;
    mutable TNameTable keys;  // key lines by key, the first of equal keys only
  };

  void Parse(std::string_view content);
  // Makes a line of the text (which must stay where it is), links it in
  // after the given line (kNoLine: first) and files it under its section
  // as the reading of a file would.
  size_t AddLine(std::string_view text, uint8_t ending, size_t after);
  void FileLine(size_t line);
  static void Classify(TLine& line);
  void IndexKeys(const TSection& section) const;
  const TSection* FindSection(std::string_view section) const;
  // The first key line of that name in the section's first block, or kNoLine.
  size_t FindKeyLine(const TSection& section, std::string_view key) const;
  const TLine* FindKey(std::string_view section, std::string_view key) const;
  void AppendSection(std::string_view section, std::string_view key, std::string_view value);
  void InsertLine(size_t after, std::string text);
  std::string_view Keep(std::string text);

  std::string FFileName;
  std::string FPrefix;       // a byte-order mark before the first line
  bool FCrLf = kNativeCrLf;  // new lines end like the file's first line
  // What the lines point into: the text read, then the text of every line
  // written since. The strings never move, not even when the object does.
  std::deque<std::string> FTexts;
  std::vector<TLine> FLines;  // in the order they were made, not the file's
  size_t FFirst = kNoLine, FLast = kNoLine;
  size_t FFilingSection = kNoLine;  // the section that the next key lines filed belong to
  std::vector<TSection> FSections;  // in the order of their first header
  TNameTable FSectionTable;         // section numbers by name
};
