// What the tabs of the main window share: the two working folders, the
// prompts that put questions to the user, and the rebuild of the
// terrain's composer that several tabs call after a change.
#pragma once

#include <functional>
#include <string>

class TznPrompts;

struct TznAppContext {
  std::string SettingsDir;  // ends with a path separator
  std::string TexturesDir;  // ends with a path separator
  TznPrompts* Prompts = nullptr;
  // Builds a fresh composer from the Composer tab and hands it to the
  // terrain; nothing while it is not set.
  std::function<void()> UpdateTerrainComposer;

  void RunUpdateTerrainComposer() const {
    if (UpdateTerrainComposer) UpdateTerrainComposer();
  }
};
