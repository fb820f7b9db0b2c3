#include "base/znIniFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string ReadWholeFile(const std::string& file_name) {
  std::ifstream in(file_name, std::ios::binary);
  if (!in) throw EznInputFileError(FileErrorText("Cannot open file", file_name, errno));
  std::string content;
  std::error_code size_error;
  const uintmax_t size = std::filesystem::file_size(file_name, size_error);
  if (!size_error) content.reserve(static_cast<size_t>(size));
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) content.append(buffer, static_cast<size_t>(in.gcount()));
  if (in.bad()) throw EznInputFileError(FileErrorText("Cannot read file", file_name, errno));
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

// FNV-1a over the lower-case bytes of a name.
size_t TznIniFile::TNameHash::operator()(std::string_view name) const {
  uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

bool TznIniFile::TSameName::operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }

TznIniFile::TznIniFile(std::string file_name) : FFileName(std::move(file_name)) {
  if (FileExists(FFileName)) {
    FTexts.push_back(ReadWholeFile(FFileName));
    Parse(FTexts.back());
  }
}

TznIniFile::TznIniFile(std::string file_name, std::string_view content) : FFileName(std::move(file_name)) {
  FTexts.emplace_back(content);
  Parse(FTexts.back());
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
      AddLine(content.substr(pos), 0, FLast);
      break;
    }
    const bool crlf = newline > pos && content[newline - 1] == '\r';
    if (!line_break_known) FCrLf = crlf;
    line_break_known = true;
    AddLine(content.substr(pos, newline - pos - (crlf ? 1 : 0)), crlf ? 2 : 1, FLast);
    pos = newline + 1;
  }
}

void TznIniFile::Classify(TLine& line) {
  std::string_view trimmed = Trim(line.text);
  if (trimmed.empty() || trimmed.front() == ';') return;
  if (trimmed.front() == '[') {
    size_t close = trimmed.find(']');
    line.kind = TLineKind::Section;
    line.name = Trim(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return;
  }
  size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos || Trim(trimmed.substr(0, equals)).empty()) return;
  line.kind = TLineKind::Key;
  line.name = Trim(trimmed.substr(0, equals));
  line.value = Trim(trimmed.substr(equals + 1));
}

size_t TznIniFile::AddLine(std::string_view text, uint8_t ending, size_t after) {
  const size_t index = FLines.size();
  TLine& line = FLines.emplace_back();
  line.text = text;
  line.ending = ending;
  Classify(line);
  if (after == kNoLine) {
    line.next = FFirst;
    FFirst = index;
  } else {
    line.next = FLines[after].next;
    FLines[after].next = index;
  }
  if (line.next == kNoLine) FLast = index;
  FileLine(index);
  return index;
}

void TznIniFile::FileLine(size_t index) {
  const TLine& line = FLines[index];
  if (line.kind == TLineKind::Section) {
    // Only the first block of a name counts; lines of a later one are text.
    if (!FSectionTable.try_emplace(line.name, FSections.size()).second) {
      FFilingSection = kNoLine;
      return;
    }
    FFilingSection = FSections.size();
    TSection& section = FSections.emplace_back();
    section.header = section.last_key = index;
  } else if (line.kind == TLineKind::Key && FFilingSection != kNoLine) {
    TSection& section = FSections[FFilingSection];
    section.last_key = index;
    if (section.indexed) section.keys.try_emplace(line.name, index);
  }
}

void TznIniFile::IndexKeys(const TSection& section) const {
  section.indexed = true;
  for (size_t i = FLines[section.header].next; i != kNoLine && FLines[i].kind != TLineKind::Section; i = FLines[i].next)
    if (FLines[i].kind == TLineKind::Key) section.keys.try_emplace(FLines[i].name, i);
}

const TznIniFile::TSection* TznIniFile::FindSection(std::string_view section) const {
  const auto found = FSectionTable.find(section);
  return found == FSectionTable.end() ? nullptr : &FSections[found->second];
}

size_t TznIniFile::FindKeyLine(const TSection& section, std::string_view key) const {
  if (!section.indexed) IndexKeys(section);
  const auto found = section.keys.find(key);
  return found == section.keys.end() ? kNoLine : found->second;
}

const TznIniFile::TLine* TznIniFile::FindKey(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  if (!found) return nullptr;
  const size_t line = FindKeyLine(*found, key);
  return line == kNoLine ? nullptr : &FLines[line];
}

std::string TznIniFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_value) const {
  const TLine* line = FindKey(section, key);
  return std::string(line ? line->value : default_value);
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

std::string_view TznIniFile::Keep(std::string text) { return FTexts.emplace_back(std::move(text)); }

void TznIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string clean = WithoutLineBreaks(value);
  const TSection* found = FindSection(section);
  if (!found) {
    AppendSection(section, key, clean);
    return;
  }
  const size_t existing = FindKeyLine(*found, key);
  if (existing == kNoLine) {
    // The new line belongs to this section's first block.
    FFilingSection = static_cast<size_t>(found - FSections.data());
    InsertLine(found->last_key, KeyLine(key, clean));
    return;
  }
  // Still a key line of the same name, with the new value.
  TLine& line = FLines[existing];
  line.text = Keep(std::string(line.text.substr(0, line.text.find('=') + 1)) + clean);
  Classify(line);
}

void TznIniFile::AppendSection(std::string_view section, std::string_view key, std::string_view value) {
  std::string header = "[";
  header.append(section).append("]");
  InsertLine(FLast, std::move(header));
  InsertLine(FLast, KeyLine(key, value));
}

void TznIniFile::InsertLine(size_t after, std::string text) {
  // The line before may have been the file's last, without a line break.
  const uint8_t line_break = FCrLf ? 2 : 1;
  if (after != kNoLine && FLines[after].ending == 0) FLines[after].ending = line_break;
  AddLine(Keep(std::move(text)), line_break, after);
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

bool TznIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TznIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

std::vector<std::string> TznIniFile::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(FSections.size());
  for (const TSection& section : FSections) names.emplace_back(FLines[section.header].name);
  return names;
}

std::vector<std::string> TznIniFile::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  const TSection* found = FindSection(section);
  if (!found) return keys;
  for (size_t i = FLines[found->header].next; i != kNoLine && FLines[i].kind != TLineKind::Section; i = FLines[i].next)
    if (FLines[i].kind == TLineKind::Key) keys.emplace_back(FLines[i].name);
  return keys;
}

std::string TznIniFile::Text() const {
  size_t size = FPrefix.size();
  for (const TLine& line : FLines) size += line.text.size() + line.ending;
  std::string out;
  out.reserve(size);
  out += FPrefix;
  for (size_t i = FFirst; i != kNoLine; i = FLines[i].next) {
    const TLine& line = FLines[i];
    out += line.text;
    if (line.ending == 2) out += '\r';
    if (line.ending != 0) out += '\n';
  }
  return out;
}

void TznIniFile::UpdateFile() const { SaveFileAtomically(FFileName, Text()); }
