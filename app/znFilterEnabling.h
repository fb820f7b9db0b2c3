// Which controls of the Filter tab are enabled: the browse/edit row, and the
// rule for the vertex choice.
#pragma once

// One row of the editor's state table: browse (not editing) or edit.
struct TznFilterEditRow {
  bool List;                 // the file list
  bool Group;                // every property control
  bool EditCreateDuplicate;  // "edit", "create", "duplicate"
  bool AcceptCancel;         // "accept", "cancel"
};

inline TznFilterEditRow FilterEditRow(bool editing) { return {!editing, editing, !editing, editing}; }

// The vertex choice matters only to the six bound limits; the gradient
// limits look at the whole face.
struct TznFilterBoundSwitches {
  bool High = false, Low = false, West = false, East = false, North = false, South = false;
  bool Any() const { return High || Low || West || East || North || South; }
};
