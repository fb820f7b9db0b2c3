#include "app/znComposerRowEdits.h"

#include <utility>

namespace {

bool IsRow(const std::vector<TznComposerRow>& rows, int index) {
  return index >= 0 && index < static_cast<int>(rows.size());
}

}  // namespace

int InsertEmptyRow(std::vector<TznComposerRow>& rows, int selected) {
  const int index = IsRow(rows, selected) ? selected : 0;
  rows.insert(rows.begin() + index, TznComposerRow{});
  return index;
}

bool MoveRowUp(std::vector<TznComposerRow>& rows, int index) {
  if (!IsRow(rows, index) || index == 0) return false;
  std::swap(rows[index - 1], rows[index]);
  return true;
}

bool MoveRowDown(std::vector<TznComposerRow>& rows, int index) {
  if (!IsRow(rows, index + 1) || index < 0) return false;
  std::swap(rows[index], rows[index + 1]);
  return true;
}
