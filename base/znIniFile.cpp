#include "base/znIniFile.h"

#include <cerrno>
#include <fstream>
#include <iterator>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kNone = static_cast<size_t>(-1);


std::string ReadWholeFile(const std::string& file_name) {
  std::ifstream in(file_name, std::ios::binary);
  if (!in) throw EznFileError(FileErrorText("Cannot open file", file_name, errno));
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EznFileError(FileErrorText("Cannot read file", file_name, errno));
  return content;
}

std::string WithoutLineBreaks(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line.append("=").append(value);
  return line;
}

}  // namespace

TznIniFile::TznIniFile(std::string file_name) : FFileName(std::move(file_name)) {
  if (FileExists(FFileName)) Parse(ReadWholeFile(FFileName));
}

TznIniFile::TznIniFile(std::string file_name, std::string_view content) : FFileName(std::move(file_name)) {
  Parse(content);
}

void TznIniFile::Parse(std::string_view content) {
  if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    FPrefix = kByteOrderMark;
    content.remove_prefix(kByteOrderMark.size());
  }
  bool line_break_known = false;
  size_t pos = 0;
  while (pos < content.size()) {
    const size_t newline = content.find('\n', pos);
    if (newline == std::string_view::npos) {
      FLines.push_back(MakeLine(std::string(content.substr(pos)), ""));
      break;
    }
    const bool crlf = newline > pos && content[newline - 1] == '\r';
    std::string ending = crlf ? "\r\n" : "\n";
    if (!line_break_known) FCrLf = crlf;
    line_break_known = true;
    FLines.push_back(MakeLine(std::string(content.substr(pos, newline - pos - (crlf ? 1 : 0))), std::move(ending)));
    pos = newline + 1;
  }
}

TznIniFile::TLine TznIniFile::MakeLine(std::string text, std::string ending) {
  TLine line;
  line.text = std::move(text);
  line.ending = std::move(ending);
  std::string_view trimmed = Trim(line.text);
  if (trimmed.empty() || trimmed.front() == ';') return line;
  if (trimmed.front() == '[') {
    size_t close = trimmed.find(']');
    line.kind = TLineKind::Section;
    line.name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return line;
  }
  size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos || Trim(trimmed.substr(0, equals)).empty()) return line;
  line.kind = TLineKind::Key;
  line.name = Trim(trimmed.substr(0, equals));
  line.value = Trim(trimmed.substr(equals + 1));
  return line;
}

bool TznIniFile::FindSection(std::string_view section, TRange& range) const {
  size_t header = kNone;
  for (size_t i = 0; i < FLines.size() && header == kNone; ++i)
    if (FLines[i].kind == TLineKind::Section && SameText(FLines[i].name, section)) header = i;
  if (header == kNone) return false;
  range.begin = header + 1;
  range.end = range.begin;
  while (range.end < FLines.size() && FLines[range.end].kind != TLineKind::Section) ++range.end;
  return true;
}

const TznIniFile::TLine* TznIniFile::FindKey(std::string_view section, std::string_view key) const {
  TRange range;
  if (!FindSection(section, range)) return nullptr;
  for (size_t i = range.begin; i < range.end; ++i)
    if (FLines[i].kind == TLineKind::Key && SameText(FLines[i].name, key)) return &FLines[i];
  return nullptr;
}

std::string TznIniFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_value) const {
  const TLine* line = FindKey(section, key);
  return line ? line->value : std::string(default_value);
}

int32_t TznIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const {
  const TLine* line = FindKey(section, key);
  if (!line) return default_value;
  std::optional<int64_t> value = ParseInt(line->value);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return default_value;
  return static_cast<int32_t>(*value);
}

bool TznIniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

double TznIniFile::ReadReal(std::string_view section, std::string_view key, double default_value) const {
  const TLine* line = FindKey(section, key);
  if (!line) return default_value;
  return ParseReal(line->value).value_or(default_value);
}

void TznIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string clean = WithoutLineBreaks(value);
  TRange range;
  if (!FindSection(section, range)) {
    AppendSection(section, key, clean);
    return;
  }
  size_t last_key = kNone;
  for (size_t i = range.begin; i < range.end; ++i) {
    TLine& line = FLines[i];
    if (line.kind != TLineKind::Key) continue;
    if (SameText(line.name, key)) {
      line.text = line.text.substr(0, line.text.find('=') + 1) + clean;
      line.value = Trim(clean);
      return;
    }
    last_key = i;
  }
  InsertLine(last_key == kNone ? range.begin : last_key + 1, KeyLine(key, clean));
}

void TznIniFile::AppendSection(std::string_view section, std::string_view key, std::string_view value) {
  std::string header = "[";
  header.append(section).append("]");
  InsertLine(FLines.size(), std::move(header));
  InsertLine(FLines.size(), KeyLine(key, value));
}

void TznIniFile::InsertLine(size_t position, std::string text) {
  // The line before may have been the file's last, without a line break.
  const char* line_break = FCrLf ? "\r\n" : "\n";
  if (position > 0 && FLines[position - 1].ending.empty()) FLines[position - 1].ending = line_break;
  FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(position), MakeLine(std::move(text), line_break));
}

void TznIniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  WriteString(section, key, FormatInt(value));
}

void TznIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TznIniFile::WriteReal(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, FormatReal(value));
}

bool TznIniFile::SectionExists(std::string_view section) const {
  TRange range;
  return FindSection(section, range);
}

bool TznIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

std::vector<std::string> TznIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const TLine& line : FLines) {
    if (line.kind != TLineKind::Section) continue;
    bool known = false;
    for (const std::string& name : names) known = known || SameText(name, line.name);
    if (!known) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> TznIniFile::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  TRange range;
  if (!FindSection(section, range)) return keys;
  for (size_t i = range.begin; i < range.end; ++i)
    if (FLines[i].kind == TLineKind::Key) keys.push_back(FLines[i].name);
  return keys;
}

std::string TznIniFile::Text() const {
  std::string out = FPrefix;
  for (const TLine& line : FLines) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

void TznIniFile::UpdateFile() const { SaveFileAtomically(FFileName, Text()); }
