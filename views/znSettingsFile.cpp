#include "views/znSettingsFile.h"

#include <set>

#include "base/znError.h"
#include "base/znIniFile.h"
#include "views/znDebugLog.h"

namespace {

// Settings are saved on the windows' thread alone, the one the debug log
// takes its lines from.
void NoteNotSaved(const std::string& file_name, const std::string& reason) {
  static std::set<std::string> noted;
  if (noted.insert(file_name).second) TznDebugLog::Instance().Note("The settings were not saved: " + reason);
}

}  // namespace

void SaveSettingsFile(const std::string& file_name, const std::function<void(TznIniFile&)>& write) {
  try {
    TznIniFile ini(file_name);
    write(ini);
    ini.UpdateFile();
  } catch (const EznError& error) {
    NoteNotSaved(file_name, error.what());
  }
}
