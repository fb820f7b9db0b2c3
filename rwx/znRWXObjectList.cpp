#include "rwx/znRWXObjectList.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <set>
#include <utility>

#include "base/znError.h"
#include "base/znFormat.h"

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Fields 1 to count of a line, split at single blanks.
std::vector<std::string_view> Fields(std::string_view line, int count) {
  std::vector<std::string_view> fields;
  while (static_cast<int>(fields.size()) < count) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) break;
    fields.push_back(line.substr(0, blank));
    line.remove_prefix(blank + 1);
  }
  return fields;
}

// Where a line places its object in grid order: centimetres north, then
// east; nothing for a line that places none.
std::optional<std::pair<int64_t, int64_t>> GridPlace(std::string_view line) {
  const std::vector<std::string_view> fields = Fields(line, 5);
  if (fields.size() < 5) return std::nullopt;
  const std::optional<int64_t> west = ParseInt(fields[2]), north = ParseInt(fields[4]);
  if (!west || !north) return std::nullopt;
  return std::make_pair(*north, -*west);
}

}  // namespace

std::string ListedName(std::string_view line) {
  if (EndsWith(line, "\r")) line.remove_suffix(1);
  std::optional<int64_t> length;
  for (int field = 1; field <= 9; ++field) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) return "";
    if (field == 7) length = ParseInt(line.substr(0, blank));
    line.remove_prefix(blank + 1);
  }
  if (!length || *length < 0 || static_cast<size_t>(*length) > line.size()) return "";
  return std::string(line.substr(0, static_cast<size_t>(*length)));
}

std::vector<std::string> ReadObjectList(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (errno == ENOENT) return lines;
    throw EznFileError(FileErrorText("Cannot open file", path, errno));
  }
  std::string line;
  while (std::getline(in, line)) {
    if (EndsWith(line, "\r")) line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  if (in.bad()) throw EznFileError(FileErrorText("Cannot read file", path, errno));
  return lines;
}

std::vector<std::string> MergeObjectLists(const std::vector<std::string>& earlier,
                                          const std::vector<std::string>& lines) {
  std::set<std::string> relisted;
  for (const std::string& line : lines) relisted.insert(ListedName(line));
  std::vector<std::string> merged;
  for (const std::string& line : earlier) {
    const std::string name = ListedName(line);
    if (name.empty() || !relisted.count(name)) merged.push_back(line);
  }
  merged.insert(merged.end(), lines.begin(), lines.end());
  std::stable_sort(merged.begin(), merged.end(), [](const std::string& a, const std::string& b) {
    const auto place_a = GridPlace(a), place_b = GridPlace(b);
    if (!place_a || !place_b) return place_a && !place_b;
    return *place_a < *place_b;
  });
  return merged;
}

std::string ObjectListText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
