#include "rwx/znRWXRunGuard.h"

#include <sys/stat.h>

#include <set>
#include <utility>

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXLeftovers.h"

namespace {

using TFileId = std::pair<dev_t, ino_t>;

}  // namespace

std::string LockFileName(const std::string& base_file_name) { return base_file_name + ".prp.lock"; }

void CheckOutputsSpareInputs(const std::string& base_file_name, const std::vector<std::string>& object_names,
                             const std::vector<std::string>& inputs) {
  std::set<TFileId> input_ids;
  std::vector<std::pair<TFileId, std::string>> named;
  for (const std::string& input : inputs) {
    struct stat st;
    if (!input.empty() && ::stat(input.c_str(), &st) == 0) {
      input_ids.insert({st.st_dev, st.st_ino});
      named.push_back({{st.st_dev, st.st_ino}, input});
    }
  }
  if (input_ids.empty()) return;
  auto check = [&](const std::string& output) {
    struct stat st;
    if (::stat(output.c_str(), &st) != 0 || !input_ids.count({st.st_dev, st.st_ino})) return;
    std::string input;
    for (const auto& [id, name] : named)
      if (id == TFileId{st.st_dev, st.st_ino}) input = name;
    throw EznOutputIsInput("The output \"" + output + "\" is the input \"" + input +
                           "\"; choose another base name");
  };
  check(base_file_name + ".prp");
  check(LockFileName(base_file_name));
  for (const std::string& name : object_names) check(base_file_name + name);
}

TznRWXRunGuard::TznRWXRunGuard(const std::string& base_file_name, const std::vector<std::string>& object_names,
                               const std::vector<std::string>& inputs) {
  CheckOutputsSpareInputs(base_file_name, object_names, inputs);
  ForceDirectories(ExtractFilePath(base_file_name));
  long holder = 0;
  if (!FLock.Take(LockFileName(base_file_name), holder))
    throw EznFileError("Another run" + (holder > 0 ? " (process " + FormatInt(holder) + ")" : std::string()) +
                       " is writing under the base name \"" + base_file_name +
                       "\"; try again when it has finished");
  FLeftoversRemoved = RemoveLeftoverTemporaries(base_file_name, FLock.PreviousHolder());
}
