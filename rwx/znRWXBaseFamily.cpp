#include "rwx/znRWXBaseFamily.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string_view>

#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znRunLock.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXLeftovers.h"
#include "rwx/znRWXObjectList.h"
#include "rwx/znRWXRunGuard.h"

namespace {

constexpr std::string_view kList = ".prp";
constexpr std::string_view kLock = ".prp.lock";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// Drops a trailing ".partK-of-N" (K and N digits) from a list's name.
std::string_view WithoutPart(std::string_view name) {
  const size_t dot = name.rfind(".part");
  if (dot == std::string_view::npos) return name;
  std::string_view rest = name.substr(dot + 5);
  const size_t of = rest.find("-of-");
  if (of == 0 || of == std::string_view::npos || of + 4 == rest.size()) return name;
  for (size_t k = 0; k < rest.size(); ++k)
    if (!IsDigit(rest[k]) && (k < of || k >= of + 4)) return name;
  return name.substr(0, dot);
}

// The lock and list files in the folder that belong to other base names
// of the family, in name order.
std::set<std::string> FamilyFiles(const std::string& folder, const std::string& own, std::string_view extension) {
  namespace fs = std::filesystem;
  std::set<std::string> files;
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? "." : folder, error);
  if (error) return files;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (!EndsWith(name, extension) || !entry.is_regular_file(error)) continue;
    if (CanShareObjectNames(own, FamilyBaseOf(name))) files.insert(folder + name);
  }
  return files;
}

}  // namespace

std::string FamilyBaseOf(const std::string& file_name) {
  std::string_view name = file_name;
  if (EndsWith(name, kLock))
    name.remove_suffix(kLock.size());
  else if (EndsWith(name, kList))
    name.remove_suffix(kList.size());
  return std::string(WithoutPart(name));
}

bool CanShareObjectNames(const std::string& base, const std::string& other) {
  if (base.size() == other.size()) return false;
  const std::string& shorter = base.size() < other.size() ? base : other;
  const std::string& longer = base.size() < other.size() ? other : base;
  return longer.compare(0, shorter.size(), shorter) == 0 && IsDigit(longer[shorter.size()]);
}

void CheckBaseFamily(const std::string& base_file_name, const TznOutputNames& object_names) {
  const std::string folder = ExtractFilePath(base_file_name);
  const std::string own = ExtractFileName(base_file_name);
  // This run's file names, made only when another base of the family has
  // files in the folder: most folders hold none, and a run of millions of
  // objects then keeps no second list of its names.
  std::set<std::string> outputs;
  const auto our_outputs = [&]() -> const std::set<std::string>& {
    if (outputs.empty())
      for (int64_t k = 0; k < object_names.Count(); ++k) outputs.insert(own + object_names[k]);
    return outputs;
  };
  // The locks first: a run that lets go of its lock has written its list.
  // What a run in progress writes is unknown, but a file both runs write
  // is one of this run's that reads as the other base name and an object
  // name.
  for (const std::string& lock : FamilyFiles(folder, own, kLock)) {
    const std::string other = FamilyBaseOf(ExtractFileName(lock));
    const std::set<std::string>& names = our_outputs();
    const auto shared = std::find_if(names.begin(), names.end(), [&other](const std::string& name) {
      return name.size() > other.size() && name.compare(0, other.size(), other) == 0 &&
             IsObjectFileName(std::string_view(name).substr(other.size()));
    });
    long holder = 0;
    if (shared != names.end() && LockHeld(lock, holder))
      throw EznFileError("Another run" + (holder > 0 ? " (process " + FormatInt(holder) + ")" : std::string()) +
                         " is writing under the base name \"" + folder + other + "\", whose objects can include \"" +
                         folder + *shared + "\", a file of this run; try again when it has finished");
  }
  for (const std::string& list : FamilyFiles(folder, own, kList)) {
    const std::set<std::string>& names = our_outputs();
    std::ifstream in(list, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      const std::string name = ListedName(line);
      if (name.empty() || !names.count(name)) continue;
      throw EznOutputRefused("The object list \"" + list + "\" of another base name lists \"" + folder + name +
                             "\", which this run would replace; remove or rename that list to go on");
    }
  }
}
