// How the Composer tab reaches the Material and Filter tabs without knowing
// them: the name of the file each one shows, and the command that selects
// and loads a file there.
#pragma once

#include <functional>
#include <string>

struct TznEditorLink {
  // The trimmed file name of the current material or filter.
  std::function<std::string()> CurrentName;
  // Selects the file (a name without folder) in the tab's list and loads
  // it; the tab says so when the file does not exist.
  std::function<void(const std::string&)> SelectFile;
};
