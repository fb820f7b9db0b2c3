#include "rwx/znRWXRunGuard.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <utility>

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXBaseFamily.h"
#include "rwx/znRWXLeftovers.h"
#include "rwx/znRWXRunJournal.h"

namespace {

using TFileId = std::pair<dev_t, ino_t>;

}  // namespace

std::string LockFileName(const std::string& base_file_name) { return base_file_name + ".prp.lock"; }

namespace {

// The inputs by device and inode, to refuse an output that is one of them
// or no regular file; the advice ends the message.
class TInputFiles {
 public:
  TInputFiles(const std::vector<std::string>& inputs, std::string advice) : FAdvice(std::move(advice)) {
    // Of two names of one file, the later.
    for (const std::string& input : inputs) {
      struct stat st;
      if (!input.empty() && ::stat(input.c_str(), &st) == 0) FNames[{st.st_dev, st.st_ino}] = input;
    }
  }

  void Check(const std::string& output) const {
    struct stat st;
    if (::stat(output.c_str(), &st) != 0) return;
    if (!S_ISREG(st.st_mode)) CheckOutputKind(output);
    const auto input = FNames.find({st.st_dev, st.st_ino});
    if (input == FNames.end()) return;
    throw EznOutputIsInput("The output \"" + output + "\" is the input \"" + input->second + "\"; " + FAdvice);
  }

 private:
  std::map<TFileId, std::string> FNames;
  std::string FAdvice;
};

}  // namespace

void CheckOutputsSpareInputs(const std::string& base_file_name, const TznOutputNames& object_names,
                             const std::vector<std::string>& inputs, const TznRWXPart& part) {
  const TInputFiles input_files(inputs, "choose another base name");
  const std::string list_base = base_file_name + part.Suffix();
  input_files.Check(list_base + ".prp");
  input_files.Check(LockFileName(list_base));
  input_files.Check(RunSettingsFileName(list_base + ".prp"));
  input_files.Check(PartialListFileName(list_base + ".prp"));
  // One name at a time: a run of millions of objects keeps no second list.
  for (int64_t k = 0; k < object_names.Count(); ++k) input_files.Check(base_file_name + object_names[k]);
}

namespace {

// The file under the base name that path names, after links and other
// spellings are resolved: the object list, the material library, the lock
// file or an object file; empty when it names none of them.
std::string RunFileNamed(const std::string& path, const std::string& base_file_name) {
  namespace fs = std::filesystem;
  std::error_code error;
  const std::string folder = ExtractFilePath(base_file_name);
  const fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  const fs::path base_folder = fs::weakly_canonical(fs::absolute(folder.empty() ? "." : folder, error), error);
  if (error || resolved.parent_path() != base_folder) return "";
  const std::string name = resolved.filename().string();
  const std::string own = ExtractFileName(base_file_name);
  if (name.size() <= own.size() || name.compare(0, own.size(), own) != 0) return "";
  const std::string rest = name.substr(own.size());
  const bool of_run = rest == ".prp" || rest == ".mtl" || rest == LockFileName("") || IsObjectFileName(rest);
  return of_run ? base_file_name + rest : "";
}

}  // namespace

void CheckOutputSparesInputs(const std::string& output, const std::vector<std::string>& inputs,
                             const std::string& base_file_name) {
  TInputFiles(inputs, "choose another name").Check(output);
  if (base_file_name.empty()) return;
  const std::string run_file = RunFileNamed(output, base_file_name);
  if (!run_file.empty())
    throw EznOutputRefused("The output \"" + output + "\" is also \"" + run_file +
                           "\", which this run writes under the base name \"" + base_file_name +
                           "\"; choose another name");
}

TznRWXRunGuard::TznRWXRunGuard(const std::string& base_file_name, const TznOutputNames& object_names,
                               const std::vector<std::string>& inputs, const TznRWXPart& part) {
  CheckOutputsSpareInputs(base_file_name, object_names, inputs, part);
  ForceDirectories(ExtractFilePath(base_file_name));
  const std::string list_base = base_file_name + part.Suffix();
  long holder = 0;
  if (!FLock.Take(LockFileName(list_base), holder))
    throw EznFileError("Another run" + (holder > 0 ? " (process " + FormatInt(holder) + ")" : std::string()) +
                       " is writing under the base name \"" + list_base + "\"; try again when it has finished");
  // Each side takes its own lock before it looks for the other's.
  if (part.IsWhole())
    CheckNoPartRunning(base_file_name);
  else
    CheckNoWholeRunRunning(base_file_name);
  CheckBaseFamily(base_file_name, object_names);
  FLeftoversRemoved = RemoveLeftoverTemporaries(base_file_name, FLock.PreviousHolder(), part.Suffix() + ".prp");
}
