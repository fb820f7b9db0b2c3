#include "app/znSettingsName.h"

#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "views/znPrompts.h"

namespace {

// Room for the extension and the temporary suffix of a safe save within
// the usual 255-byte limit of a file name.
constexpr size_t kMaxNameLength = 200;

// Characters that no file name may hold on one of the systems where the
// Settings folder may end up.
constexpr std::string_view kForbidden = "<>:\"|?*";

bool HasControlCharacter(std::string_view text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

}  // namespace

std::string SettingsNameProblem(std::string_view typed) {
  if (Trim(typed).empty()) return "Please type a file name.";
  if (typed.find_first_of("/\\") != std::string_view::npos)
    return "The file name may not contain a path separator (\"/\" or \"\\\"): new files always go into the Settings "
           "folder.";
  if (typed.find("..") != std::string_view::npos) return "The file name may not contain \"..\".";
  if (typed.find_first_of(kForbidden) != std::string_view::npos || HasControlCharacter(typed))
    return "The file name may not contain any of the characters < > : \" | ? * or control characters.";
  if (typed.size() > kMaxNameLength) return "The file name is too long.";
  return {};
}

std::optional<std::string> AskNewSettingsFile(TznPrompts& prompts, const std::string& settings_dir,
                                              const std::string& caption, const std::string& extension) {
  const std::optional<std::string> answer = prompts.InputBox(caption, "Input filename (no extension)", "");
  if (!answer) return std::nullopt;
  // " Pad" would make " Pad.MTR", which every later look-up by the trimmed
  // name misses.
  const std::string typed(Trim(*answer));
  if (const std::string problem = SettingsNameProblem(typed); !problem.empty()) {
    prompts.ShowMessage(problem);
    return std::nullopt;
  }
  std::string path = settings_dir + typed + "." + extension;
  if (FileExists(path) && !prompts.AskYesNo("File already exist. Ovewrite?")) return std::nullopt;
  return path;
}

std::string AcceptNotWrittenMessage(const std::string& kind, const std::string& name) {
  const std::string missing = name.empty() ? "No " + kind + " file is selected"
                                           : "The " + kind + " file " + name + " is not in the Settings folder";
  return missing + ", so nothing was written. \"duplicate\" saves the " + kind + " under a new name.";
}
