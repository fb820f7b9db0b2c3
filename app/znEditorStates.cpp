#include "app/znEditorStates.h"

bool TznEditorStates::Allows(TznEditorCommand command) const {
  const bool edit_command = command == TznEditorCommand::Accept || command == TznEditorCommand::Cancel;
  return edit_command == FEditing;
}

void TznEditorStates::Done(TznEditorCommand command) {
  if (Allows(command)) FEditing = command == TznEditorCommand::Edit;
}

TznEditorEnabling TznEditorStates::Enabling() const {
  return {.List = !FEditing, .Group = FEditing, .BrowseButtons = !FEditing, .EditButtons = FEditing};
}
