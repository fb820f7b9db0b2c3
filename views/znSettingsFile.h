// Writing the program's settings file, which every window updates with its
// own section as it closes. A settings file that cannot be written (made
// read-only, or in a folder that takes no files) stays as it is: the
// program says so once in the debug log and goes on closing, with no
// message box in the way.
#pragma once

#include <functional>
#include <string>

class TznIniFile;

// Reads the settings file, lets write change it, and saves it. A failure
// is noted in the debug log, once per run and file: "The settings were not
// saved: <reason>".
void SaveSettingsFile(const std::string& file_name, const std::function<void(TznIniFile&)>& write);
