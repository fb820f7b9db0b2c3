#include "rwx/znRWXRunGuard.h"

#include <sys/stat.h>

#include <map>
#include <utility>

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXLeftovers.h"

namespace {

using TFileId = std::pair<dev_t, ino_t>;

}  // namespace

std::string LockFileName(const std::string& base_file_name) { return base_file_name + ".prp.lock"; }

namespace {

// The outputs that are inputs, compared by device and inode; the advice
// ends the message.
void CheckAgainstInputs(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs,
                        const std::string& advice) {
  // The inputs by device and inode; of two names of one file, the later.
  std::map<TFileId, std::string> input_names;
  for (const std::string& input : inputs) {
    struct stat st;
    if (!input.empty() && ::stat(input.c_str(), &st) == 0) input_names[{st.st_dev, st.st_ino}] = input;
  }
  if (input_names.empty()) return;
  for (const std::string& output : outputs) {
    struct stat st;
    if (::stat(output.c_str(), &st) != 0) continue;
    const auto input = input_names.find({st.st_dev, st.st_ino});
    if (input == input_names.end()) continue;
    throw EznOutputIsInput("The output \"" + output + "\" is the input \"" + input->second + "\"; " + advice);
  }
}

}  // namespace

void CheckOutputsSpareInputs(const std::string& base_file_name, const std::vector<std::string>& object_names,
                             const std::vector<std::string>& inputs) {
  std::vector<std::string> outputs = {base_file_name + ".prp", LockFileName(base_file_name)};
  for (const std::string& name : object_names) outputs.push_back(base_file_name + name);
  CheckAgainstInputs(outputs, inputs, "choose another base name");
}

void CheckOutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs) {
  CheckAgainstInputs({output}, inputs, "choose another name");
}

TznRWXRunGuard::TznRWXRunGuard(const std::string& base_file_name, const std::vector<std::string>& object_names,
                               const std::vector<std::string>& inputs) {
  CheckOutputsSpareInputs(base_file_name, object_names, inputs);
  ForceDirectories(ExtractFilePath(base_file_name));
  long holder = 0;
  if (!FLock.Take(LockFileName(base_file_name), holder))
    throw EznFileError("Another run" + (holder > 0 ? " (process " + FormatInt(holder) + ")" : std::string()) +
                       " is writing under the base name \"" + base_file_name + "\"; try again when it has finished");
  FLeftoversRemoved = RemoveLeftoverTemporaries(base_file_name, FLock.PreviousHolder());
}
