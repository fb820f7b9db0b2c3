// What the Composer tab's list commands do to its rows, apart from the
// list widget: where a new row goes and how a row moves.
#pragma once

#include <vector>

#include "rwx/znComposerFile.h"

// Inserts an empty row where "insert item" puts it: just above the
// selected row, else at the top (selected is -1 without a selection).
// Returns the new row's index.
int InsertEmptyRow(std::vector<TznComposerRow>& rows, int selected);

// Swaps the row with its upper or lower neighbour; false (rows untouched)
// when there is no such row or neighbour.
bool MoveRowUp(std::vector<TznComposerRow>& rows, int index);
bool MoveRowDown(std::vector<TznComposerRow>& rows, int index);
