#include "views/znSettingsFile.h"

#include <mutex>
#include <set>

#include "base/znError.h"
#include "base/znIniFile.h"
#include "views/znDebugLog.h"

namespace {

void NoteNotSaved(const std::string& file_name, const std::string& reason) {
  static std::mutex mutex;
  static std::set<std::string> noted;
  {
    const std::lock_guard<std::mutex> lock(mutex);
    if (!noted.insert(file_name).second) return;
  }
  TznDebugLog::Instance().Note("The settings were not saved: " + reason);
}

}  // namespace

bool SaveSettingsFile(const std::string& file_name, const std::function<void(TznIniFile&)>& write) {
  try {
    TznIniFile ini(file_name);
    write(ini);
    ini.UpdateFile();
    return true;
  } catch (const EznError& error) {
    NoteNotSaved(file_name, error.what());
    return false;
  }
}
