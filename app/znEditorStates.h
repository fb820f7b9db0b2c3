// The browse/edit state machine of the Material and Filter tabs, without
// widgets. Browsing, the file list picks a file and "edit", "create" and
// "duplicate" work; editing, the property group is unlocked and only
// "accept" and "cancel" work. Every other click does nothing.
#pragma once

enum class TznEditorCommand { Edit, Accept, Cancel, Create, Duplicate };

// Which controls of the tab one state enables.
struct TznEditorEnabling {
  bool List;           // the file list
  bool Group;          // every property control
  bool BrowseButtons;  // "edit", "create", "duplicate"
  bool EditButtons;    // "accept", "cancel"
};

class TznEditorStates {
 public:
  bool Editing() const { return FEditing; }
  // Whether the command works in the current state.
  bool Allows(TznEditorCommand command) const;
  // The state after a command that ran to its end: "edit" starts editing,
  // "accept" and "cancel" return to browsing, "create" and "duplicate"
  // leave the editor browsing. A command the state does not allow changes
  // nothing.
  void Done(TznEditorCommand command);
  // Start-up: browsing.
  void Browse() { FEditing = false; }
  TznEditorEnabling Enabling() const;

 private:
  bool FEditing = false;
};
