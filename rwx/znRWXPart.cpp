#include "rwx/znRWXPart.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRunLock.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXObjectList.h"
#include "rwx/znRWXRunGuard.h"

std::string TznRWXPart::Suffix() const {
  if (IsWhole()) return "";
  return ".part" + FormatInt(Index) + "-of-" + FormatInt(Count);
}

std::pair<int, int> TznRWXPart::Range(int objects) const {
  const auto bound = [&](int64_t k) { return static_cast<int>(k * objects / Count); };
  return {bound(Index - 1), bound(Index)};
}

namespace {

// K and N of "partK-of-N", both whole numbers from 1 with K at most N.
std::optional<TznRWXPart> ParsePartName(std::string_view text) {
  constexpr std::string_view kPart = "part", kOf = "-of-";
  if (text.substr(0, kPart.size()) != kPart) return std::nullopt;
  text.remove_prefix(kPart.size());
  const size_t of = text.find(kOf);
  if (of == std::string_view::npos) return std::nullopt;
  const std::string_view k = text.substr(0, of), n = text.substr(of + kOf.size());
  const auto digits = [](std::string_view s) {
    return !s.empty() && s.size() < 10 && s[0] != '0' &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(k) || !digits(n)) return std::nullopt;
  const TznRWXPart part{static_cast<int>(*ParseInt(std::string(k))), static_cast<int>(*ParseInt(std::string(n)))};
  if (part.Index > part.Count) return std::nullopt;
  return part;
}

std::string HolderText(long holder) { return holder > 0 ? " (process " + FormatInt(holder) + ")" : std::string(); }

}  // namespace

std::vector<TznRWXPartFile> PartFilesOf(const std::string& base_file_name, const std::string& extension) {
  namespace fs = std::filesystem;
  const std::string folder = ExtractFilePath(base_file_name);
  const std::string start = ExtractFileName(base_file_name) + ".";
  std::vector<TznRWXPartFile> files;
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? "." : folder, error);
  if (error) return files;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= start.size() + extension.size() || name.compare(0, start.size(), start) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
      continue;
    const std::string_view middle =
        std::string_view(name).substr(start.size(), name.size() - start.size() - extension.size());
    if (const std::optional<TznRWXPart> part = ParsePartName(middle)) files.push_back({*part, folder + name});
  }
  std::sort(files.begin(), files.end(), [](const TznRWXPartFile& a, const TznRWXPartFile& b) {
    return std::make_pair(a.Part.Count, a.Part.Index) < std::make_pair(b.Part.Count, b.Part.Index);
  });
  return files;
}

void CheckNoPartRunning(const std::string& base_file_name) {
  for (const TznRWXPartFile& lock : PartFilesOf(base_file_name, ".prp.lock")) {
    long holder = 0;
    if (LockHeld(lock.Path, holder))
      throw EznFileError("Part " + FormatInt(lock.Part.Index) + " of " + FormatInt(lock.Part.Count) +
                         HolderText(holder) + " is writing under the base name \"" + base_file_name +
                         "\"; try again when it has finished");
  }
}

void CheckNoWholeRunRunning(const std::string& base_file_name) {
  long holder = 0;
  if (LockHeld(LockFileName(base_file_name), holder))
    throw EznFileError("Another run" + HolderText(holder) + " is writing under the base name \"" + base_file_name +
                       "\"; try again when it has finished");
}

namespace {

// The part lists of one count N, one for each part 1 .. N, in order.
std::vector<std::string> CompletePartLists(const std::string& base_file_name) {
  const std::vector<TznRWXPartFile> lists = PartFilesOf(base_file_name, ".prp");
  if (lists.empty()) throw EznInputFileError("No part list \"" + base_file_name + ".partK-of-N.prp\" is there to join");
  std::set<int> counts;
  for (const TznRWXPartFile& list : lists) counts.insert(list.Part.Count);
  if (counts.size() > 1)
    throw EznInputFileError("The part lists under \"" + base_file_name + "\" are of " + FormatInt(*counts.begin()) +
                            " and of " + FormatInt(*counts.rbegin()) +
                            " parts; remove those of the earlier run to go on");
  const int count = *counts.begin();
  std::vector<std::string> paths;
  for (int k = 1; k <= count; ++k) {
    const std::string path = base_file_name + TznRWXPart{k, count}.Suffix() + ".prp";
    if (!FileExists(path))
      throw EznInputFileError("The part list \"" + path + "\" is missing: run part " + FormatInt(k) + " of " +
                              FormatInt(count) + " first");
    paths.push_back(path);
  }
  return paths;
}

}  // namespace

int JoinPartLists(const std::string& base_file_name) {
  const std::string folder = ExtractFilePath(base_file_name);
  if (!folder.empty() && !DirectoryExists(folder))
    throw EznInputFileError("No part list \"" + base_file_name + ".partK-of-N.prp\" is there to join");
  TznRunLock lock;
  long holder = 0;
  if (!lock.Take(LockFileName(base_file_name), holder))
    throw EznFileError("Another run" + HolderText(holder) + " is writing under the base name \"" + base_file_name +
                       "\"; try again when it has finished");
  CheckNoPartRunning(base_file_name);
  std::vector<std::string> lines;
  for (const std::string& path : CompletePartLists(base_file_name)) {
    const std::vector<std::string> part = ReadObjectList(path);
    lines.insert(lines.end(), part.begin(), part.end());
  }
  lines = MergeObjectLists(ReadObjectList(base_file_name + ".prp"), lines);
  SaveFileAtomically(base_file_name + ".prp", ObjectListText(lines));
  return static_cast<int>(lines.size());
}
