// What the Composer tab's list menu shows when it opens: which commands
// apply to the selected row, and the captions naming the files involved.
// "insert item" and the three composer commands are always enabled and keep
// their captions.
#pragma once

#include <string>
#include <vector>

#include "rwx/znComposerFile.h"

struct TznMenuItemState {
  bool Enabled = false;
  std::string Caption;  // empty: the item keeps its caption
};

struct TznComposePopupState {
  TznMenuItemState DeleteItem;
  TznMenuItemState GetCurrentFilter;
  TznMenuItemState GetCurrentMaterial;
  TznMenuItemState GetBoth;
  TznMenuItemState MakeFilterCurrent;
  TznMenuItemState MakeMaterialCurrent;
  TznMenuItemState MakeBothCurrent;
  TznMenuItemState MoveUp;
  TznMenuItemState MoveDown;
};

// selected is the selected row's index, -1 without a selection; the names
// are the files shown on the Filter and Material tabs.
TznComposePopupState ComposePopupState(const std::vector<TznComposerRow>& rows, int selected,
                                       const std::string& current_filter, const std::string& current_material);
