#include "app/znComposerPopupState.h"

namespace {

TznMenuItemState MakeCurrentState(const std::string* name, const std::string& prefix, const std::string& none) {
  if (name == nullptr || name->empty()) return {false, none};
  return {true, prefix + *name};
}

}  // namespace

TznComposePopupState ComposePopupState(const std::vector<TznComposerRow>& rows, int selected,
                                       const std::string& current_filter, const std::string& current_material) {
  const int count = static_cast<int>(rows.size());
  const bool has_row = selected >= 0 && selected < count;
  const TznComposerRow* row = has_row ? &rows[selected] : nullptr;

  TznComposePopupState state;
  state.DeleteItem = {has_row, ""};
  state.GetCurrentFilter = {has_row, "Get current filter: " + current_filter};
  state.GetCurrentMaterial = {has_row, "Get current material: " + current_material};
  state.GetBoth = {has_row, ""};
  state.MakeFilterCurrent = MakeCurrentState(row ? &row->Filter : nullptr, "make filter current: ", "no filter");
  state.MakeMaterialCurrent =
      MakeCurrentState(row ? &row->Material : nullptr, "make material current: ", "no material");
  state.MakeBothCurrent = {row != nullptr && !row->Filter.empty() && !row->Material.empty(), ""};
  state.MoveUp = {has_row && selected > 0, ""};
  state.MoveDown = {has_row && selected < count - 1, ""};
  return state;
}
